#include "iobread/tddd_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "tddd/tddd_format.h"

namespace plugins::iobread {

namespace {

using tddd::GetU16;
using tddd::GetU32;

// A chunk found inside a range of the file.
struct Chunk {
    std::string_view id;
    std::size_t offset;  // of its header
    const std::uint8_t* data;
    std::size_t size;
    std::size_t next;  // offset of what follows, after the pad byte
};

// Walks the chunks of [begin, end). A chunk that claims more bytes than the
// range holds stops the walk with an error; a missing pad byte after the
// last chunk of a range is forgiven.
class ChunkWalker {
  public:
    ChunkWalker(const std::uint8_t* file, std::size_t begin, std::size_t end)
        : file_(file), pos_(begin), end_(end) {}

    bool Done() const { return pos_ >= end_; }

    bool Next(Chunk& chunk, std::string& error) {
        if (end_ - pos_ < tddd::kChunkHeaderBytes) {
            error = "a chunk header at byte " + std::to_string(pos_) + " is cut short";
            return false;
        }
        const std::uint8_t* header = file_ + pos_;
        chunk.id = std::string_view(reinterpret_cast<const char*>(header), 4);
        chunk.offset = pos_;
        chunk.size = GetU32(header + 4);
        const std::size_t body = pos_ + tddd::kChunkHeaderBytes;
        if (chunk.size > end_ - body) {
            error = "chunk '" + Printable(chunk.id) + "' at byte " + std::to_string(pos_) +
                    " claims " + std::to_string(chunk.size) + " bytes where " +
                    std::to_string(end_ - body) + " remain";
            return false;
        }
        chunk.data = file_ + body;
        chunk.next = body + chunk.size + (chunk.size & 1);
        if (chunk.next > end_) {
            chunk.next = end_;
        }
        pos_ = chunk.next;
        return true;
    }

    // An id as it may appear in a message: other bytes become '?'.
    static std::string Printable(std::string_view id) {
        std::string text(id);
        for (char& c : text) {
            if (c < 0x20 || c > 0x7E) {
                c = '?';
            }
        }
        return text;
    }

  private:
    const std::uint8_t* file_;
    std::size_t pos_;
    std::size_t end_;
};

Vector3d GetVector(const std::uint8_t* p) {
    return {tddd::FractToDouble(static_cast<std::int32_t>(GetU32(p))),
            tddd::FractToDouble(static_cast<std::int32_t>(GetU32(p + 4))),
            tddd::FractToDouble(static_cast<std::int32_t>(GetU32(p + 8)))};
}

// What one DESC chunk says about its object.
struct Description {
    TdddObject object;
    bool hasShape = false;
    int shape = 0;
    int lamp = 0;
    bool isPath = false;
    bool isForms = false;
    Vector3d position{0.0, 0.0, 0.0};
    Vector3d axes[3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
};

// The layout of a counted list chunk: the count's width and the bytes of
// one entry.
struct ListLayout {
    std::size_t countBytes;
    std::size_t entryBytes;
    const char* entries;  // for messages: "points", "edges", "faces"
};

// Checks a counted list chunk against its size and returns the count and
// the first entry.
bool ListEntries(const Chunk& chunk, const ListLayout& layout, const std::string& object,
                 std::size_t& count, const std::uint8_t*& entries, std::string& error) {
    const std::string where = "chunk '" + std::string(chunk.id) + "' of object '" + object +
                              "' at byte " + std::to_string(chunk.offset);
    if (chunk.size < layout.countBytes) {
        error = where + " is too short to hold its count";
        return false;
    }
    count = layout.countBytes == 2 ? GetU16(chunk.data) : GetU32(chunk.data);
    const std::size_t room = (chunk.size - layout.countBytes) / layout.entryBytes;
    if (count > room) {
        error = where + " counts " + std::to_string(count) + " " + layout.entries + " but holds " +
                std::to_string(room);
        return false;
    }
    entries = chunk.data + layout.countBytes;
    return true;
}

// EDGE and FACE (16-bit numbers) or EDG2 and FAC2 (32-bit): a count, then
// that many tuples of point or edge numbers.
template <std::size_t N>
bool ReadNumberTuples(const Chunk& chunk, bool wide, const char* entries, const std::string& object,
                      std::vector<std::array<std::uint32_t, N>>& out, std::string& error) {
    const std::size_t width = wide ? 4 : 2;
    const ListLayout layout{width, N * width, entries};
    std::size_t count = 0;
    const std::uint8_t* p = nullptr;
    if (!ListEntries(chunk, layout, object, count, p, error)) {
        return false;
    }
    out.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t k = 0; k < N; ++k) {
            const std::uint8_t* at = p + (N * i + k) * width;
            out[i][k] = wide ? GetU32(at) : GetU16(at);
        }
    }
    return true;
}

// Sub-chunks that need no words in the log: the editor's axis lengths.
bool IsEditorOnly(std::string_view id) {
    return id == "SIZE";
}

bool ReadDescription(const std::uint8_t* file, const Chunk& desc, Description& d,
                     std::string& error) {
    // The name comes first in Imagine's files, but is looked for before the
    // other chunks so that every message can name the object.
    ChunkWalker names(file, desc.data - file, desc.data - file + desc.size);
    std::string name_for_messages = "(unnamed)";
    Chunk chunk;
    while (!names.Done() && names.Next(chunk, error)) {
        if (chunk.id == "NAME") {
            const std::size_t n = std::min(chunk.size, tddd::kNameBytes);
            const auto* text = reinterpret_cast<const char*>(chunk.data);
            d.object.name.assign(text, std::find(text, text + n, '\0'));
            name_for_messages = d.object.name;
        }
    }
    error.clear();

    ChunkWalker walker(file, desc.data - file, desc.data - file + desc.size);
    while (!walker.Done()) {
        if (!walker.Next(chunk, error)) {
            error += " (inside object '" + name_for_messages + "')";
            return false;
        }
        const std::string_view id = chunk.id;
        auto need = [&](std::size_t bytes) {
            if (chunk.size >= bytes) {
                return true;
            }
            error = "chunk '" + std::string(id) + "' of object '" + name_for_messages +
                    "' at byte " + std::to_string(chunk.offset) + " holds " +
                    std::to_string(chunk.size) + " bytes, not " + std::to_string(bytes);
            return false;
        };
        std::size_t count = 0;
        const std::uint8_t* p = nullptr;
        if (id == "NAME") {
            continue;
        } else if (id == "SHP2" || id == "SHAP") {
            if (!need(4)) {
                return false;
            }
            d.hasShape = true;
            d.shape = static_cast<std::int16_t>(GetU16(chunk.data));
            d.lamp = static_cast<std::int16_t>(GetU16(chunk.data + 2));
        } else if (id == "POSI") {
            if (!need(12)) {
                return false;
            }
            d.position = GetVector(chunk.data);
        } else if (id == "AXIS") {
            if (!need(36)) {
                return false;
            }
            for (int a = 0; a < 3; ++a) {
                d.axes[a] = GetVector(chunk.data + 12 * a);
            }
        } else if (id == "PNTS" || id == "PNT2") {
            const ListLayout layout{id == "PNTS" ? 2u : 4u, 12, "points"};
            if (!ListEntries(chunk, layout, name_for_messages, count, p, error)) {
                return false;
            }
            d.object.points.resize(count);
            for (std::size_t i = 0; i < count; ++i) {
                d.object.points[i] = GetVector(p + 12 * i);
            }
        } else if (id == "EDGE" || id == "EDG2") {
            if (!ReadNumberTuples(chunk, id == "EDG2", "edges", name_for_messages, d.object.edges,
                                  error)) {
                return false;
            }
        } else if (id == "FACE" || id == "FAC2") {
            if (!ReadNumberTuples(chunk, id == "FAC2", "faces", name_for_messages, d.object.faces,
                                  error)) {
                return false;
            }
        } else if (id == "PTHD" || id == "PTH2") {
            d.isPath = true;
        } else if (id == "FORD") {
            d.isForms = true;
        } else if (!IsEditorOnly(id)) {
            ++d.object.dropped[ChunkWalker::Printable(id)];
        }
    }
    return true;
}

// Files the object of d where it belongs: among the objects, or in a count.
void Classify(Description&& d, TdddContents& contents) {
    TdddSkipped& skipped = contents.skipped;
    if (!d.hasShape) {
        ++skipped.withoutShape;
    } else if ((d.lamp & tddd::kLampTypeMask) != 0) {
        ++skipped.lamps;
    } else if (d.shape != tddd::kShapeCustom) {
        ++skipped.otherShapes;
    } else if (d.isForms) {
        ++skipped.forms;
    } else if (d.isPath) {
        ++skipped.paths;
    } else if (d.object.faces.empty()) {
        ++skipped.withoutFaces;
    } else {
        for (Vector3d& p : d.object.points) {
            p = Add(d.position,
                    Add(Scale(d.axes[0], p.x), Add(Scale(d.axes[1], p.y), Scale(d.axes[2], p.z))));
        }
        for (const auto& [id, n] : d.object.dropped) {
            skipped.droppedChunks += n;
        }
        contents.objects.push_back(std::move(d.object));
    }
}

}  // namespace

bool ReadTddd(const std::uint8_t* data, std::size_t size, TdddContents& contents,
              std::string& error) {
    constexpr std::size_t kFormHeader = 12;
    if (size < kFormHeader || std::memcmp(data, "FORM", 4) != 0 ||
        std::memcmp(data + 8, "TDDD", 4) != 0) {
        error = "it is not an Imagine object file (IFF FORM TDDD)";
        return false;
    }
    const std::uint32_t form_size = GetU32(data + 4);
    if (form_size < 4 || form_size > size - tddd::kChunkHeaderBytes) {
        error = "it is cut short: the FORM claims " + std::to_string(form_size) +
                " bytes where the file holds " + std::to_string(size - tddd::kChunkHeaderBytes);
        return false;
    }

    // Containers still open, innermost last: where each one's chunks end and
    // where the walk goes on after it (past its pad byte). OBJ chunks may
    // nest in files whose OBJ sizes take in the hierarchies after them.
    struct Open {
        ChunkWalker walker;
        std::size_t resume;
    };
    std::vector<Open> open;
    open.push_back({ChunkWalker(data, kFormHeader, tddd::kChunkHeaderBytes + form_size), 0});
    while (!open.empty()) {
        ChunkWalker& walker = open.back().walker;
        if (walker.Done()) {
            open.pop_back();
            continue;
        }
        Chunk chunk;
        if (!walker.Next(chunk, error)) {
            return false;
        }
        const std::size_t body = chunk.data - data;
        if (chunk.id == "OBJ ") {
            open.push_back({ChunkWalker(data, body, body + chunk.size), chunk.next});
        } else if (chunk.id == "DESC") {
            Description d;
            if (!ReadDescription(data, chunk, d, error)) {
                return false;
            }
            Classify(std::move(d), contents);
        } else if (chunk.id == "EXTR") {
            ++contents.skipped.external;
        } else if (chunk.id != "TOBJ") {
            ++contents.skipped.otherChunks;
        }
    }
    return true;
}

FaceProblem FaceCorners(const TdddObject& object, std::size_t f,
                        std::array<std::uint32_t, 3>& corners) {
    const auto& face = object.faces[f];
    std::array<std::uint32_t, 2> e[3];
    for (std::size_t k = 0; k < 3; ++k) {
        if (face[k] >= object.edges.size()) {
            return FaceProblem::MissingIndex;
        }
        e[k] = object.edges[face[k]];
        if (e[k][0] >= object.points.size() || e[k][1] >= object.points.size()) {
            return FaceProblem::MissingIndex;
        }
        if (e[k][0] == e[k][1]) {
            return FaceProblem::NotClosed;
        }
    }
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    if (e[0][1] == e[1][0] || e[0][1] == e[1][1]) {
        a = e[0][0];
        b = e[0][1];
    } else if (e[0][0] == e[1][0] || e[0][0] == e[1][1]) {
        a = e[0][1];
        b = e[0][0];
    } else {
        return FaceProblem::NotClosed;
    }
    const std::uint32_t c = e[1][0] == b ? e[1][1] : e[1][0];
    const bool closes = (e[2][0] == c && e[2][1] == a) || (e[2][0] == a && e[2][1] == c);
    if (c == a || !closes) {
        return FaceProblem::NotClosed;
    }
    corners = {a, b, c};
    return FaceProblem::None;
}

}  // namespace plugins::iobread
