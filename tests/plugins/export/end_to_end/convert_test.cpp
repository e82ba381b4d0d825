// meshconv convert, run as a program.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/settings_store.h"
#include "host.h"

namespace plugins {

namespace {

using namespace e2e;
using pluginsupport::ReadFileBytes;
using pluginsupport::WriteFileBytes;

// One triangle named tri, away from the axes so that swaps show.
const char* const kTriangleObj = "v 1 2 3\nv 4 2 3\nv 1 5 3\no tri\nf 1 2 3\n";

class ConvertTest : public pluginsupport::ConfigHomeTest {
  protected:
    ConvertTest() {
        WriteFileBytes(temp_.File("in.obj"), kTriangleObj);
        WriteSettingInt("objread", kSpecificSettings, "obj_mode", 1);
        WriteSettingInt("objread", kCommonSettings, "unify_mode", 0);
    }

    int Convert(std::vector<std::string> args) { return RunMeshconv(args, temp_.File("err.txt")); }

    std::string Err() { return ReadFileBytes(temp_.File("err.txt")); }

    std::string Stored(const char* subkey, const char* section, const char* name) {
        std::string value;
        ReadSettingText(subkey, section, name, nullptr, value, 2048);
        return value;
    }
};

TEST_F(ConvertTest, TheExporterFollowsToOrTheOutputExtension) {
    const struct {
        std::vector<std::string> extra;
        const char* out;
        int exit_code;
        const char* starts_with;
    } cases[] = {
        {{}, "a.obj", 0, "# Converted by WaveFront Export Plugin 0.1"},
        {{}, "b.c", 0, "// Converted by OpenGL Export Plugin 0.2"},
        {{"--to", "c"}, "c.txt", 0, "// Converted by OpenGL Export Plugin 0.2"},
        {{"--to", "obj"}, "d.c", 0, "# Converted by WaveFront Export Plugin 0.1"},
        {{}, "e.txt", 1, nullptr},
        {{"--to", "stl"}, "f.obj", 2, nullptr},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"convert", temp_.File("in.obj"), temp_.File(c.out)};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        EXPECT_EQ(Convert(args), c.exit_code) << c.out << ": " << Err();
        if (c.starts_with != nullptr) {
            EXPECT_EQ(ReadFileBytes(temp_.File(c.out)).rfind(c.starts_with, 0), 0u) << c.out;
        } else {
            EXPECT_FALSE(std::filesystem::exists(temp_.File(c.out))) << c.out;
        }
    }
}

TEST_F(ConvertTest, ScaleAndSwapApplyOnceAndTheExportersOwnValuesReturn) {
    WriteSettingDouble("objwrite", kCommonSettings, "size_value", 3.0);
    WriteSettingInt("objwrite", kCommonSettings, "swap_mode", 1);
    ASSERT_EQ(Convert({"convert", temp_.File("in.obj"), temp_.File("out.obj"), "--scale", "2",
                       "--swap", "xz", "--smooth", "0", "--line-ends", "dos"}),
              0)
        << Err();
    const std::string file = ReadFileBytes(temp_.File("out.obj"));
    // Doubled once and x exchanged with z once, in the importer's vertex
    // order (its triangles run against the file's).
    EXPECT_NE(file.find("v 6.000000 10.000000 2.000000\r\nv 6.000000 4.000000 8.000000\r\n"
                        "v 6.000000 4.000000 2.000000\r\n"),
              std::string::npos)
        << file;
    EXPECT_EQ(Stored("objwrite", kCommonSettings, "size_value"), "3.000000");
    EXPECT_EQ(Stored("objwrite", kCommonSettings, "swap_mode"), "1");
    EXPECT_EQ(Stored("objwrite", kCommonSettings, "ld_mode"), "0");
    EXPECT_EQ(Stored("objwrite", kSpecificSettings, "smooth_angle"), "0.000000");
    EXPECT_EQ(Stored("objwrite", kSpecificSettings, "file_name"), temp_.File("out.obj"));
    EXPECT_EQ(Stored("objread", kCommonSettings, "size_value"), "2.000000");
}

namespace {

// The triangles of an OBJ file as written (each face line's vertices in its
// order) and the normals its face lines name, three per triangle.
struct ObjFaces {
    std::vector<Triangle3d> triangles;
    std::vector<Vector3d> normals;
};

ObjFaces ReadObjFaces(const std::string& text) {
    std::vector<Vector3d> v;
    std::vector<Vector3d> vn;
    ObjFaces faces;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        Vector3d p{};
        int k[3] = {};
        int n[3] = {};
        if (std::sscanf(line.c_str(), "v %lf %lf %lf", &p.x, &p.y, &p.z) == 3) {
            v.push_back(p);
        } else if (std::sscanf(line.c_str(), "vn %lf %lf %lf", &p.x, &p.y, &p.z) == 3) {
            vn.push_back(p);
        } else if (std::sscanf(line.c_str(), "f %d//%d %d//%d %d//%d", &k[0], &n[0], &k[1], &n[1],
                               &k[2], &n[2]) == 6) {
            faces.triangles.push_back({v.at(k[0] - 1), v.at(k[1] - 1), v.at(k[2] - 1)});
            for (int i : n) {
                faces.normals.push_back(vn.at(i - 1));
            }
        }
    }
    return faces;
}

}  // namespace

// Orientation repair turns a closed surface outward: a cube whose faces all
// run counter-clockwise seen from outside (the OBJ convention) comes through
// unchanged, and one wound partly or wholly inward comes out like it, faces
// and normals alike.
TEST_F(ConvertTest, UnifyTurnsAClosedSurfaceOutward) {
    const char* const outward[6] = {"1 4 3 2", "5 6 7 8", "1 2 6 5",
                                    "2 3 7 6", "3 4 8 7", "4 1 5 8"};
    const struct {
        const char* name;
        unsigned reversed;  // bit i: quad i runs the other way
    } cases[] = {{"outward", 0u}, {"mixed", 0b010110u}, {"inward", 0b111111u}};
    const Vector3d centre{0.5, 0.5, 0.5};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text =
            "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n";
        for (int i = 0; i < 6; ++i) {
            std::string quad = outward[i];
            if ((c.reversed >> i) & 1u) {
                quad = std::string(quad.rbegin(), quad.rend());
            }
            text += "f " + quad + "\n";
        }
        WriteFileBytes(temp_.File("cube.obj"), text);
        for (const char* unify : {"--unify", "--no-unify"}) {
            ASSERT_EQ(
                Convert({"convert", temp_.File("cube.obj"), temp_.File(std::string(unify) + ".obj"),
                         unify, "--smooth", "0", "--split", "nothing", "--quiet"}),
                0)
                << Err();
        }
        const std::string repaired = ReadFileBytes(temp_.File("--unify.obj"));
        const ObjFaces faces = ReadObjFaces(repaired);
        ASSERT_EQ(faces.triangles.size(), 12u) << repaired;
        for (std::size_t i = 0; i < faces.triangles.size(); ++i) {
            const Triangle3d& t = faces.triangles[i];
            const Vector3d out = Subtract(Centroid(t), centre);
            const Vector3d right_handed = Cross(Subtract(t.P1, t.P0), Subtract(t.P2, t.P0));
            EXPECT_GT(Dot(right_handed, out), 0.0) << "face " << i;
            for (std::size_t r = 0; r < 3; ++r) {
                EXPECT_GT(Dot(faces.normals[3 * i + r], out), 0.0) << "face " << i;
            }
        }
        if (c.reversed == 0) {
            EXPECT_EQ(repaired, ReadFileBytes(temp_.File("--no-unify.obj")));
        }
    }
}

// The factor reaches the importer through its settings, which keep six
// decimals: a smaller one would be stored as 0 and flatten every mesh.
TEST_F(ConvertTest, AScaleTheSettingsCannotHoldIsBadUsage) {
    EXPECT_EQ(
        Convert({"convert", temp_.File("in.obj"), temp_.File("out.obj"), "--scale", "0.0000001"}),
        2);
    EXPECT_NE(Err().find("--scale"), std::string::npos) << Err();
    EXPECT_FALSE(std::filesystem::exists(temp_.File("out.obj")));
}

// Whatever reaches a plug-in through its settings must fit them: a value
// the store cannot hold is bad usage that names the option, and nothing is
// imported, stored or written.
TEST_F(ConvertTest, ValuesTheSettingsCannotHoldAreBadUsage) {
    // A working directory whose absolute path is longer than a stored text.
    const std::string deep = temp_.File(std::string(120, 'd') + "/" + std::string(120, 'e') + "/" +
                                        std::string(30, 'f'));
    std::filesystem::create_directories(deep);
    WriteSettingText("objread", kCommonSettings, "logfilename", "kept.log");
    const std::string in = temp_.File("in.obj");
    const std::string out = temp_.File("out.obj");
    const struct {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {
        {{"import", in, "--scale", "1e300"}, "--scale"},
        {{"convert", in, out, "--scale", "1e250"}, "--scale"},
        {{"convert", in, out, "--smooth", "1e300"}, "--smooth"},
        {{"import", in, "--log", "mylog.txt"}, "--log"},
        {{"convert", in, out, "--log", "mylog.txt"}, "--log"},
        {{"convert", in, temp_.File(std::string(256, 'n') + ".obj")}, "OUT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        EXPECT_EQ(RunMeshconvIn(deep, c.args, temp_.File("err.txt"), false), 2);
        EXPECT_NE(Err().find(c.named), std::string::npos) << Err();
    }
    EXPECT_EQ(Stored("objread", kCommonSettings, "logfilename"), "kept.log");
    EXPECT_EQ(Stored("objread", kCommonSettings, "size_value"), "");
    EXPECT_EQ(Stored("glwrite", kSpecificSettings, "smooth_angle"), "");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(temp_.File("objread.log")));
    EXPECT_TRUE(std::filesystem::is_empty(deep));
    // The largest numbers that fit are taken.
    EXPECT_EQ(Convert({"convert", in, out, "--scale", "1e240", "--quiet"}), 0) << Err();
}

TEST_F(ConvertTest, AnOutputThatCannotBeWrittenFailsWithAMessage) {
    // A directory where the file should go (the exporter finds out), and a
    // directory that is missing (meshconv does).
    std::filesystem::create_directory(temp_.File("taken.obj"));
    const struct {
        std::string out;
        std::string message;
    } cases[] = {
        {temp_.File("taken.obj"), "Unable to write " + temp_.File("taken.obj")},
        {temp_.File("missing/out.obj"),
         "meshconv convert: unable to write '" + temp_.File("missing/out.obj") + "'"},
    };
    for (const auto& [out, message] : cases) {
        EXPECT_EQ(Convert({"convert", temp_.File("in.obj"), out}), 1) << out;
        EXPECT_NE(Err().find(message), std::string::npos) << Err();
        EXPECT_EQ(Convert({"convert", temp_.File("in.obj"), out, "--quiet"}), 1) << out;
        EXPECT_EQ(Err(), "meshconv convert: unable to write '" + out + "'\n");
    }
    EXPECT_TRUE(std::filesystem::is_directory(temp_.File("taken.obj")));
    EXPECT_FALSE(std::filesystem::exists(temp_.File("missing")));
}

TEST_F(ConvertTest, OnlyAFileThisRunWroteCountsAsWritten) {
    // A file of OUT's name in the current directory, where nothing may land.
    std::filesystem::create_directory(temp_.File("here"));
    std::filesystem::create_directory(temp_.File("sub"));
    WriteFileBytes(temp_.File("here/out.obj"), "keep\n");
    const std::string long_dir = temp_.File(std::string(150, 'a') + "/" + std::string(150, 'b'));
    // Missing directories just longer than a stored text can be.
    std::string just_too_long = temp_.File("c/");
    just_too_long += std::string(257 - just_too_long.size(), 'c');
    const struct {
        std::string out;
        bool at_terminal;
    } cases[] = {
        // The save dialog at a terminal is cancelled: nothing is written.
        {temp_.File("sub/out.obj"), true},
        // Missing directories, too long for the exporter's stored path.
        {long_dir + "/out.obj", false},
        {just_too_long + "/out.obj", false},
        {just_too_long.substr(0, 256) + "/out.obj", false},
    };
    for (const auto& c : cases) {
        const int code =
            RunMeshconvIn(temp_.File("here"), {"convert", temp_.File("in.obj"), c.out, "--quiet"},
                          temp_.File("err.txt"), c.at_terminal);
        if (code == -1 && c.at_terminal) {
            continue;  // no terminal to be had here
        }
        EXPECT_EQ(code, 1) << c.out << ": " << Err();
        EXPECT_EQ(Err(), "meshconv convert: unable to write '" + c.out + "'\n") << c.out;
        EXPECT_FALSE(std::filesystem::exists(c.out));
        EXPECT_EQ(ReadFileBytes(temp_.File("here/out.obj")), "keep\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.File("here")),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

TEST_F(ConvertTest, AnExistingOutputIsReplacedAndAnUnreadableInputWritesNothing) {
    // A device is written to, never replaced, also behind a link.
    std::filesystem::create_symlink("/dev/null", temp_.File("null.obj"));
    ASSERT_EQ(Convert({"convert", temp_.File("in.obj"), temp_.File("null.obj"), "--quiet"}), 0)
        << Err();
    EXPECT_TRUE(std::filesystem::is_symlink(temp_.File("null.obj")));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    WriteFileBytes(temp_.File("out.c"), "old\n");
    ASSERT_EQ(Convert({"convert", temp_.File("in.obj"), temp_.File("out.c"), "--quiet"}), 0)
        << Err();
    EXPECT_EQ(Err(), "");
    EXPECT_NE(ReadFileBytes(temp_.File("out.c")).find("void tri(void)"), std::string::npos);

    WriteFileBytes(temp_.File("keep.c"), "old\n");
    EXPECT_EQ(Convert({"convert", temp_.File("absent.obj"), temp_.File("keep.c")}), 1);
    EXPECT_NE(Err().find("absent.obj"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(temp_.File("keep.c")), "old\n");
}

TEST_F(ConvertTest, AnInputPipeIsReadByTheImporterAndADirectoryIsRefused) {
    // IN may be a pipe: the importer reads it once, the host only checks it
    // may. The writer gives up once meshconv is done, opened or not.
    const std::string pipe = temp_.File("pipe.obj");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        int fd = -1;
        while (fd < 0 && !done) {
            fd = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        if (fd >= 0) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            const std::string text = kTriangleObj;
            EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
            close(fd);
        }
    });
    const int code = Convert({"convert", pipe, temp_.File("from_pipe.c"), "--quiet"});
    done = true;
    writer.join();
    EXPECT_EQ(code, 0) << Err();
    EXPECT_NE(ReadFileBytes(temp_.File("from_pipe.c")).find("void tri(void)"), std::string::npos);

    std::filesystem::create_directory(temp_.File("dir.obj"));
    WriteFileBytes(temp_.File("keep.c"), "old\n");
    EXPECT_EQ(Convert({"convert", temp_.File("dir.obj"), temp_.File("keep.c")}), 1);
    EXPECT_EQ(Err(), "meshconv convert: cannot read '" + temp_.File("dir.obj") + "'\n");
    EXPECT_EQ(ReadFileBytes(temp_.File("keep.c")), "old\n");
}

TEST_F(ConvertTest, ConfigureStoresTheExporterFieldsOnOkAndKeepsUnify) {
    WriteSettingInt("glwrite", kCommonSettings, "unify_mode", 1);
    const std::string script = temp_.File("answers.txt");
    WriteFileBytes(script, "6 -45.5\n4 3\n2 abc\n1\nok\n");
    const std::string command = std::string("'") + MESHCONV_PROGRAM + "' configure glwrite <'" +
                                script + "' >'" + temp_.File("form.txt") + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(temp_.File("form.txt"));
    const std::string form = ReadFileBytes(temp_.File("form.txt"));
    EXPECT_EQ(form.rfind("OGL Configuration\nCommon\n", 0), 0u) << form;
    // The exporters' fields, in this order, and no Unify box.
    std::size_t at = 0;
    for (const char* field :
         {"1  [ ] Verbose", "2  Size Value: 1.000", "3  Swap Mode:", "4  Line Delimiter:", "DOS",
          "UNIX", "MAC", "5  Log File Name: glwrite.log", "Specific", "6  Smooth Angle: 70.000"}) {
        at = form.find(field, at);
        ASSERT_NE(at, std::string::npos) << field << " in\n" << form;
    }
    EXPECT_EQ(form.find("Unify"), std::string::npos);
    EXPECT_EQ(Stored("glwrite", kSpecificSettings, "smooth_angle"), "-45.500000");
    EXPECT_EQ(Stored("glwrite", kCommonSettings, "ld_mode"), "2");
    EXPECT_EQ(Stored("glwrite", kCommonSettings, "size_value"), "1.000000");  // "abc" was refused
    EXPECT_EQ(Stored("glwrite", kCommonSettings, "verbose_mode"), "1");
    EXPECT_EQ(Stored("glwrite", kCommonSettings, "unify_mode"), "1");

    // Cancel (here: the end of the input) writes the settings back unchanged.
    WriteFileBytes(script, "6 10\n");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Stored("glwrite", kSpecificSettings, "smooth_angle"), "-45.500000");
}

}  // namespace

}  // namespace plugins
