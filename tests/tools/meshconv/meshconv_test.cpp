// meshconv as a person runs it: commands, options, output, exit codes.
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/settings_store.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

const char* const kCube =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";

// Two objects: a's triangle spans x 0..2, b's y 0..3.
const char* const kTwoObjects =
    "v 0 0 0\nv 2 0 0\nv 0 1 0\nv 0 3 1\n"
    "o a\nf 1 2 3\no b\nf 1 3 4\n";

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

class MeshconvTest : public pluginsupport::ConfigHomeTest {
  protected:
    // Runs a program with args in the test's directory, input as standard
    // input (never a terminal).
    // With piped, standard input is a pipe instead of a file.
    Outcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& input = "", bool piped = false) {
        pluginsupport::WriteFileBytes(temp_.File("stdin"), input);
        std::string command = "cd " + Quote(temp_.path().string()) + " && " +
                              (piped ? "cat stdin | " : "") + Quote(program);
        for (const std::string& a : args) {
            command += " " + Quote(a);
        }
        command += std::string(piped ? "" : " <stdin") + " >stdout 2>stderr";
        const int status = std::system(command.c_str());
        Outcome o;
        o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.out = pluginsupport::ReadFileBytes(temp_.File("stdout"));
        o.err = pluginsupport::ReadFileBytes(temp_.File("stderr"));
        return o;
    }

    Outcome Run(const std::vector<std::string>& args, const std::string& input = "") {
        return RunProgram(MESHCONV_PROGRAM, args, input);
    }

    std::string Write(const std::string& name, const std::string& text) {
        pluginsupport::WriteFileBytes(temp_.File(name), text);
        return temp_.File(name);
    }
};

const std::string kObjreadLine =
    "objread\tWAV Import Lib\tWaveFront (*.obj)\timport\t0x5B177FF5\t3\n";

TEST_F(MeshconvTest, ListFindsThePlugInInTheBuildTreeAndTheInstalledLayout) {
    Outcome o = Run({"list"});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_NE(o.out.find(kObjreadLine), std::string::npos) << o.out;

    o = Run({"list", "--plugins", fs::path(OBJREAD_MODULE).parent_path().string()});
    EXPECT_EQ(o.out, kObjreadLine);
    fs::create_directory(temp_.path() / "empty");
    o = Run({"list", "--plugins", (temp_.path() / "empty").string()});
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.out, "");
    // A library that is no plug-in is named on stderr and skipped.
    Write("empty/broken.so", "not a library");
    o = Run({"list", "--plugins", (temp_.path() / "empty").string()});
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("skipped"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("broken.so"), std::string::npos) << o.err;

    // An installed tree, moved: <prefix>/bin/meshconv finds <prefix>/lib/.../meshconv/
    // by the relative path the build was configured with.
    const fs::path prefix = temp_.path() / "prefix";
    const fs::path pluginDir = (prefix / "bin" / MESHCONV_PLUGINS_FROM_BINDIR).lexically_normal();
    fs::create_directories(prefix / "bin");
    fs::create_directories(pluginDir);
    fs::copy_file(MESHCONV_PROGRAM, prefix / "bin" / "meshconv");
    fs::copy_file(OBJREAD_MODULE, pluginDir / "objread.so");
    // Libraries beside an installed meshconv (/usr/bin/ld.so) are not its plug-ins.
    Write("prefix/bin/ld.so", "not a plug-in");
    o = RunProgram((prefix / "bin" / "meshconv").string(), {"list"});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, kObjreadLine);
}

TEST_F(MeshconvTest, ImportPrintsOneLinePerMeshAndTheTotal) {
    const std::string cube = Write("cube.obj", kCube);
    Outcome o = Run({"import", cube, "--split", "nothing"});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.out,
              "default\t8\t12\t0.000000 0.000000 0.000000\t1.000000 1.000000 "
              "1.000000\ntotal\t1\t8\t12\n");
}

// The bounds are printed as printf's "%f" prints them, also where that is
// hard: ties between two sixths of a millionth (0.0078125), values that
// round to minus zero, long integer parts, the smallest doubles.
TEST_F(MeshconvTest, ImportPrintsTheBoundsAsPrintfDoes) {
    const double a[3][3] = {
        {0.0078125, -0.0000004, 1e20}, {0.0234375, 1.0000005, -3.0000005}, {-2.5e-7, 0.3, 7.0e-7}};
    const double b[3][3] = {{123456789.0000005, -987654.3210005, 0.5},
                            {1e-300, 2.0, 0.0000015},
                            {-0.0078125, 0.0, 1.0}};
    std::string text;
    std::string expected;
    int first = 1;
    for (const auto* points : {a, b}) {
        text += first == 1 ? "o a\n" : "o b\n";
        double low[3];
        double high[3];
        for (int k = 0; k < 3; ++k) {
            char line[128];
            std::snprintf(line, sizeof line, "v %.17g %.17g %.17g\n", points[k][0], points[k][1],
                          points[k][2]);
            text += line;
            for (int c = 0; c < 3; ++c) {
                low[c] = k == 0 ? points[k][c] : std::min(low[c], points[k][c]);
                high[c] = k == 0 ? points[k][c] : std::max(high[c], points[k][c]);
            }
        }
        text += "f " + std::to_string(first) + " " + std::to_string(first + 1) + " " +
                std::to_string(first + 2) + "\n";
        char line[1024];
        std::snprintf(line, sizeof line, "%s\t3\t1\t%f %f %f\t%f %f %f\n", first == 1 ? "a" : "b",
                      low[0], low[1], low[2], high[0], high[1], high[2]);
        expected += line;
        first += 3;
    }
    const std::string file = Write("bounds.obj", text);
    const Outcome o = Run({"import", file, "--split", "object", "--scale", "1", "--swap", "none"});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.out, expected + "total\t2\t6\t2\n");
}

TEST_F(MeshconvTest, OptionsReachThePlugInThroughItsSettings) {
    const std::string file = Write("two.obj", kTwoObjects);
    struct Case {
        std::vector<std::string> options;
        std::string out;
        int code = 0;
    };
    const Case cases[] = {
        {{"--split", "object"},
         "a\t3\t1\t0.000000 0.000000 0.000000\t2.000000 1.000000 0.000000\n"
         "b\t3\t1\t0.000000 0.000000 0.000000\t0.000000 3.000000 1.000000\n"
         "total\t2\t6\t2\n"},
        {{"--split", "nothing", "--scale", "2", "--swap", "xz"},
         "default\t4\t2\t0.000000 0.000000 0.000000\t2.000000 6.000000 4.000000\ntotal\t1\t4\t2\n"},
        // No g line: no mesh, which the importer reports.
        {{"--split", "group"}, "", 1},
        {{"--split", "nothing", "--unify"},
         "default\t4\t2\t0.000000 0.000000 0.000000\t2.000000 6.000000 4.000000\ntotal\t1\t4\t2\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"import", file};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome o = Run(args);
        EXPECT_EQ(o.code, c.code) << o.err;
        EXPECT_EQ(o.out, c.out) << testing::PrintToString(c.options);
    }
    std::string value;
    ReadSettingText("objread", kCommonSettings, "size_value", nullptr, value, 255);
    EXPECT_EQ(value, "2.000000");
    ReadSettingText("objread", kCommonSettings, "unify_mode", nullptr, value, 255);
    EXPECT_EQ(value, "1");
}

TEST_F(MeshconvTest, LogOptionWritesTheRunsLogWhereAsked) {
    const std::string file = Write("two.obj", kTwoObjects);
    const Outcome o = Run({"import", file, "--log", "run.log"});
    EXPECT_EQ(o.code, 0) << o.err;
    const std::string log = pluginsupport::ReadFileBytes(temp_.File("run.log"));
    EXPECT_EQ(log.rfind("WaveFront Import Plugin 0.2 ", 0), 0u) << log;
    EXPECT_NE(log.find("Working on: a\nWorking on: b\nStatistic:\nObject   : a\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Parsing finished\n"), std::string::npos);
}

TEST_F(MeshconvTest, FileThatCannotBeOpenedIsReportedWithExitCode1) {
    const std::string missing = temp_.File("missing.obj");
    Outcome o = Run({"import", missing});
    EXPECT_EQ(o.code, 1);
    EXPECT_NE(o.err.find("File " + missing + " not found\n"), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "");

    // A directory is no file to import either.
    fs::create_directory(temp_.path() / "models.obj");
    o = Run({"import", temp_.File("models.obj")});
    EXPECT_EQ(o.code, 1);
    EXPECT_NE(o.err.find("File " + temp_.File("models.obj") + " not found\n"), std::string::npos)
        << o.err;
}

TEST_F(MeshconvTest, OutputThatCannotBeWrittenIsAFailure) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const std::string cube = Write("cube.obj", kCube);
    for (const std::string& args :
         {"import " + Quote(cube) + " --split nothing", std::string("list")}) {
        SCOPED_TRACE(args);
        const std::string command = "cd " + Quote(temp_.path().string()) + " && " +
                                    Quote(MESHCONV_PROGRAM) + " " + args +
                                    " </dev/null >/dev/full 2>stderr";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_NE(pluginsupport::ReadFileBytes(temp_.File("stderr"))
                      .find("meshconv: cannot write the output\n"),
                  std::string::npos);
    }
}

TEST_F(MeshconvTest, ImporterIsChosenByTheWholeExtension) {
    // ".o" is part of "*.obj" but names no OBJ file.
    const Outcome o = Run({"import", Write("cube.o", kCube)});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("no importer for"), std::string::npos) << o.err;
    EXPECT_EQ(Run({"import", Write("CUBE.OBJ", kCube), "--split", "nothing"}).out,
              "default\t8\t12\t0.000000 0.000000 0.000000\t1.000000 1.000000 "
              "1.000000\ntotal\t1\t8\t12\n");
}

TEST_F(MeshconvTest, ImportFromAPipeSucceeds) {
    const Outcome o = RunProgram(
        MESHCONV_PROGRAM, {"import", "/dev/stdin", "--plugin", "objread", "--split", "nothing"},
        kCube, true);
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.out,
              "default\t8\t12\t0.000000 0.000000 0.000000\t1.000000 1.000000 "
              "1.000000\ntotal\t1\t8\t12\n");
}

TEST_F(MeshconvTest, BadUsageExitsWith2AndHelpWith0) {
    const std::string cube = Write("cube.obj", kCube);
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"convert-everything"},
        {"import"},
        {"import", cube, "--split", "sideways"},
        {"import", cube, "--scale", "big"},
        {"import", cube, "--scale", "nan"},
        {"import", cube, "--scale", "inf"},
        {"import", cube, "--scale", "1e-7"},  // the stored six decimals would make it 0
        {"import", cube, "--swap"},
        {"import", cube, "--frobnicate"},
        {"import", cube, cube},
        {"import", cube, "--plugin", "nosuch"},
        {"configure"},
        {"configure", "nosuch"},
        {"help", "objread", "extra"},
        {"list", "--plugins"},
    };
    for (const auto& args : bad) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.code, 2) << testing::PrintToString(args);
        EXPECT_EQ(o.out, "") << testing::PrintToString(args);
    }
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--help"},
                                               {"list", "--help"},
                                               {"import", "--help"},
                                               {"configure", "--help"},
                                               {"help", "--help"}}) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.code, 0) << testing::PrintToString(args);
        EXPECT_EQ(o.out.rfind("usage: meshconv", 0), 0u) << o.out;
    }
    const Outcome version = Run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("meshconv ", 0), 0u) << version.out;
}

TEST_F(MeshconvTest, ConfigureStoresOnOkOnlyAndHelpShowsTheText) {
    const std::string file = Write("two.obj", kTwoObjects);
    // Cancel: nothing changes, the import still splits by object.
    Outcome o = Run({"configure", "objread"}, "6 1\ncancel\n");
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_NE(o.out.find("WAV Configuration"), std::string::npos) << o.out;
    EXPECT_NE(Run({"import", file}).out.find("total\t2\t6\t2\n"), std::string::npos);

    // OK with "Split by: nothing" and size 3.
    o = Run({"configure", "objread"}, "6 1\n3 3\nok\n");
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(
        Run({"import", file}).out,
        "default\t4\t2\t0.000000 0.000000 0.000000\t6.000000 9.000000 3.000000\ntotal\t1\t4\t2\n");

    o = Run({"help", "objread"});
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.out.rfind("WAV Help\n", 0), 0u) << o.out;
    EXPECT_NE(o.out.find("Split by"), std::string::npos);
}

}  // namespace

}  // namespace plugins
