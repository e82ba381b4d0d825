// tessvane-cli end to end: the built program run on fixture files, checked by
// its output, its exit code and the bytes it leaves on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "iff_builder.h"

namespace tessvane::testing {
namespace {

namespace fs = std::filesystem;

// CUBE with one texture and one brush.
Bytes Cube(const std::string& texture, const std::string& brush) {
    return IffBuilder("TDDD")
        .Begin("OBJ ")
        .Begin("DESC")
        .Chunk("NAME", chunks::Name("CUBE"))
        .Chunk("TXT1", chunks::Txt1(texture))
        .Chunk("BRS1", chunks::Brs1(brush))
        .End()
        .Chunk("TOBJ", {})
        .End()
        .Build();
}

// A project whose object ACTOR1 comes from a file under the Imagine directory.
Bytes Scene() {
    return IffBuilder("ISTG").Chunk("FIL3", chunks::Fil3("ACTOR1", "Objects\\ball.iob")).Build();
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFileBytes(dir.File("cube.iob"), Cube("C:\\TEX\\wood.iff", "DH0:Brushes/brick.iff"));
        WriteFileBytes(dir.File("scene.ist"), Scene());
        WriteFileBytes(dir.File("notes.txt"), Bytes{'n', 'o', 't', 'e', 's', '\n'});
        fs::create_directory(dir.path() / "out");
    }

    CliResult Run(const std::vector<std::string>& args) {
        return RunCli(args, dir.path().string());
    }

    TempDir dir;
};

TEST_F(CliTest, ListPrintsEveryRecordInEachFormat) {
    struct Case {
        std::string format;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"text",
         "cube.iob\n"
         "  Texture  CUBE  C:\\TEX       wood.iff\n"
         "  Brush    CUBE  DH0:Brushes  brick.iff\n"
         "scene.ist\n"
         "  Object   (ACTOR1)  Objects  ball.iob  Object\n"},
        {"tsv",
         "file\tkind\tpart\tdirectory\tname\tdescription\n"
         "cube.iob\tTexture\tCUBE\tC:\\\\TEX\twood.iff\t\n"
         "cube.iob\tBrush\tCUBE\tDH0:Brushes\tbrick.iff\t\n"
         "scene.ist\tObject\t (ACTOR1)\tObjects\tball.iob\tObject\n"},
        {"json",
         "[\n"
         " {\"file\": \"cube.iob\", \"kind\": \"Texture\", \"part\": \"CUBE\", \"directory\": "
         "\"C:\\\\TEX\", "
         "\"name\": \"wood.iff\", \"description\": \"\"},\n"
         " {\"file\": \"cube.iob\", \"kind\": \"Brush\", \"part\": \"CUBE\", \"directory\": "
         "\"DH0:Brushes\", "
         "\"name\": \"brick.iff\", \"description\": \"\"},\n"
         " {\"file\": \"scene.ist\", \"kind\": \"Object\", \"part\": \" (ACTOR1)\", \"directory\": "
         "\"Objects\", \"name\": \"ball.iob\", \"description\": \"Object\"}\n"
         "]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const CliResult result = Run({"list", "--format", c.format, "cube.iob", "scene.ist"});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, c.expected);
        EXPECT_EQ(result.err, "");
    }
}

TEST_F(CliTest, TextListAndDryRunNeverPrintAFilesControlCharacters) {
    WriteFileBytes(dir.File("evil.iob"), Cube("C:\\TEX\\\x1b[2Jw.iff",
                                              "C:\\B\\b\x9b"
                                              "1m.iff"));
    EXPECT_EQ(Run({"list", "evil.iob"}).out,
              "evil.iob\n"
              "  Texture  CUBE  C:\\TEX  ?[2Jw.iff\n"
              "  Brush    CUBE  C:\\B    b?1m.iff\n");
    EXPECT_EQ(
        Run({"batch", "--dry-run", "--overwrite", "--map-dir", "C:\\TEX=D:\\T", "evil.iob"}).out,
        "Object: CUBE >>  Path: C:\\TEX  Changed To  D:\\T\n"
        "evil.iob......ok\n");
    EXPECT_EQ(Run({"batch", "--dry-run", "--overwrite", "--texture-suffix", "itx", "evil.iob"}).out,
              "Object: CUBE >>  Texture Suffix: ?[2Jw.iff  Changed To  ?[2Jw.itx\n"
              "evil.iob......ok\n");
}

TEST_F(CliTest, ListReportsUnreadableFilesAndFailsAtTheEnd) {
    const CliResult result = Run({"list", "--format=tsv", "missing.iob", "cube.iob", "notes.txt"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "missing.iob......Unable to read\nnotes.txt......Not TDDD\n");
    // The readable file is listed all the same.
    EXPECT_EQ(Lines(result.out).size(), 3u);
}

TEST_F(CliTest, BatchAppliesMapsAndSuffixRuleAndLogsEachChange) {
    const CliResult result = Run({"batch", "--map-dir", "C:\\TEX=D:\\MAPS", "--map-texture",
                                  "wood.iff=oak.iff,Oak grain", "--brush-suffix", "tga",
                                  "--save-dir", "out", "--log", "run.log", "cube.iob"});

    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "cube.iob......ok\n");
    EXPECT_EQ(ReadFileBytes(dir.File("out/cube.iob")),
              Cube("D:\\MAPS\\oak.iff", "DH0:Brushes\\brick.tga"));
    // The source is left as it was.
    EXPECT_EQ(ReadFileBytes(dir.File("cube.iob")),
              Cube("C:\\TEX\\wood.iff", "DH0:Brushes/brick.iff"));

    const std::vector<std::string> log = Lines(ReadText(dir.File("run.log")));
    ASSERT_EQ(log.size(), 11u);
    EXPECT_EQ(log[0].rfind("*************** Started.... ", 0), 0u);
    const std::vector<std::string> middle(log.begin() + 1, log.end() - 1);
    EXPECT_EQ(middle, (std::vector<std::string>{
                          "", "", "Processing....cube.iob",
                          "Object: CUBE >>  Path: C:\\TEX  Changed To  D:\\MAPS",
                          "Object: CUBE >>  Texture: wood.iff  Changed To  oak.iff",
                          "Object: CUBE >>  Texture Description:   Changed To  Oak grain",
                          "Object: CUBE >>  Brush Suffix: brick.iff  Changed To  brick.tga",
                          "File Saved as..out/cube.iob", ""}));
    EXPECT_EQ(log[10].rfind("*************** Completed.. ", 0), 0u);
}

TEST_F(CliTest, DryRunPrintsTheChangesAndWritesNothing) {
    const Bytes before = ReadFileBytes(dir.File("cube.iob"));
    const CliResult result =
        Run({"batch", "--dry-run", "--in-place", "--overwrite", "--map-dir", "C:\\TEX=D:\\MAPS",
             "--texture-suffix", "itx", "--log", "run.log", "cube.iob"});

    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "Object: CUBE >>  Path: C:\\TEX  Changed To  D:\\MAPS\n"
              "Object: CUBE >>  Texture Suffix: wood.iff  Changed To  wood.itx\n"
              "cube.iob......ok\n");
    EXPECT_EQ(ReadFileBytes(dir.File("cube.iob")), before);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cube.iob", "notes.txt", "out", "scene.ist"}));
}

TEST_F(CliTest, ExistingTargetIsBackedUpAbortedOrOverwrittenAsAsked) {
    struct Case {
        std::vector<std::string> options;
        int exitCode;
        std::string status;
        bool replaced;
        bool backup;
    };
    const std::vector<Case> cases = {
        // Nothing replaces a file unless asked to.
        {{}, 1, "Aborted", false, false},
        {{"--backup"}, 0, "ok", true, true},
        // A settings file's Create Backups (on by default) is asking.
        {{"--settings", "plain.ini"}, 0, "ok", true, true},
        {{"--settings", "plain.ini", "--no-backup"}, 1, "Aborted", false, false},
        {{"--no-backup"}, 1, "Aborted", false, false},
        {{"--overwrite"}, 0, "ok", true, false},
    };
    const Bytes old = Cube("C:\\OLD\\old.iff", "C:\\OLD\\old.iff");
    {
        std::ofstream ini(dir.File("plain.ini"), std::ios::binary);
        ini << "[VANE]\r\n";
    }
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& option : c.options) shown += option + " ";
        SCOPED_TRACE(shown);
        fs::remove(dir.File("out/cube.bak"));
        WriteFileBytes(dir.File("out/cube.iob"), old);
        std::vector<std::string> args = {"batch", "--save-dir", "out"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back("cube.iob");

        const CliResult result = Run(args);

        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, "cube.iob......" + c.status + "\n");
        EXPECT_EQ(ReadFileBytes(dir.File("out/cube.iob")) != old, c.replaced);
        EXPECT_EQ(fs::exists(dir.File("out/cube.bak")), c.backup);
        if (c.backup) {
            EXPECT_EQ(ReadFileBytes(dir.File("out/cube.bak")), old);
        }
    }
}

TEST_F(CliTest, BatchWithMissingAndNonIffFilesFails) {
    const CliResult result =
        Run({"batch", "--save-dir", "out", "missing.iob", "notes.txt", "cube.iob"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out,
              "missing.iob......Unable to read\n"
              "notes.txt......Not TDDD\n"
              "cube.iob......ok\n");
    EXPECT_TRUE(fs::exists(dir.File("out/cube.iob")));
}

TEST_F(CliTest, CommandLineGoesOnTopOfTheSettingsFile) {
    {
        std::ofstream ini(dir.File("Tessvane.ini"), std::ios::binary);
        ini << "[VANE]\r\n"
            << "(Batch) Use Default Directories=yes\r\n"
            << "(Batch) Update File Suffix=yes\r\n"
            << "Texture Suffix Selection=itx\r\n"
            << "Save Directory=" << dir.Dir() << "out\r\n"
            << "\r\n[Default Directory List]\r\n"
            << "C:\\TEX,D:\\FROMINI\r\n"
            << "DH0:Brushes,D:\\BRUSHES\r\n";
    }
    const CliResult result =
        Run({"batch", "--settings", "Tessvane.ini", "--map-dir", "C:\\TEX=D:\\CLI", "cube.iob"});

    EXPECT_EQ(result.exitCode, 0) << result.err;
    // The command line's entry is matched first; the file's other entries,
    // its suffix rule and its save directory still apply.
    EXPECT_EQ(Run({"list", "--format", "tsv", "out/cube.iob"}).out,
              "file\tkind\tpart\tdirectory\tname\tdescription\n"
              "out/cube.iob\tTexture\tCUBE\tD:\\\\CLI\twood.itx\t\n"
              "out/cube.iob\tBrush\tCUBE\tD:\\\\BRUSHES\tbrick.iff\t\n");
}

TEST_F(CliTest, MapOptionDoesNotBringBackAListTheSettingsFileLeavesUnused) {
    WriteFileBytes(dir.File("two.iob"), IffBuilder("TDDD")
                                            .Begin("OBJ ")
                                            .Begin("DESC")
                                            .Chunk("NAME", chunks::Name("CUBE"))
                                            .Chunk("TXT1", chunks::Txt1("C:\\TEX\\wood.iff"))
                                            .Chunk("TXT1", chunks::Txt1("C:\\OLD\\rock.iff"))
                                            .End()
                                            .Chunk("TOBJ", {})
                                            .End()
                                            .Build());
    {
        std::ofstream ini(dir.File("unused.ini"), std::ios::binary);
        ini << "[VANE]\r\n"
            << "(Batch) Use Default Directories=no\r\n"
            << "(Batch) Use Default Textures=no\r\n"
            << "\r\n[Default Directory List]\r\n"
            << "C:\\OLD,D:\\FROMINI\r\n"
            << "\r\n[Textures]\r\n"
            << "rock.iff,granite.iff,\r\n";
    }
    const CliResult result =
        Run({"batch", "--settings", "unused.ini", "--save-dir", "out", "--map-dir",
             "C:\\TEX=D:\\CLI", "--map-texture", "wood.iff=oak.iff", "two.iob"});

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Run({"list", "--format", "tsv", "out/two.iob"}).out,
              "file\tkind\tpart\tdirectory\tname\tdescription\n"
              "out/two.iob\tTexture\tCUBE\tD:\\\\CLI\toak.iff\t\n"
              "out/two.iob\tTexture\tCUBE\tC:\\\\OLD\trock.iff\t\n");
}

TEST_F(CliTest, SuffixOptionTurnsOnOnlyItsOwnRuleWhenTheSettingsHaveExtensionsOff) {
    {
        std::ofstream ini(dir.File("off.ini"), std::ios::binary);
        ini << "[VANE]\r\n"
            << "(Batch) Update File Suffix=no\r\n"
            << "Brush Suffix Selection=tga\r\n";
    }
    struct Case {
        std::vector<std::string> options;
        std::string brush;
    };
    const std::vector<Case> cases = {
        // The file's brush rule was off and stays off.
        {{"--texture-suffix", "itx"}, "brick.iff"},
        // Given here, it applies.
        {{"--texture-suffix", "itx", "--brush-suffix", "tga"}, "brick.tga"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.size());
        fs::remove(dir.File("out/cube.iob"));
        std::vector<std::string> args = {"batch", "--settings", "off.ini", "--save-dir", "out"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back("cube.iob");
        ASSERT_EQ(Run(args).exitCode, 0);
        EXPECT_EQ(Run({"list", "--format", "tsv", "out/cube.iob"}).out,
                  "file\tkind\tpart\tdirectory\tname\tdescription\n"
                  "out/cube.iob\tTexture\tCUBE\tC:\\\\TEX\twood.itx\t\n"
                  "out/cube.iob\tBrush\tCUBE\tDH0:Brushes\t" +
                      c.brush + "\t\n");
    }
}

TEST_F(CliTest, ProgressGoesToStandardErrorOnlyWhenItIsATerminal) {
    const std::vector<std::string> args = {"batch",       "--save-dir", "out",
                                           "--overwrite", "cube.iob",   "scene.ist"};
    const CliResult plain = Run(args);
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.err, "");

    const CliResult terminal = RunCli(args, dir.path().string(), true);
    EXPECT_EQ(terminal.exitCode, 0);
    EXPECT_NE(terminal.err.find("[1/2]"), std::string::npos) << terminal.err;
    EXPECT_NE(terminal.err.find("[2/2]"), std::string::npos) << terminal.err;
    // The per-file lines stay on standard output, unmixed.
    EXPECT_EQ(terminal.out, "cube.iob......ok\nscene.ist......ok\n");
}

TEST_F(CliTest, SettingsWithGenerateLogWriteBatchLogBesideTheProgram) {
    // A copy of the program in a directory of its own: that directory is
    // writable, so it is the program directory that holds Batch.Log.
    TempDir programDir;
    const std::string program = programDir.File("tessvane-cli");
    fs::copy_file(CliProgram(), program);
    {
        std::ofstream ini(dir.File("log.ini"), std::ios::binary);
        ini << "[VANE]\r\nGenerate Log=yes\r\n";
    }

    const CliResult result =
        RunProgram(program, {"batch", "--settings", "log.ini", "--save-dir", "out", "cube.iob"},
                   dir.path().string());

    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::string> log = Lines(ReadText(programDir.File("Batch.Log")));
    ASSERT_EQ(log.size(), 7u);
    EXPECT_EQ(log[3], "Processing....cube.iob");
    EXPECT_EQ(log[4], "File Saved as..out/cube.iob");
}

TEST_F(CliTest, OutputThatCannotBeWrittenFails) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    for (const std::string command : {"list cube.iob", "batch --dry-run --overwrite cube.iob"}) {
        SCOPED_TRACE(command);
        const CliResult result =
            RunProgram("/bin/sh", {"-c", "exec \"$0\" " + command + " >/dev/full", CliProgram()},
                       dir.path().string());
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "tessvane-cli: cannot write the output\n");
    }
}

TEST_F(CliTest, BadUsageExitsWithTwoAndChangesNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", "cube.iob"},
        {"list"},
        {"list", "--format", "xml", "cube.iob"},
        {"batch", "--map-dir", "C:\\TEX", "cube.iob"},
        {"batch", "--map-texture", std::string(33, 'x') + "=a.iff", "cube.iob"},
        {"batch", "--save-dir", "out", "--in-place", "cube.iob"},
        {"batch", "--backup", "--overwrite", "cube.iob"},
        {"batch", "--texture-suffix", "a.b", "cube.iob"},
        {"batch", "--computer", "mac", "cube.iob"},
        {"batch", "--log"},
        {"batch", "--dry-run=yes", "cube.iob"},
        {"batch", "--unknown", "cube.iob"},
        {"batch", "--settings", "missing.ini", "cube.iob"},
    };
    const Bytes before = ReadFileBytes(dir.File("cube.iob"));
    for (const auto& args : cases) {
        std::string shown;
        for (const auto& arg : args) shown += arg + " ";
        SCOPED_TRACE(shown);
        const CliResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
    EXPECT_EQ(ReadFileBytes(dir.File("cube.iob")), before);
    EXPECT_FALSE(fs::exists(dir.File("cube.bak")));
}

TEST_F(CliTest, HelpForEachCommand) {
    struct Case {
        std::vector<std::string> args;
        std::string first;
    };
    const std::vector<Case> cases = {
        {{"--help"}, "Usage: tessvane-cli COMMAND"},
        {{"list", "--help"}, "Usage: tessvane-cli list"},
        {{"batch", "--help"}, "Usage: tessvane-cli batch"},
        {{"help", "batch"}, "Usage: tessvane-cli batch"},
    };
    for (const Case& c : cases) {
        const CliResult result = Run(c.args);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out.rfind(c.first, 0), 0u) << result.out;
    }
}

}  // namespace
}  // namespace tessvane::testing
