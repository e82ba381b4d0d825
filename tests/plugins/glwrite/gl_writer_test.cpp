#include "glwrite/gl_writer.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "export/export_run.h"
#include "export/export_settings.h"
#include "mesh_fixtures.h"
#include "support/temp_dir.h"

namespace plugins::glwrite {

namespace {

using namespace exporttest;
using pluginsupport::ReadFileBytes;
using pluginsupport::WriteFileBytes;

const char* const kTriangleFile =
    "// Converted by OpenGL Export Plugin 0.2\n"
    "\n"
    "static GLfloat color_val[1][3] = \n"
    "{\n"
    "\t{1.000000f, 0.000000f, 0.000000f}\n"
    "};\n"
    "void tri(void)\n"
    "{\n"
    "\tglColor3fv(color_val[0]);\n"
    "\tglBegin(GL_TRIANGLES);\n"
    "\t\tglNormal3f(0.000000f, 0.000000f, -1.000000f);\n"
    "\t\tglVertex3f(0.000000f, 0.000000f, 0.000000f);\n"
    "\t\tglNormal3f(0.000000f, 0.000000f, -1.000000f);\n"
    "\t\tglVertex3f(1.000000f, 0.000000f, 0.000000f);\n"
    "\t\tglNormal3f(0.000000f, 0.000000f, -1.000000f);\n"
    "\t\tglVertex3f(0.000000f, 1.000000f, 0.000000f);\n"
    "\tglEnd();\n"
    "\n"
    "}\n"
    "\n";

std::string WithLineEnds(const std::string& text, const std::string& line_end) {
    std::string result;
    for (char c : text) {
        if (c == '\n') {
            result += line_end;
        } else {
            result += c;
        }
    }
    return result;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1) {
        lines.push_back(text.substr(start, lf - start));
    }
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    for (const std::string& l : Lines(text)) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

class GlWriterTest : public pluginsupport::ConfigHomeTest {
  protected:
    GlWriterTest() : objects_(DeleteAnyObject) { ClearRecording(); }

    std::string Export(int ld_mode) {
        ExportSettings settings(kGlWriteIdentity);
        settings.ld_mode = ld_mode;
        settings.SetFileName(temp_.File("out.c").c_str());
        const ProgressCallbacks callbacks = RecordingCallbacks();
        GlWriter writer;
        EXPECT_EQ(ExportRun(&objects_, &settings, &callbacks, writer), 1);
        return ReadFileBytes(temp_.File("out.c"));
    }

    ObjectList objects_;
};

TEST_F(GlWriterTest, SingleTriangleByteForByteInEveryLineEnd) {
    objects_.Append(MakeCompactMesh("tri", SingleTriangle()));
    const struct {
        int ld_mode;
        const char* line_end;
    } cases[] = {{1, "\n"}, {0, "\r\n"}, {2, "\r"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Export(c.ld_mode), WithLineEnds(kTriangleFile, c.line_end))
            << "ld_mode " << c.ld_mode;
    }
}

TEST_F(GlWriterTest, ColourRowsFollowTheMeshesAndSkipOtherObjects) {
    objects_.Append(MakeCompactMesh("a", SingleTriangle()));
    objects_.Append(MakeOtherObject("camera"));
    objects_.Append(MakeCompactMesh("b", SingleTriangle()));
    objects_.Append(MakeCompactMesh("c", SingleTriangle()));
    const std::string file = Export(1);
    EXPECT_NE(file.find("static GLfloat color_val[3][3] = \n{\n"
                        "\t{1.000000f, 0.000000f, 0.000000f},\n"
                        "\t{1.000000f, 0.000000f, 0.533333f},\n"
                        "\t{1.000000f, 0.066667f, 0.000000f}\n"
                        "};\n"),
              std::string::npos);
    EXPECT_NE(file.find("void a(void)\n{\n\tglColor3fv(color_val[0]);\n"), std::string::npos);
    EXPECT_NE(file.find("void b(void)\n{\n\tglColor3fv(color_val[1]);\n"), std::string::npos);
    EXPECT_NE(file.find("void c(void)\n{\n\tglColor3fv(color_val[2]);\n"), std::string::npos);
}

TEST_F(GlWriterTest, ThirtyThreeMeshesWrapTheColourValue) {
    for (int i = 0; i < 33; ++i) {
        objects_.Append(MakeCompactMesh(("m" + std::to_string(i)).c_str(), SingleTriangle()));
    }
    const std::vector<std::string> lines = Lines(Export(1));
    ASSERT_GT(lines.size(), 38u);
    EXPECT_EQ(lines[2], "static GLfloat color_val[33][3] = ");
    const struct {
        int row;
        const char* text;
    } rows[] = {
        {0, "\t{1.000000f, 0.000000f, 0.000000f},"},  {1, "\t{1.000000f, 0.000000f, 0.533333f},"},
        {2, "\t{1.000000f, 0.066667f, 0.000000f},"},  {3, "\t{1.000000f, 0.066667f, 0.533333f},"},
        {31, "\t{1.000000f, 1.000000f, 0.533333f},"}, {32, "\t{0.000000f, 0.000000f, 0.000000f}"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(lines[4 + r.row], r.text) << "row " << r.row;
    }
    EXPECT_EQ(lines[4 + 33], "};");
    EXPECT_TRUE(HasLine(Export(1), "\tglColor3fv(color_val[32]);"));
}

TEST_F(GlWriterTest, NoMeshesGiveAnEmptyTable) {
    objects_.Append(MakeOtherObject("camera"));
    EXPECT_EQ(Export(0),
              "// Converted by OpenGL Export Plugin 0.2\r\n\r\nstatic GLfloat color_val[0][3] = "
              "\r\n{\r\n};\r\n");
}

TEST_F(GlWriterTest, AwkwardMeshNamesStillGiveACompilableFile) {
    for (const char* name :
         {"my box", "3d box", "cube", "cube", "", "", "default", "color_val", "glEnd", "Nd_box",
          "int", "caf\xc3\xa9"}) {  // the accent is not printable here and goes
        objects_.Append(MakeCompactMesh(name, SingleTriangle()));
    }
    const std::string file = Export(1);
    for (const char* function : {"my_box", "Nd_box", "cube", "cube_2", "tmp_obj", "tmp_obj_2",
                                 "default_", "color_val_", "glEnd_", "Nd_box_2", "int_", "caf"}) {
        EXPECT_TRUE(HasLine(file, std::string("void ") + function + "(void)")) << function;
    }

    const std::string stub =
        "typedef float GLfloat;\n"
        "#define GL_TRIANGLES 4\n"
        "void glBegin(int mode);\n"
        "void glEnd(void);\n"
        "void glNormal3f(GLfloat x, GLfloat y, GLfloat z);\n"
        "void glVertex3f(GLfloat x, GLfloat y, GLfloat z);\n"
        "void glColor3fv(const GLfloat* v);\n";
    WriteFileBytes(temp_.File("gl_stub.h"), stub);
    const std::string command = "gcc -fsyntax-only -std=c11 -Wall -Werror -include '" +
                                temp_.File("gl_stub.h") + "' -x c '" + temp_.File("out.c") +
                                "' 2>'" + temp_.File("gcc.txt") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(temp_.File("gcc.txt"));
}

// Mesh names that mean something else where the file is compiled: GNU C's
// predefined macros and keywords, names reserved to the compiler, and the
// identifiers of the real GL header. The file must compile as it is meant
// to be used, after #include <GL/gl.h>.
TEST_F(GlWriterTest, NamesThatClashInCStillGiveACompilableFile) {
    const char* const names[] = {"linux",
                                 "unix",
                                 "i386",
                                 "asm",
                                 "typeof",
                                 "inline",
                                 "__LINE__",
                                 "__FILE__",
                                 "__func__",
                                 "__attribute__",
                                 "_Pragma",
                                 "__int128",
                                 "__restrict",
                                 "__typeof__",
                                 "__real__",
                                 "__STDC__",
                                 "__STDC_",
                                 "_Bool",
                                 "_Float128",
                                 "GLint",
                                 "GLuint",
                                 "GLenum",
                                 "GL_QUADS",
                                 "GL_TRIANGLES",
                                 "GLAPI",
                                 "APIENTRY",
                                 "glVertex2f",
                                 "glBegin",
                                 "PFNGLCLEARPROC",
                                 "int32_t",
                                 "uint64_t",
                                 "INT8_C",
                                 "SIZE_MAX",
                                 "intptr_t",
                                 "khronos_int32_t",
                                 "KHRONOS_APICALL",
                                 "color_val",
                                 "main",
                                 "linux",
                                 "GL_QUADS",
                                 "int"};
    for (const char* name : names) {
        objects_.Append(MakeCompactMesh(name, SingleTriangle()));
    }
    Export(1);
    const std::string command = "cc -std=gnu11 -c -include GL/gl.h -x c '" + temp_.File("out.c") +
                                "' -o '" + temp_.File("out.o") + "' 2>'" + temp_.File("cc.txt") +
                                "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(temp_.File("cc.txt"));
    const std::string file = ReadFileBytes(temp_.File("out.c"));
    for (const char* function :
         {"void linux_(void)", "void __LINE___mesh(void)", "void __STDC__mesh(void)",
          "void GL_QUADS_(void)", "void GL_QUADS_2_(void)", "void main(void)", "void linux_2(void)",
          "void int32_t_(void)"}) {
        EXPECT_NE(file.find(function), std::string::npos) << function;
    }
}

TEST(CFunctionNames, NamesAreKeptWhenValidAndFreeElseMadeSo) {
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"tri", "tri"},
        {"_under", "_under"},
        {"Box_12", "Box_12"},
        {"tri", "tri_2"},
        {"tri_2", "tri_2_2"},
        {"tri", "tri_3"},
        {"while", "while_"},
        {"glBegin", "glBegin_"},
        {"GLfloat", "GLfloat_"},
        {"while", "while_2"},
        {"GL_QUADS", "GL_QUADS_"},
        {"GL_QUADS", "GL_QUADS_2_"},
        {"linux", "linux_"},
        {"__STDC_", "__STDC__mesh"},  // "_" alone would make __STDC__
        {"_Pragma", "_Pragma_mesh"},
        {"\"q\" ", "q"},
        {"a-b c", "a_b_c"},
        {"9", "N"},
        {"  ", "tmp_obj"},
        {nullptr, "tmp_obj_2"},
    };
    CFunctionNames names;
    for (const auto& c : cases) {
        EXPECT_EQ(names.Take(c.name), c.expected) << (c.name ? c.name : "(null)");
    }
    names.Clear();
    EXPECT_EQ(names.Take("tri"), "tri");
}

}  // namespace

}  // namespace plugins::glwrite
