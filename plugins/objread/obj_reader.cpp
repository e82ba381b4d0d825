#include "objread/obj_reader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "framework/contract.h"
#include "framework/log_file.h"
#include "framework/mesh.h"
#include "framework/progress.h"
#include "framework/table_array.h"
#include "framework/triangle_feeder.h"
#include "objread/ear_clipping.h"
#include "objread/obj_line_reader.h"
#include "objread/obj_number.h"

namespace plugins::objread {

namespace {

// Numbers the "s off" groups for the life of the library. Wide, so that no
// file can run it past its range.
long long g_offCounter = 0;

// Working storage of the face lines, kept across the lines of one parse so
// that a face costs no allocation.
struct FaceScratch {
    std::vector<std::uint32_t> corners;
    std::vector<CornerTriangle> triangles;
    // The meshes take their triangles through a feeder, which adds them in
    // batches and on a second thread where there is one.
    TriangleFeeder pending;
};

// The vertices read so far, each with its bucket in the vertex tables of
// the file's meshes (which all have the bucket count of one capacity hint),
// so that a point is hashed once however many faces use it. A file may hold
// millions; the arrays grow in large blocks, which move their pages instead
// of copying every vertex each time an array doubles.
class VertexList {
  public:
    explicit VertexList(std::uint32_t bucketCount) : bucketCount_(bucketCount) {
        points_.Resize(32);
        buckets_.Resize(32);
    }
    const Vector3d* data() const { return points_.data(); }
    const std::uint32_t* buckets() const { return buckets_.data(); }
    std::size_t size() const { return count_; }
    void push_back(const Vector3d& p) {
        if (count_ == points_.capacity()) {
            points_.Grow();
            buckets_.Resize(points_.capacity());
        }
        points_[count_] = p;
        buckets_[count_] = VertexTable::BucketOf(p, bucketCount_);
        ++count_;
    }

  private:
    std::uint32_t bucketCount_;
    mesh_detail::TableArray<Vector3d> points_;
    mesh_detail::TableArray<std::uint32_t> buckets_;
    std::size_t count_ = 0;
};

// Reads up to three coordinates as "%lf %lf %lf" from the text up to end
// (its NUL) into v, the components that cannot be read left 0; false when
// one read is not finite.
bool ReadVertex(const char* text, const char* end, Vector3d& v) {
    double xyz[3] = {0.0, 0.0, 0.0};
    const char* p = text;
    for (double& component : xyz) {
        p = ReadObjDouble(p, end, component);
        if (p == nullptr) {
            break;  // like scanf, the first failure ends the conversion
        }
    }
    v = Vector3d{xyz[0], xyz[1], xyz[2]};
    return std::isfinite(xyz[0]) && std::isfinite(xyz[1]) && std::isfinite(xyz[2]);
}

inline bool EndsToken(char c) {
    return c == ' ' || c == '\0';
}

// Reads the corner token that starts at p (not at a blank) and ends at the
// next blank or the end of the text, and moves p to that end. Its number is
// the integer that ReadObjInt reads from the token's start, provided that
// the integer lies inside the token: white space other than blanks may come
// before it, but a token of such white space alone must not borrow the
// number of the token after it. False when the token holds no such integer.
inline bool ReadCorner(const char*& p, std::int32_t& number) {
    const char* q = p;
    while (*q == '\t' || *q == '\n' || *q == '\v' || *q == '\f' || *q == '\r') {
        ++q;
    }
    bool read = false;
    if (!EndsToken(*q)) {
        if (const char* after = ReadObjInt(q, number)) {
            read = true;
            q = after;
        }
    }
    while (!EndsToken(*q)) {
        ++q;
    }
    p = q;
    return read;
}

// buckets: the points' buckets in mesh's vertex table, or null.
void AddFace(const char* text, const Vector3d* points, const std::uint32_t* buckets,
             std::size_t vertexCount, Mesh3d& mesh, FaceScratch& scratch) {
    const char* p = std::strchr(text, ' ');
    if (p == nullptr) {
        return;
    }
    const auto known = static_cast<std::int64_t>(vertexCount);
    std::vector<std::uint32_t>& corners = scratch.corners;
    corners.clear();
    std::size_t tokens = 0;
    for (;;) {
        while (*p == ' ') {
            ++p;
        }
        if (*p == '\0') {
            break;
        }
        std::int32_t number = 0;
        if (ReadCorner(p, number)) {
            ++tokens;
            std::int64_t index = -1;
            if (number > 0) {
                index = static_cast<std::int64_t>(number) - 1;
            } else if (number < 0) {
                index = known + number;
            }
            if (index >= 0 && index < known) {
                corners.push_back(static_cast<std::uint32_t>(index));
            }
        }
    }
    if (tokens < 3) {
        return;
    }
    Triangulate(corners.data(), static_cast<std::uint32_t>(corners.size()), points,
                scratch.triangles);
    for (const CornerTriangle& t : scratch.triangles) {
        // Reversed, so that the stored face's normal is the right-handed
        // normal of the triangle as the file writes it.
        const Triangle3d reversed{points[t[2]], points[t[1]], points[t[0]]};
        if (buckets != nullptr) {
            const std::uint32_t corners[3] = {buckets[t[2]], buckets[t[1]], buckets[t[0]]};
            scratch.pending.Add(mesh, reversed, corners);
        } else {
            scratch.pending.Add(mesh, reversed);
        }
    }
}

// Progress counts are 32-bit; very large files report in coarser units.
void ReportFileProgress(const ObjParseContext& context, std::uint64_t position) {
    if (context.callbacks == nullptr || context.callbacks->FileProgress == nullptr) {
        return;
    }
    std::uint64_t size = context.fileSize;
    while (size > 0xffffffffu) {
        size >>= 1;
        position >>= 1;
    }
    context.callbacks->FileProgress(static_cast<unsigned>(std::min(position, size)),
                                    static_cast<unsigned>(size));
}

class GroupOpener {
  public:
    GroupOpener(ObjGroupList& groups, const ObjParseContext& context)
        : groups_(groups), context_(context) {}

    ObjGroup* Open(std::string_view name, bool smoothing) {
        name = name.substr(0, std::min(name.find('\0'), kMaxGroupName));
        std::string buffer(name);
        if (smoothing && buffer == "off") {
            buffer = "off_" + std::to_string(g_offCounter++);
        }
        ObjGroup& group = FindOrAddGroup(buffer, groups_);
        if (context_.callbacks != nullptr && context_.callbacks->Status != nullptr) {
            context_.callbacks->Status(stderr, "Working on: %s\n", group.name.c_str());
        }
        if (context_.log != nullptr) {
            context_.log->Printf("Working on: %s\n", group.name.c_str());
        }
        if (group.mesh == nullptr) {
            group.mesh = new Mesh3d(MeshCapacityHint(context_.fileSize), group.name.c_str());
        }
        return &group;
    }

  private:
    ObjGroupList& groups_;
    const ObjParseContext& context_;
};

bool StartsWith(const char* line, std::size_t length, const char* word) {
    const std::size_t n = std::strlen(word);
    return length >= n && std::memcmp(line, word, n) == 0;
}

}  // namespace

ObjGroup& ObjGroupList::FindOrAdd(std::string_view name) {
    std::string key(name);
    auto found = index_.find(key);
    if (found != index_.end()) {
        return *groups_[found->second];
    }
    auto group = std::make_unique<ObjGroup>();
    group->name = key;
    groups_.push_back(std::move(group));
    index_.emplace(std::move(key), groups_.size() - 1);
    return *groups_.back();
}

ObjGroup& FindOrAddGroup(std::string_view name, ObjGroupList& groups) {
    return groups.FindOrAdd(name);
}

long long OffGroupCounter() {
    return g_offCounter;
}

std::uint64_t MeshCapacityHint(std::uint64_t fileSize) {
    // A table refuses hints beyond int; files past 400 GB get the largest.
    return std::min<std::uint64_t>(fileSize / 200, 0x7fffffff);
}

bool ParseVertexLine(const char* text, std::vector<Vector3d>& vertices) {
    Vector3d v{};
    const bool finite = ReadVertex(text, text + std::strlen(text), v);
    vertices.push_back(v);
    return finite;
}

void ParseFaceLine(const char* text, const std::vector<Vector3d>& vertices, Mesh3d& mesh) {
    FaceScratch scratch;
    AddFace(text, vertices.data(), nullptr, vertices.size(), mesh, scratch);
    scratch.pending.Finish();
}

ObjParseResult ParseObjLines(std::FILE* file, ObjGroupList& groups,
                             const ObjParseContext& context) {
    VertexList vertices(VertexTable::BucketCount(MeshCapacityHint(context.fileSize)));
    FaceScratch scratch;
    GroupOpener opener(groups, context);
    ObjGroup* current = nullptr;
    const SplitMode mode = context.splitMode;
    if (mode == SplitMode::Nothing) {
        current = opener.Open("default", false);
    }

    ObjLineReader reader(file, context.maxLine);
    ObjParseResult result;
    const char* line = nullptr;
    std::size_t length = 0;
    for (;;) {
        ReportFileProgress(context, reader.Position());
        errno = 0;
        if (!reader.Next(line, length)) {
            break;
        }
        ++result.line;
        if (result.line == 1 && length >= 3 && std::memcmp(line, "\xEF\xBB\xBF", 3) == 0) {
            // A byte-order mark, which some editors put before UTF-8 text.
            line += 3;
            length -= 3;
        }
        switch (line[0]) {
            case 'v': {
                if (line[1] != ' ') {
                    break;
                }
                Vector3d v;
                if (!ReadVertex(line + 1, line + length, v)) {
                    scratch.pending.Finish();
                    result.status = ObjParseResult::Status::NotFinite;
                    result.bytes = reader.Position();
                    return result;
                }
                vertices.push_back(v);
                break;
            }
            case 'f':
                if (current != nullptr) {
                    AddFace(line + 1, vertices.data(), vertices.buckets(), vertices.size(),
                            *current->mesh, scratch);
                }
                break;
            case 'o':
                if (mode == SplitMode::Object && length >= 3) {
                    current = opener.Open(std::string_view(line + 2, length - 2), false);
                }
                break;
            case 'g':
                if (mode == SplitMode::Group && length >= 3) {
                    current = opener.Open(std::string_view(line + 2, length - 2), false);
                }
                break;
            case 's':
                if (mode == SplitMode::Smoothing && length >= 3) {
                    current = opener.Open(std::string_view(line + 2, length - 2), true);
                }
                break;
            case 'u':
                if (length >= 8 &&
                    ((mode == SplitMode::Usemtl && StartsWith(line, length, "usemtl")) ||
                     (mode == SplitMode::Usemap && StartsWith(line, length, "usemap")))) {
                    current = opener.Open(std::string_view(line + 7, length - 7), false);
                }
                break;
            default:
                break;  // comments, vn, vt, vp, mtllib, l, p, blank and indented lines
        }
    }
    const int readError = errno;
    scratch.pending.Finish();
    result.bytes = reader.Position();
    switch (reader.Ended()) {
        case ObjLineReader::End::ReadError:
            result.status = ObjParseResult::Status::ReadError;
            result.error = readError;
            break;
        case ObjLineReader::End::LineTooLong:
            result.status = ObjParseResult::Status::LineTooLong;
            ++result.line;
            break;
        default:
            break;
    }
    return result;
}

}  // namespace plugins::objread
