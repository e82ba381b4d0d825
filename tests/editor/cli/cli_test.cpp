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

// A batch run through a symbolic link saves the file the link names: the link
// stays, and a backup lies beside the file that was saved.
TEST_F(CliTest, BatchThroughALinkRewritesTheFileItNames) {
    struct Case {
        const char* option;
        bool backup;
    };
    const Case cases[] = {{"--overwrite", false}, {"--backup", true}};
    const Bytes original = ReadFileBytes(dir.File("cube.iob"));
    fs::create_directory(dir.path() / "real");
    fs::create_symlink("real/wood.iob", dir.path() / "wood.iob");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        WriteFileBytes(dir.File("real/wood.iob"), original);
        fs::remove(dir.File("real/wood.bak"));

        const CliResult result =
            Run({"batch", c.option, "--map-dir", "C:\\TEX=D:\\NEW", "wood.iob"});

        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, "wood.iob......ok\n");
        EXPECT_TRUE(fs::is_symlink(dir.path() / "wood.iob"));
        EXPECT_EQ(Run({"list", "--format", "tsv", "real/wood.iob"}).out,
                  "file\tkind\tpart\tdirectory\tname\tdescription\n"
                  "real/wood.iob\tTexture\tCUBE\tD:\\\\NEW\twood.iff\t\n"
                  "real/wood.iob\tBrush\tCUBE\tDH0:Brushes\tbrick.iff\t\n");
        EXPECT_EQ(fs::exists(dir.File("real/wood.bak")), c.backup);
        if (c.backup) {
            EXPECT_EQ(ReadFileBytes(dir.File("real/wood.bak")), original);
        }
        EXPECT_FALSE(fs::exists(dir.File("wood.bak")));
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

// A command-line run writes nothing into the program's directory: a settings
// file without a Save Directory (or with the program's directory, as the
// window writes it when nobody chose another) saves in place, and Batch.Log
// goes beside the settings file unless --log names another file.
TEST_F(CliTest, SettingsWithoutASaveDirectorySaveInPlaceAndLogBesideThemselves) {
    // A copy of the program in a writable directory of its own.
    TempDir programDir;
    const std::string program = programDir.File("tessvane-cli");
    fs::copy_file(CliProgram(), program);
    fs::create_directory(dir.path() / "conf");
    struct Case {
        const char* name;
        std::string saveLine;            // the settings file's Save Directory line
        std::vector<std::string> extra;  // further options
        const char* saved;               // where cube.iob is saved
        const char* log;                 // where the log is
    };
    const Case cases[] = {
        {"no save directory", "", {}, "cube.iob", "conf/Batch.Log"},
        {"the program's directory",
         "Save Directory=" + programDir.Dir() + "\r\n",
         {},
         "cube.iob",
         "conf/Batch.Log"},
        {"a save directory of its own",
         "Save Directory=" + dir.Dir() + "out\r\n",
         {},
         "out/cube.iob",
         "conf/Batch.Log"},
        {"--log", "", {"--log", "run.log"}, "cube.iob", "run.log"},
    };
    const Bytes original = ReadFileBytes(dir.File("cube.iob"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(dir.File("cube.iob"), original);
        for (const char* stale : {"cube.bak", "out/cube.iob", "conf/Batch.Log", "run.log"})
            fs::remove(dir.File(stale));
        {
            std::ofstream ini(dir.File("conf/log.ini"), std::ios::binary);
            ini << "[VANE]\r\nGenerate Log=yes\r\n(Batch) Update File Suffix=yes\r\n"
                << "Texture Suffix Selection=itx\r\n"
                << c.saveLine;
        }
        std::vector<std::string> args = {"batch", "--settings", "conf/log.ini"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        args.push_back("cube.iob");

        const CliResult result = RunProgram(program, args, dir.path().string());

        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(ReadFileBytes(dir.File(c.saved)), original);
        const std::vector<std::string> log = Lines(ReadText(dir.File(c.log)));
        ASSERT_GE(log.size(), 3u);
        EXPECT_NE(std::find(log.begin(), log.end(), "Processing....cube.iob"), log.end());
        std::vector<std::string> inProgramDir;
        for (const auto& entry : fs::directory_iterator(programDir.path()))
            inProgramDir.push_back(entry.path().filename());
        EXPECT_EQ(inProgramDir, std::vector<std::string>{"tessvane-cli"});
    }
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

// An object whose textures name files of a PC drive that now lies in dos/c:
// one where it was, one moved (a single candidate), one copied to two places
// (two candidates), and a brush on an Amiga volume nobody mapped.
class VolumeCliTest : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        for (const char* file : {"dos/c/textures/wood.iff", "dos/c/maps/oak.iff",
                                 "dos/c/a/pine.iff", "dos/c/b/pine.iff"}) {
            fs::create_directories(fs::path(dir.File(file)).parent_path());
            WriteFileBytes(dir.File(file), Bytes{'x'});
        }
        WriteFileBytes(dir.File("lost.iob"),
                       IffBuilder("TDDD")
                           .Chunk("NAME", chunks::Name("CUBE"))
                           .Chunk("TXT1", chunks::Txt1("C:\\TEXTURES\\Wood.IFF"))
                           .Chunk("TXT1", chunks::Txt1("C:\\TEX\\oak.iff"))
                           .Chunk("TXT1", chunks::Txt1("C:\\OLD\\pine.iff"))
                           .Chunk("BRS1", chunks::Brs1("DH1:Brushes/brick.iff"))
                           .Build());
    }
    std::string Local(const std::string& relative) { return dir.File(relative); }
};

TEST_F(VolumeCliTest, CheckReportsEveryPathFoundMissingOrNotMappableWithItsCandidates) {
    const std::string wood = Local("dos/c/textures/wood.iff");
    const std::string oak = Local("dos/c/maps/oak.iff");
    const std::string pineA = Local("dos/c/a/pine.iff"), pineB = Local("dos/c/b/pine.iff");
    struct Case {
        std::string format;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"text",
         "lost.iob\n"
         "  CUBE  C:\\TEXTURES\\Wood.IFF   found         " +
             wood +
             "\n"
             "  CUBE  C:\\TEX\\oak.iff         missing       candidate: " +
             oak +
             "\n"
             "  CUBE  C:\\OLD\\pine.iff        missing       2 candidates: " +
             pineA + ", " + pineB +
             "\n"
             "  CUBE  DH1:Brushes\\brick.iff  not mappable  volume not mapped: DH1:\n"},
        {"tsv",
         "file\tpart\tpath\tstatus\tlocal\tcandidates\n"
         "lost.iob\tCUBE\tC:\\\\TEXTURES\\\\Wood.IFF\tfound\t" +
             wood +
             "\t\n"
             "lost.iob\tCUBE\tC:\\\\TEX\\\\oak.iff\tmissing\t\t" +
             oak +
             "\n"
             "lost.iob\tCUBE\tC:\\\\OLD\\\\pine.iff\tmissing\t\t" +
             pineA + "\\n" + pineB +
             "\n"
             "lost.iob\tCUBE\tDH1:Brushes\\\\brick.iff\tnot mappable\t\t\n"},
        {"json",
         "[\n"
         " {\"file\": \"lost.iob\", \"part\": \"CUBE\", \"path\": \"C:\\\\TEXTURES\\\\Wood.IFF\", "
         "\"status\": \"found\", \"local\": \"" +
             wood +
             "\", \"candidates\": [], \"reason\": \"\"},\n"
             " {\"file\": \"lost.iob\", \"part\": \"CUBE\", \"path\": \"C:\\\\TEX\\\\oak.iff\", "
             "\"status\": \"missing\", \"local\": \"\", \"candidates\": [\"" +
             oak +
             "\"], \"reason\": \"\"},\n"
             " {\"file\": \"lost.iob\", \"part\": \"CUBE\", \"path\": \"C:\\\\OLD\\\\pine.iff\", "
             "\"status\": \"missing\", \"local\": \"\", \"candidates\": [\"" +
             pineA + "\", \"" + pineB +
             "\"], \"reason\": \"\"},\n"
             " {\"file\": \"lost.iob\", \"part\": \"CUBE\", \"path\": "
             "\"DH1:Brushes\\\\brick.iff\", "
             "\"status\": \"not mappable\", \"local\": \"\", \"candidates\": [], "
             "\"reason\": \"volume not mapped: DH1:\"}\n"
             "]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const CliResult result =
            Run({"check", "--volume", "c=dos/c", "--format", c.format, "lost.iob"});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, c.expected);
        EXPECT_EQ(result.err, "");
    }

    // Everything found: exit 0. The settings file maps C: elsewhere; the
    // command line goes on top of it.
    WriteFileBytes(dir.File("found.iob"), IffBuilder("TDDD")
                                              .Chunk("NAME", chunks::Name("CUBE"))
                                              .Chunk("TXT1", chunks::Txt1("C:\\TEXTURES\\Wood.IFF"))
                                              .Chunk("TXT1", chunks::Txt1("Maps\\OAK.IFF"))
                                              .Build());
    {
        std::ofstream ini(dir.File("volumes.ini"), std::ios::binary);
        ini << "[VANE]\r\nImagine Directory=C:\\\r\n\r\n[Volumes]\r\nC:,/nowhere\r\n";
    }
    EXPECT_EQ(Run({"check", "--settings", "volumes.ini", "found.iob"}).exitCode, 1);
    const CliResult found =
        Run({"check", "--settings", "volumes.ini", "--volume", "C:=dos/c", "found.iob"});
    EXPECT_EQ(found.exitCode, 0) << found.out;
    EXPECT_EQ(Lines(found.out).size(), 3u);
}

TEST_F(VolumeCliTest, BatchRelinkAppliesTheOnlyCandidateAndReportsTheRest) {
    const CliResult result = Run({"batch", "--relink", "--volume", "C:=dos/c", "--save-dir", "out",
                                  "--log", "run.log", "lost.iob"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    // A PC directory without capitals is written in capitals, as DOS shows it.
    EXPECT_EQ(result.out,
              "lost.iob: C:\\TEX\\oak.iff relinked: C:\\MAPS\\oak.iff\n"
              "lost.iob: C:\\OLD\\pine.iff has 2 candidates: " +
                  Local("dos/c/a/pine.iff") + ", " + Local("dos/c/b/pine.iff") +
                  "\n"
                  "lost.iob: DH1:Brushes\\brick.iff is not mappable (volume not "
                  "mapped: DH1:)\n"
                  "lost.iob......ok\n");
    // Only the unique candidate changed the file.
    EXPECT_EQ(Run({"list", "--format", "tsv", "out/lost.iob"}).out,
              "file\tkind\tpart\tdirectory\tname\tdescription\n"
              "out/lost.iob\tTexture\tCUBE\tC:\\\\TEXTURES\tWood.IFF\t\n"
              "out/lost.iob\tTexture\tCUBE\tC:\\\\MAPS\toak.iff\t\n"
              "out/lost.iob\tTexture\tCUBE\tC:\\\\OLD\tpine.iff\t\n"
              "out/lost.iob\tBrush\tCUBE\tDH1:Brushes\tbrick.iff\t\n");
    const std::vector<std::string> log = Lines(ReadText(dir.File("run.log")));
    EXPECT_NE(
        std::find(log.begin(), log.end(), "Object: CUBE >>  Path: C:\\TEX  Changed To  C:\\MAPS"),
        log.end());

    // A dry run prints the change and writes nothing.
    fs::remove(dir.File("out/lost.iob"));
    const CliResult dry = Run({"batch", "--relink", "--dry-run", "--volume", "C:=dos/c",
                               "--save-dir", "out", "lost.iob"});
    EXPECT_EQ(Lines(dry.out)[0], "Object: CUBE >>  Path: C:\\TEX  Changed To  C:\\MAPS");
    EXPECT_FALSE(fs::exists(dir.File("out/lost.iob")));
}

TEST_F(VolumeCliTest, TextsAreDecodedAndArgumentsEncodedWithTheCharacterSet) {
    // é is E9 in ISO-8859-1 and 82 in CP850.
    WriteFileBytes(dir.File("drape.iob"),
                   IffBuilder("TDDD")
                       .Chunk("NAME", chunks::Name("CUBE"))
                       .Chunk("TXT4", chunks::Txt4("", "Drap\xe9 jaune", "C:\\Drap\xe9\\j.iff"))
                       .Chunk("TXT4", chunks::Txt4("", "Gr\x82n", "C:\\x.iff"))
                       .Build());
    EXPECT_EQ(Run({"list", "drape.iob"}).out,
              "drape.iob\n"
              "  Texture  CUBE  C:\\Drap\xc3\xa9  j.iff  Drap\xc3\xa9 jaune\n"
              "  Texture  CUBE  C:\\       x.iff  Gr?n\n");
    EXPECT_EQ(Lines(Run({"list", "--format", "tsv", "--charset", "cp850", "drape.iob"}).out)[2],
              "drape.iob\tTexture\tCUBE\tC:\\\\\tx.iff\tGr\xc3\xa9n");
    {
        std::ofstream ini(dir.File("dos.ini"), std::ios::binary);
        ini << "[VANE]\r\nCharacter Set=CP850\r\n";
    }
    EXPECT_NE(Run({"list", "--format", "json", "--settings", "dos.ini", "drape.iob"})
                  .out.find("\"description\": \"Gr\xc3\xa9n\""),
              std::string::npos);

    // Typed in UTF-8, written in the set; a character it cannot hold is bad usage.
    const CliResult euro = Run({"batch", "--overwrite", "--save-dir", "out", "--map-dir",
                                "C:\\Drap\xc3\xa9=D:\\Neu\xe2\x82\xac", "drape.iob"});
    EXPECT_EQ(euro.exitCode, 2);
    EXPECT_EQ(euro.err,
              "tessvane-cli: option --map-dir: the character set ISO-8859-1 cannot hold "
              "U+20AC '\xe2\x82\xac'\n");
    EXPECT_FALSE(fs::exists(dir.File("out/drape.iob")));
    ASSERT_EQ(Run({"batch", "--overwrite", "--save-dir", "out", "--charset", "Windows-1252",
                   "--map-dir", "C:\\Drap\xc3\xa9=D:\\Neu\xe2\x82\xac", "drape.iob"})
                  .exitCode,
              0);
    EXPECT_EQ(
        Lines(
            Run({"list", "--format", "tsv", "--charset", "windows-1252", "out/drape.iob"}).out)[1],
        "out/drape.iob\tTexture\tCUBE\tD:\\\\Neu\xe2\x82\xac\tj.iff\tDrap\xc3\xa9 jaune");
}

TEST_F(CliTest, LocalPathsWithAColonAreFilesOfThisMachine) {
    fs::copy_file(dir.File("cube.iob"), dir.File("x:y.iob"));
    fs::create_directory(dir.File("d:1"));
    EXPECT_EQ(Run({"list", "x:y.iob"}).exitCode, 0);
    const CliResult result = Run(
        {"batch", "--save-dir", "d:1", "--log", "l:og", "--map-dir", "C:\\TEX=D:\\T", "x:y.iob"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "x:y.iob......ok\n");
    EXPECT_TRUE(fs::exists(dir.File("d:1/x:y.iob")));
    EXPECT_NE(ReadText(dir.File("l:og")).find("File Saved as..d:1/x:y.iob"), std::string::npos);
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
        {"list", "--charset", "koi8-r", "cube.iob"},
        {"check"},
        {"check", "--format", "xml", "cube.iob"},
        {"check", "--volume", "Work/Sub=dir", "cube.iob"},
        {"check", "--volume", "C:", "cube.iob"},
        {"check", "--search", "", "cube.iob"},
        // A directory typed wrong would leave every path missing without a word.
        {"check", "--volume", "C:=nowhere", "cube.iob"},
        {"check", "--search", "nowhere", "cube.iob"},
        {"batch", "--relink", "--search", "cube.iob", "cube.iob"},
        {"batch", "--relink=yes", "cube.iob"},
        {"batch", "--map-dir", "C:\\TEX=D:\\\xe2\x82\xac", "cube.iob"},
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
        {{"check", "--help"}, "Usage: tessvane-cli check"},
        {{"batch", "--help"}, "Usage: tessvane-cli batch"},
        {{"help", "batch"}, "Usage: tessvane-cli batch"},
        {{"--version"}, "tessvane-cli 2."},
    };
    for (const Case& c : cases) {
        const CliResult result = Run(c.args);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out.rfind(c.first, 0), 0u) << result.out;
    }
}

}  // namespace
}  // namespace tessvane::testing
