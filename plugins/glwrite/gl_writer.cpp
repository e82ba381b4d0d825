#include "glwrite/gl_writer.h"

#include "export/corner_normals.h"
#include "export/export_settings.h"
#include "export/mesh_access.h"
#include "framework/log_file.h"
#include "framework/progress.h"

namespace plugins::glwrite {

Vector3d ColorTableRow(int j) {
    // Only the low 12 bits count, so the unsigned wrap of huge rows is
    // harmless.
    const unsigned v = 3840u + 8u * static_cast<unsigned>(j);
    return {static_cast<double>((v >> 8) & 15u) / 15.0, static_cast<double>((v >> 4) & 15u) / 15.0,
            static_cast<double>(v & 15u) / 15.0};
}

ExportBanner GlWriter::Banner() const {
    return {kGlWriteTitle, __DATE__, __TIME__, "g++ " __VERSION__};
}

bool GlWriter::WriteGlHeader(const char* path, const ExportSettings& settings) {
    if (!OpenFile(path, LineDelimiterFromSetting(settings.ld_mode))) {
        return false;
    }
    Out().Printf("%s%s\n", "// Converted by ", kGlWriteTitle);
    Out().Printf("\n");
    names_.Clear();
    ColorIndex = 0;
    return true;
}

void GlWriter::WriteGlColorTable(const ObjectList& objects, const ExportSettings& /*settings*/) {
    if (!IsOpen()) {
        return;
    }
    int count = 0;
    for (const ObjectListNode* node = objects.head; node != nullptr; node = node->next) {
        if (node->object != nullptr && node->object->type == kObjectTypeMesh) {
            ++count;
        }
    }
    ColorIndex = 0;
    TextOutput& out = Out();
    out.Printf("static GLfloat color_val[%d][3] = \n", count);
    out.Printf("{\n");
    for (int j = 0; j < count; ++j) {
        const Vector3d c = ColorTableRow(j);
        out.Text("\t{");
        out.Fixed6(c.x);
        out.Text("f, ");
        out.Fixed6(c.y);
        out.Text("f, ");
        out.Fixed6(c.z);
        out.Text(j + 1 < count ? "f},\n" : "f}\n");
    }
    out.Printf("};\n");
}

void GlWriter::WriteTriple(const char* call, const Vector3d& v) {
    TextOutput& out = Out();
    out.Text(call);
    out.Fixed6(v.x);
    out.Text("f, ");
    out.Fixed6(v.y);
    out.Text("f, ");
    out.Fixed6(v.z);
    out.Text("f);\n");
}

int GlWriter::WriteGlObject(const Mesh3d& mesh, const ExportSettings& settings,
                            const ExportReport& report) {
    if (!BeginFiniteMesh(mesh, report)) {
        return 0;
    }
    TextOutput& out = Out();

    const std::string function = names_.Take(mesh.name);
    out.Printf("void %s(void)\n", function.c_str());
    out.Printf("{\n");
    out.Printf("\tglColor3fv(color_val[%d]);\n", ColorIndex);
    ++ColorIndex;

    const int face_count = FaceCount(mesh);
    const CornerNormalSource normals(mesh, settings.smooth_angle);
    for (int i = 0; i < face_count; ++i) {
        report.callbacks->FileProgress(static_cast<unsigned>(i), static_cast<unsigned>(face_count));
        const Triangle3d t = mesh.GetTriangle(i);
        const CornerTriple m = normals.Corners(i);
        out.Text("\tglBegin(GL_TRIANGLES);\n");
        WriteTriple("\t\tglNormal3f(", m[0]);
        WriteTriple("\t\tglVertex3f(", t.P0);
        WriteTriple("\t\tglNormal3f(", m[1]);
        WriteTriple("\t\tglVertex3f(", t.P1);
        WriteTriple("\t\tglNormal3f(", m[2]);
        WriteTriple("\t\tglVertex3f(", t.P2);
        out.Text("\tglEnd();\n\n");
    }
    out.Printf("}\n");
    out.Printf("\n");
    return 1;
}

}  // namespace plugins::glwrite
