#include "glwrite/gl_writer.h"

#include "export/chunked_text.h"
#include "export/corner_normals.h"
#include "export/export_settings.h"
#include "export/fixed_format.h"
#include "export/mesh_access.h"
#include "export/text_block.h"
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

namespace {

// Faces per chunk of formatted text (see chunked_text.h): about half a
// megabyte of lines.
constexpr std::size_t kFaceChunk = 2048;

// Room for the lines of one face: two short ones and six calls of three
// numbers.
constexpr std::size_t kFaceRoom = 64 + 6 * (32 + 3 * kFixed6MaxChars);

// Puts "<call>xf, yf, zf);" and the line end.
char* PutCall(const TextBlock& block, char* p, std::string_view call, const Vector3d& v) {
    p = TextBlock::Put(p, call);
    p = FormatFixed6(p, v.x);
    p = TextBlock::Put(p, "f, ");
    p = FormatFixed6(p, v.y);
    p = TextBlock::Put(p, "f, ");
    p = FormatFixed6(p, v.z);
    p = TextBlock::Put(p, "f);");
    return block.PutLineEnd(p);
}

}  // namespace

int GlWriter::WriteGlObject(const Mesh3d& mesh, const ExportSettings& settings,
                            const ExportReport& report) {
    if (!Writable()) {
        return 0;
    }
    return WriteGlObject(ExportMesh::FromTables(mesh), settings, report);
}

int GlWriter::WriteGlObject(const ExportMesh& mesh, const ExportSettings& settings,
                            const ExportReport& report) {
    if (!BeginFiniteMesh(mesh, report)) {
        return 0;
    }
    TextOutput& out = Out();

    const std::string function = names_.Take(mesh.Name());
    out.Printf("void %s(void)\n", function.c_str());
    out.Printf("{\n");
    out.Printf("\tglColor3fv(color_val[%d]);\n", ColorIndex);
    ++ColorIndex;

    const int face_count = mesh.FaceCount();
    const CornerNormalSource normals(mesh, settings.smooth_angle);
    WriteChunked(
        out, static_cast<std::size_t>(face_count), kFaceChunk,
        [&mesh, &normals](TextBlock& block, std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                const Triangle3d t = mesh.Triangle(static_cast<int>(i));
                const CornerTriple m = normals.Corners(static_cast<int>(i));
                char* p = block.Reserve(kFaceRoom);
                p = block.PutLineEnd(TextBlock::Put(p, "\tglBegin(GL_TRIANGLES);"));
                p = PutCall(block, p, "\t\tglNormal3f(", m[0]);
                p = PutCall(block, p, "\t\tglVertex3f(", t.P0);
                p = PutCall(block, p, "\t\tglNormal3f(", m[1]);
                p = PutCall(block, p, "\t\tglVertex3f(", t.P1);
                p = PutCall(block, p, "\t\tglNormal3f(", m[2]);
                p = PutCall(block, p, "\t\tglVertex3f(", t.P2);
                p = block.PutLineEnd(TextBlock::Put(p, "\tglEnd();"));
                block.Commit(block.PutLineEnd(p));
            }
        },
        FileProgressAnnouncer(report.callbacks, static_cast<std::size_t>(face_count)));
    out.Printf("}\n");
    out.Printf("\n");
    return 1;
}

}  // namespace plugins::glwrite
