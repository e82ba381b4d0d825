#include "objwrite/obj_writer.h"

#include "export/chunked_text.h"
#include "export/corner_normals.h"
#include "export/export_settings.h"
#include "export/fixed_format.h"
#include "export/mesh_access.h"
#include "export/text_block.h"
#include "framework/log_file.h"
#include "framework/progress.h"

namespace plugins::objwrite {

ExportBanner ObjWriter::Banner() const {
    return {kObjWriteTitle, __DATE__, __TIME__, "g++ " __VERSION__};
}

bool ObjWriter::WriteObjHeader(const char* path, const ExportSettings& settings) {
    if (!OpenFile(path, LineDelimiterFromSetting(settings.ld_mode))) {
        return false;
    }
    Out().Printf("%s%s\n", "# Converted by ", kObjWriteTitle);
    Out().Printf("#\n");
    VertexBase = 1;
    NormalBase = 1;
    return true;
}

namespace {

// Items per chunk of formatted text (see chunked_text.h): about half a
// megabyte of lines each.
constexpr std::size_t kVertexChunk = 16384;
constexpr std::size_t kNormalChunk = 4096;  // faces, three lines each
constexpr std::size_t kFaceChunk = 16384;

// Room for the longest line: a keyword, three numbers, the separators and
// the line end.
constexpr std::size_t kLineRoom = 16 + 3 * kFixed6MaxChars;

// Puts "<keyword>x y z" and the line end as one line into block.
void PutPointLine(TextBlock& block, std::string_view keyword, const Vector3d& v) {
    char* p = block.Reserve(kLineRoom);
    p = TextBlock::Put(p, keyword);
    p = FormatFixed6(p, v.x);
    *p++ = ' ';
    p = FormatFixed6(p, v.y);
    *p++ = ' ';
    p = FormatFixed6(p, v.z);
    block.Commit(block.PutLineEnd(p));
}

}  // namespace

int ObjWriter::WriteObjObject(const Mesh3d& mesh, const ExportSettings& settings,
                              const ExportReport& report) {
    if (!Writable()) {
        return 0;
    }
    return WriteObjObject(ExportMesh::FromTables(mesh), settings, report);
}

int ObjWriter::WriteObjObject(const ExportMesh& mesh, const ExportSettings& settings,
                              const ExportReport& report) {
    if (!BeginFiniteMesh(mesh, report)) {
        return 0;
    }
    TextOutput& out = Out();

    const int vertex_count = mesh.VertexCount();
    const int face_count = mesh.FaceCount();

    out.Printf("# Object %s\n", mesh.Name());
    out.Printf("# Vertices %d\n", vertex_count);
    WriteChunked(
        out, static_cast<std::size_t>(vertex_count), kVertexChunk,
        [&mesh](TextBlock& block, std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                PutPointLine(block, "v ", mesh.Point(static_cast<int>(i)));
            }
        },
        FileProgressAnnouncer(report.callbacks, static_cast<std::size_t>(vertex_count)));
    out.LineEnd();

    out.Printf("# Normals %d\n", 3 * face_count);
    const CornerNormalSource normals(mesh, settings.smooth_angle);
    WriteChunked(
        out, static_cast<std::size_t>(face_count), kNormalChunk,
        [&normals](TextBlock& block, std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                for (const Vector3d& n : normals.Corners(static_cast<int>(i))) {
                    PutPointLine(block, "vn ", n);
                }
            }
        },
        FileProgressAnnouncer(report.callbacks, static_cast<std::size_t>(face_count)));
    out.LineEnd();

    out.Printf("o %s\n", mesh.Name());
    out.LineEnd();
    out.Printf("s %s\n", "off");
    out.LineEnd();

    out.Printf("# Face indices %d\n", face_count);
    // A mesh's faces run clockwise around their normal (FaceNormal), an OBJ
    // face runs counter-clockwise around its front. So each face is written
    // with its corners in reverse order: the file's windings agree with its
    // normals, and objread reads the very same triangles back. Face i has
    // the normals NormalBase + 3 i to NormalBase + 3 i + 2.
    const int vertex_base = VertexBase;
    const int normal_base = NormalBase;
    WriteChunked(
        out, static_cast<std::size_t>(face_count), kFaceChunk,
        [&mesh, vertex_base, normal_base](TextBlock& block, std::size_t begin, std::size_t end) {
            constexpr std::size_t kFaceRoom = 8 + 6 * kIntMaxChars + 12;
            for (std::size_t i = begin; i < end; ++i) {
                const FaceCorners& k = mesh.Face(static_cast<int>(i));
                const int normal = normal_base + 3 * static_cast<int>(i);
                char* p = block.Reserve(kFaceRoom);
                *p++ = 'f';
                for (int r = 2; r >= 0; --r) {
                    *p++ = ' ';
                    p = FormatInt(p, k[static_cast<std::size_t>(r)] + vertex_base);
                    *p++ = '/';
                    *p++ = '/';
                    p = FormatInt(p, normal + r);
                }
                block.Commit(block.PutLineEnd(p));
            }
        },
        FileProgressAnnouncer(report.callbacks, static_cast<std::size_t>(face_count)));
    NormalBase += 3 * face_count;
    out.LineEnd();

    VertexBase += vertex_count;
    return 1;
}

}  // namespace plugins::objwrite
