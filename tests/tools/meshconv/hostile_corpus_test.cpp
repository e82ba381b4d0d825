// meshconv over hostile input: the small files of tests/data/hostile and a
// few large ones built here. Every run must end with the exit code it
// deserves, no output may hold a number that is not finite, and every C file
// written must compile against the real GL header.
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pluginsupport::ReadFileBytes;
using pluginsupport::WriteFileBytes;

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

class HostileCorpusTest : public pluginsupport::ConfigHomeTest {
  protected:
    // Runs a shell command in the test's directory; returns its exit code.
    int Shell(const std::string& command) {
        const int status = std::system(("cd " + Quote(temp_.path().string()) + " && " + command +
                                        " </dev/null 2>>" + Quote(temp_.File("err.txt")))
                                           .c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int Meshconv(const std::vector<std::string>& args) {
        std::string command = Quote(MESHCONV_PROGRAM);
        for (const std::string& a : args) {
            command += " " + Quote(a);
        }
        return Shell(command + " >/dev/null");
    }

    std::string Err() { return ReadFileBytes(temp_.File("err.txt")); }

    // Converts in to C and to OBJ with split, expecting code from both. A
    // file written must be clean; a C file must compile.
    void Convert(const std::string& in, const std::string& split, int code) {
        for (const char* ext : {".c", ".obj"}) {
            const std::string out = temp_.File(std::string("out") + ext);
            fs::remove(out);
            EXPECT_EQ(Meshconv({"convert", in, out, "--split", split, "--smooth", "40"}), code)
                << ext << "\n"
                << Err();
            if (code != 0) {
                EXPECT_FALSE(fs::exists(out)) << ext;
                continue;
            }
            const std::string text = ReadFileBytes(out);
            EXPECT_EQ(text.find("nan"), std::string::npos) << ext;
            EXPECT_EQ(text.find("inf"), std::string::npos) << ext;
            if (std::string(ext) == ".c") {
                EXPECT_EQ(
                    Shell("cc -std=gnu11 -c -include GL/gl.h -x c " + Quote(out) + " -o out.o"), 0)
                    << Err();
            }
        }
    }
};

TEST_F(HostileCorpusTest, EverySmallFileEndsAsItShould) {
    const struct {
        const char* file;
        const char* split;
        int code;          // of import and convert alike
        const char* says;  // on standard error, when not empty
    } cases[] = {
        {"bom.obj", "nothing", 0, ""},
        {"utf16.obj", "nothing", 1, "no meshes found in "},
        {"no-faces.obj", "nothing", 1, "no meshes found in "},
        {"empty.obj", "nothing", 0, ""},
        {"nan-vertex.obj", "nothing", 1, "line 5 of "},
        {"inf-vertex.obj", "nothing", 1, "line 2 of "},
        {"exponent-overflow.obj", "nothing", 1, "line 1 of "},
        {"huge-triangle.obj", "nothing", 0, ""},
        // Triangles this small count as having no area: nothing is left.
        {"tiny-triangle.obj", "nothing", 1, "no meshes found in "},
        {"c-names.obj", "object", 0, ""},
        {"bad-indices.obj", "nothing", 0, ""},
        {"binary-garbage.obj", "nothing", 1, "no meshes found in "},
        {"line-ends.obj", "nothing", 0, ""},
        {"collinear-only.obj", "nothing", 1, "no meshes found in "},
        {"self-touching.obj", "nothing", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string in = std::string(HOSTILE_CORPUS) + "/" + c.file;
        fs::remove(temp_.File("err.txt"));
        EXPECT_EQ(Meshconv({"import", in, "--split", c.split}), c.code) << Err();
        EXPECT_NE(Err().find(c.says), std::string::npos) << Err();
        Convert(in, c.split, c.code);
    }
}

// Large input built here: many groups, a face of many corners, and a device
// that never ends a line.
TEST_F(HostileCorpusTest, LargeInputIsBoundedAndStillCompiles) {
    std::string groups;
    for (int i = 0; i < 1000; ++i) {
        const std::string x = std::to_string(i);
        groups += "o g" + x + "\nv " + x + " 0 0\nv " + x + " 1 0\nv " + x + " 0 1\nf -3 -2 -1\n";
    }
    WriteFileBytes(temp_.File("groups.obj"), groups);
    Convert(temp_.File("groups.obj"), "object", 0);

    std::string face = "o disc\n";
    std::string corners = "f";
    for (int i = 0; i < 3000; ++i) {
        const double a = 6.283185307179586 * i / 3000;
        face += "v " + std::to_string(500 * std::cos(a)) + " " + std::to_string(500 * std::sin(a)) +
                " 2\n";
        corners += " " + std::to_string(i + 1);
    }
    WriteFileBytes(temp_.File("disc.obj"), face + corners + "\n");
    Convert(temp_.File("disc.obj"), "object", 0);

    if (fs::exists("/dev/zero")) {
        fs::remove(temp_.File("err.txt"));
        EXPECT_EQ(Meshconv({"import", "/dev/zero", "--plugin", "objread"}), 1);
        EXPECT_NE(Err().find("line 1 of /dev/zero is longer than 256 MiB"), std::string::npos)
            << Err();
    }
}

}  // namespace
