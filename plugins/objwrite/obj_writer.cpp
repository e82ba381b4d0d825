#include "objwrite/obj_writer.h"

#include "export/corner_normals.h"
#include "export/export_settings.h"
#include "export/mesh_access.h"
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

int ObjWriter::WriteObjObject(const Mesh3d& mesh, const ExportSettings& settings,
                              const ExportReport& report) {
    if (!BeginFiniteMesh(mesh, report)) {
        return 0;
    }
    TextOutput& out = Out();

    const int vertex_count = VertexCount(mesh);
    const int face_count = FaceCount(mesh);

    out.Printf("# Object %s\n", mesh.name);
    out.Printf("# Vertices %d\n", vertex_count);
    for (int i = 0; i < vertex_count; ++i) {
        report.callbacks->FileProgress(static_cast<unsigned>(i),
                                       static_cast<unsigned>(vertex_count));
        const Vector3d p = VertexPoint(mesh, i);
        out.Text("v ");
        out.Fixed6(p.x);
        out.Text(" ");
        out.Fixed6(p.y);
        out.Text(" ");
        out.Fixed6(p.z);
        out.LineEnd();
    }
    out.LineEnd();

    out.Printf("# Normals %d\n", 3 * face_count);
    const CornerNormalSource normals(mesh, settings.smooth_angle);
    for (int i = 0; i < face_count; ++i) {
        report.callbacks->FileProgress(static_cast<unsigned>(i), static_cast<unsigned>(face_count));
        for (const Vector3d& n : normals.Corners(i)) {
            out.Text("vn ");
            out.Fixed6(n.x);
            out.Text(" ");
            out.Fixed6(n.y);
            out.Text(" ");
            out.Fixed6(n.z);
            out.LineEnd();
        }
    }
    out.LineEnd();

    out.Printf("o %s\n", mesh.name);
    out.LineEnd();
    out.Printf("s %s\n", "off");
    out.LineEnd();

    out.Printf("# Face indices %d\n", face_count);
    // A mesh's faces run clockwise around their normal (FaceNormal), an OBJ
    // face runs counter-clockwise around its front. So each face is written
    // with its corners in reverse order: the file's windings agree with its
    // normals, and objread reads the very same triangles back.
    constexpr int kCornerOrder[3] = {2, 1, 0};
    for (int i = 0; i < face_count; ++i) {
        report.callbacks->FileProgress(static_cast<unsigned>(i), static_cast<unsigned>(face_count));
        const FaceCorners k = FaceVertexNumbers(mesh, i);
        out.Text("f ");
        for (int r : kCornerOrder) {
            if (r != kCornerOrder[0]) {
                out.Text(" ");
            }
            out.Int(k[r] + VertexBase);
            out.Text("//");
            out.Int(NormalBase + r);
        }
        out.LineEnd();
        NormalBase += 3;
    }
    out.LineEnd();

    VertexBase += vertex_count;
    return 1;
}

}  // namespace plugins::objwrite
