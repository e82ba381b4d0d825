#include "iobwrite/iob_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <vector>

#include "export/mesh_access.h"
#include "framework/log_file.h"
#include "framework/progress.h"
#include "iobwrite/mesh_parts.h"

namespace plugins::iobwrite {

namespace {

using tddd::Bytes;
using tddd::PutU16;
using tddd::PutU32;

// The largest FORM whose size a 32-bit field can state, less its header.
constexpr std::size_t kMaxObjectBytes = 0xFFFFFFFFu - 64;

// Documented defaults where the design asks for nothing else: white; no
// reflection, transmission or specularity; axis lengths of 32 for the
// editor; full blending, no hardness, roughness or shine, index of
// refraction 1.00, no Quickdraw, Phong shading on, no genlock.
constexpr std::uint8_t kWhite[3] = {255, 255, 255};
constexpr double kAxisLength = 32.0;
constexpr std::uint8_t kProperties[8] = {255, 0, 0, 0, 0, 0, 1, 0};

void PutChunk(Bytes& out, std::string_view id, const Bytes& data) {
    tddd::PutId(out, id);
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) {
        out.push_back(0);
    }
}

void PutFract(Bytes& out, std::int32_t v) {
    PutU32(out, static_cast<std::uint32_t>(v));
}

// One fixed-point vector of whole-number or known-good parts.
Bytes Vector(double x, double y, double z) {
    Bytes out;
    for (double v : {x, y, z}) {
        std::int32_t f = 0;
        tddd::DoubleToFract(v, f);
        PutFract(out, f);
    }
    return out;
}

// COLR, REFL, TRAN and SPC1: a pad byte, then red, green and blue.
Bytes PaddedColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {0, r, g, b};
}

// The NAME field: the name cut to 18 bytes (never inside a UTF-8 sequence),
// zero-padded.
Bytes NameField(const std::string& name) {
    std::size_t n = std::min(name.size(), tddd::kNameBytes);
    if (n < name.size()) {
        while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) {
            --n;
        }
    }
    Bytes field(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(n));
    field.resize(tddd::kNameBytes, 0);
    return field;
}

// Part number k (from 2) of a split mesh: name_k, the name cut so that the
// number fits the field.
std::string PartName(const std::string& name, std::size_t k) {
    // Appended rather than "_" + text: g++ 12 at -O3 takes the insert at the
    // front for an overlapping copy and fails the release build.
    std::string suffix(1, '_');
    suffix += std::to_string(k);
    std::string base = name.substr(0, tddd::kNameBytes - suffix.size());
    while (!base.empty() && base.size() < name.size() &&
           (static_cast<unsigned char>(name[base.size()]) & 0xC0) == 0x80) {
        base.pop_back();
    }
    return base + suffix;
}

using FractPoint = std::array<std::int32_t, 3>;

// The sub-chunks of one object's DESC chunk.
Bytes ObjectChunks(const std::string& name, const MeshPart& part,
                   const std::vector<FractPoint>& points, bool wide) {
    Bytes chunks;
    PutChunk(chunks, "NAME", NameField(name));
    Bytes shape;
    PutU16(shape, tddd::kShapeCustom);
    PutU16(shape, 0);  // no lamp
    PutChunk(chunks, "SHP2", shape);
    PutChunk(chunks, "POSI", Vector(0.0, 0.0, 0.0));
    Bytes axes = Vector(1.0, 0.0, 0.0);
    for (const Bytes& axis : {Vector(0.0, 1.0, 0.0), Vector(0.0, 0.0, 1.0)}) {
        axes.insert(axes.end(), axis.begin(), axis.end());
    }
    PutChunk(chunks, "AXIS", axes);
    PutChunk(chunks, "SIZE", Vector(kAxisLength, kAxisLength, kAxisLength));

    auto put_count = [wide](Bytes& out, std::size_t n) {
        wide ? PutU32(out, static_cast<std::uint32_t>(n))
             : PutU16(out, static_cast<std::uint32_t>(n));
    };
    auto put_index = put_count;

    Bytes data;
    put_count(data, part.points.size());
    for (std::uint32_t v : part.points) {
        for (std::int32_t c : points[v]) {
            PutFract(data, c);
        }
    }
    PutChunk(chunks, wide ? "PNT2" : "PNTS", data);

    data.clear();
    put_count(data, part.edges.size());
    for (const auto& e : part.edges) {
        put_index(data, e[0]);
        put_index(data, e[1]);
    }
    PutChunk(chunks, wide ? "EDG2" : "EDGE", data);

    data.clear();
    put_count(data, part.faces.size());
    for (const auto& f : part.faces) {
        for (std::uint32_t e : f) {
            put_index(data, e);
        }
    }
    PutChunk(chunks, wide ? "FAC2" : "FACE", data);

    PutChunk(chunks, "COLR", PaddedColour(kWhite[0], kWhite[1], kWhite[2]));
    PutChunk(chunks, "REFL", PaddedColour(0, 0, 0));
    PutChunk(chunks, "TRAN", PaddedColour(0, 0, 0));
    PutChunk(chunks, "SPC1", PaddedColour(0, 0, 0));
    // Every FACE chunk needs the three per-face lists with its count. The
    // documents give no 32-bit form of them, so an object in the 32-bit
    // chunks goes without (and Imagine supplies its defaults).
    if (!wide) {
        for (const char* id : {"CLST", "RLST", "TLST"}) {
            data.clear();
            PutU16(data, static_cast<std::uint32_t>(part.faces.size()));
            const bool colour = id[0] == 'C';
            for (std::size_t i = 0; i < part.faces.size(); ++i) {
                for (std::uint8_t c : kWhite) {
                    data.push_back(colour ? c : 0);
                }
            }
            PutChunk(chunks, id, data);
        }
    }
    PutChunk(chunks, "PRP1", Bytes(std::begin(kProperties), std::end(kProperties)));
    return chunks;
}

// A power of ten that brings the largest coordinate into what a FRACT
// holds: 0.1 for 40000.
double SuggestedScale(double largest) {
    return std::pow(10.0, -std::ceil(std::log10(largest / tddd::kFractMax)));
}

}  // namespace

ExportBanner IobWriter::Banner() const {
    return {kIobWriteTitle, __DATE__, __TIME__, "g++-" __VERSION__};
}

bool IobWriter::OpenOutput(const char* path, const ExportSettings& /*settings*/) {
    objects_.clear();
    hasHead_ = false;
    // The file holds bytes only; the line-end rule never applies.
    return OpenFile(path, LineDelimiter::Lf);
}

void IobWriter::AddObject(const Bytes& chunks) {
    PutChunk(objects_, "DESC", chunks);
    if (hasHead_) {
        PutChunk(objects_, "TOBJ", {});
    }
    hasHead_ = true;
}

int IobWriter::WriteMesh(const Mesh3d& mesh, const ExportSettings& /*settings*/,
                         const ExportReport& report) {
    if (!Writable()) {
        return 0;
    }
    const std::string name = mesh.name;
    ReportWorkingOn(mesh, report);

    const int vertex_count = VertexCount(mesh);
    std::vector<FractPoint> points(static_cast<std::size_t>(vertex_count));
    double largest = 0.0;
    bool outside = false;
    for (int v = 0; v < vertex_count; ++v) {
        const Vector3d& p = VertexPoint(mesh, v);
        const double c[3] = {p.x, p.y, p.z};
        for (std::size_t k = 0; k < 3; ++k) {
            if (!std::isfinite(c[k])) {
                RefuseFile("Mesh '" + name +
                               "' has a coordinate that is not a finite number; an Imagine object "
                               "cannot hold it",
                           report);
                return 0;
            }
            largest = std::max(largest, std::fabs(c[k]));
            outside = !tddd::DoubleToFract(c[k], points[static_cast<std::size_t>(v)][k]) || outside;
        }
    }
    if (outside) {
        char text[512];
        std::snprintf(text, sizeof text,
                      "' reaches %g, outside what an Imagine object holds (-32768 to "
                      "32767.99998): scale it down, with meshconv convert --scale %g for "
                      "instance, or with Size Value",
                      largest, SuggestedScale(largest));
        RefuseFile("Mesh '" + name + text, report);
        return 0;
    }

    const int face_count = FaceCount(mesh);
    std::vector<std::array<std::uint32_t, 3>> triangles;
    triangles.reserve(static_cast<std::size_t>(face_count));
    int collapsed = 0;
    for (int i = 0; i < face_count; ++i) {
        report.callbacks->FileProgress(static_cast<std::uint32_t>(i),
                                       static_cast<std::uint32_t>(face_count));
        const FaceCorners k = FaceVertexNumbers(mesh, i);
        if (k[0] == k[1] || k[1] == k[2] || k[2] == k[0]) {
            ++collapsed;
            continue;
        }
        triangles.push_back({static_cast<std::uint32_t>(k[0]), static_cast<std::uint32_t>(k[1]),
                             static_cast<std::uint32_t>(k[2])});
    }
    if (collapsed > 0) {
        report.log->Printf("Left out %d faces whose corners coincide\n", collapsed);
    }
    if (triangles.empty()) {
        report.log->Printf("No triangle to write: %s\n", mesh.name);
        return 1;
    }

    std::vector<MeshPart> parts = SplitIntoParts(triangles, tddd::kMaxShortCount);
    const bool wide = format_ == IobFormat::ImagineForWindows && parts.size() > 1;
    if (wide) {
        parts = SplitIntoParts(triangles, std::numeric_limits<std::uint32_t>::max());
        report.log->Printf("Written in the 32-bit chunks of Imagine for Windows\n");
    } else if (parts.size() > 1) {
        report.log->Printf("Split into %zu objects of at most 65535 points, edges and faces\n",
                           parts.size());
    }
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const std::string part_name = k == 0 ? name : PartName(name, k + 1);
        AddObject(ObjectChunks(part_name, parts[k], points, wide));
        if (objects_.size() > kMaxObjectBytes) {
            RefuseFile(
                "Mesh '" + name + "' makes the file larger than an Imagine object file can be",
                report);
            return 0;
        }
    }
    return 1;
}

void IobWriter::FinishFile(TextOutput& out) {
    Bytes head;
    tddd::PutId(head, "FORM");
    const std::size_t obj_bytes =
        hasHead_ ? tddd::kChunkHeaderBytes + objects_.size() + tddd::kChunkHeaderBytes : 0;
    PutU32(head, static_cast<std::uint32_t>(4 + obj_bytes));
    tddd::PutId(head, "TDDD");
    Bytes tail;
    if (hasHead_) {
        tddd::PutId(head, "OBJ ");
        PutU32(head, static_cast<std::uint32_t>(objects_.size() + tddd::kChunkHeaderBytes));
        PutChunk(tail, "TOBJ", {});
    }
    auto view = [](const Bytes& b) {
        return std::string_view(reinterpret_cast<const char*>(b.data()), b.size());
    };
    out.Bytes(view(head));
    out.Bytes(view(objects_));
    out.Bytes(view(tail));
    objects_.clear();
    hasHead_ = false;
}

}  // namespace plugins::iobwrite
