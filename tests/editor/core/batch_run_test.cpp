// The batch run end to end over files on disk: what it writes, what it asks
// and the whole Batch.Log text, with a clock that always says the same.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/batch.h"
#include "core/scanner.h"
#include "iff_builder.h"
#include "recording_log_sink.h"
#include "scripted_core_ui.h"

namespace tessvane {
namespace {

using testing::Bytes;
using testing::IffBuilder;
using testing::ReadFileBytes;
using testing::RecordingLogSink;
using testing::ScriptedCoreUi;
using testing::TempDir;
using testing::WriteFileBytes;
namespace chunks = testing::chunks;
namespace fs = std::filesystem;

class FixedClock final : public BatchClock {
  public:
    std::string LongTime() const override { return "10:15:30"; }
    std::string ShortDate() const override { return "12/09/2026"; }
};

// Collects what the page would show: one list line per file and the progress.
class RecordingObserver final : public BatchObserver {
  public:
    std::vector<std::string> lines;
    std::size_t started = 0;
    std::size_t lastIndex = 0;
    bool finished = false;

    void RunStarted(std::size_t count) override { started = count; }
    void FileFinished(std::size_t index, std::string_view path, BatchStatus status) override {
        lastIndex = index;
        lines.push_back(BatchResultLine(path, status));
    }
    void RunFinished() override { finished = true; }
};

// One object CUBE with the given texture paths, as TXT1 chunks.
Bytes CubeWithTextures(const std::vector<std::string>& paths) {
    IffBuilder builder("TDDD");
    builder.Begin("OBJ ").Begin("DESC").Chunk("NAME", chunks::Name("CUBE"));
    for (const std::string& path : paths) builder.Chunk("TXT1", chunks::Txt1(path));
    builder.End().Chunk("TOBJ", {}).End();
    return builder.Build();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The paths of a file's records, as the reader sees them.
std::vector<std::string> PathsIn(const std::string& file) {
    CoreContext context;
    context.editor = MakeEditorContext("/nonexistent/");
    std::vector<std::string> paths;
    if (ReadObjectFile(context, file, false) != ReadStatus::Ok) return paths;
    for (const PathRecord& record : context.file.Paths.Records) {
        std::string path(record.OldDirectory.view());
        if (!path.empty() && path.back() != ':' && path.back() != '\\') path += '\\';
        paths.push_back(path + record.OldFileName.str());
    }
    return paths;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

class BatchRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        context.editor = MakeEditorContext(dir.Dir());
        context.ui = &ui;
        context.editor.settings.GenerateLog = true;
        out = dir.Dir() + "out/";
        fs::create_directory(out);
        options.saveDirectory = dir.Dir() + "out";
    }

    std::string File(std::string_view name) const { return dir.File(name); }

    void Select(const std::vector<std::string>& paths) {
        ASSERT_EQ(list.AddSelection(paths, context.editor.shell).added, paths.size());
    }

    std::vector<BatchFileResult> Run() {
        return RunBatch(context, list, options, clock, &observer);
    }

    std::string Log() const { return ReadText(dir.path() / "Batch.Log"); }

    // The log a run writes around `body`: start line, its empty line, the
    // files, the empty line after the last file and the end line.
    static std::string Framed(const std::string& body) {
        return "*************** Started.... 10:15:30 12/09/2026\n\n" + body +
               "\n*************** Completed.. 10:15:30 12/09/2026\n";
    }

    TempDir dir;
    std::string out;
    CoreContext context;
    ScriptedCoreUi ui;
    BatchList list;
    BatchRunOptions options;
    FixedClock clock;
    RecordingObserver observer;
};

TEST_F(BatchRunTest, ValidNotIffAndMissingFilesGiveTheirStatusInListAndLog) {
    const Bytes cube = CubeWithTextures({"C:\\TEX\\wood.iff"});
    WriteFileBytes(File("a.iob"), cube);
    WriteFileBytes(File("b.txt"), Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    Select({File("a.iob"), File("b.txt"), File("c.iob")});

    const auto results = Run();

    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(observer.lines, (std::vector<std::string>{File("a.iob") + "......ok",
                                                        File("b.txt") + "......Not TDDD",
                                                        File("c.iob") + "......Unable to read"}));
    EXPECT_EQ(observer.started, 3u);
    EXPECT_EQ(observer.lastIndex, 3u);
    EXPECT_TRUE(observer.finished);
    EXPECT_EQ(Log(), Framed("\nProcessing...." + File("a.iob") + "\n" +                //
                            "File Saved as.." + out + "a.iob\n" +                      //
                            "\nProcessing...." + File("b.txt") + "......Not TDDD\n" +  //
                            "\nProcessing...." + File("c.iob") + "......Unable to read\n"));
    // Nothing to change: the saved file is the file read, byte for byte.
    EXPECT_EQ(ReadFileBytes(out + "a.iob"), cube);
    EXPECT_FALSE(fs::exists(out + "b.txt"));
    EXPECT_TRUE(ui.messages.empty());
    // Nothing is held after a run; the shell state names the last file.
    EXPECT_FALSE(context.file.Loaded);
    EXPECT_EQ(context.editor.shell.CurrentFilePath.str(), File("c.iob"));
    EXPECT_EQ(context.editor.shell.CurrentFileName.str(), "c.iob");
    EXPECT_TRUE(list.RunFinished());
}

TEST_F(BatchRunTest, FileWithoutPathsIsLoggedOnItsOwnLineAndNotWritten) {
    WriteFileBytes(File("empty.iob"),
                   IffBuilder("TDDD").Begin("OBJ ").Chunk("NAME", chunks::Name("X")).End().Build());
    Select({File("empty.iob")});

    const auto results = Run();

    EXPECT_EQ(results[0].status, BatchStatus::NoPaths);
    EXPECT_EQ(Log(), Framed("\nProcessing...." + File("empty.iob") + "\n......No Tex/Brushes\n"));
    EXPECT_FALSE(fs::exists(out + "empty.iob"));
}

TEST_F(BatchRunTest, PromptForSharedUnlistedDirectoryAsksOnceAndExtendsTheList) {
    WriteFileBytes(File("a.iob"), CubeWithTextures({"C:\\OLDTEX\\a.iff", "C:\\OLDTEX\\b.iff",
                                                    "C:\\OLDTEX\\c.iff"}));
    Settings& settings = context.editor.settings;
    settings.BatchUseDefaultDirectories = true;
    settings.PromptForNewTexturesDirectory = true;
    ui.PlanDirectory({"C:\\OLDTEX", "D:\\NEWTEX"});
    Select({File("a.iob")});

    Run();

    ASSERT_EQ(ui.directoryPrompts.size(), 1u);
    EXPECT_EQ(ui.directoryPrompts[0].caption, "Select New Directory for a.iob");
    EXPECT_EQ(ui.directoryPrompts[0].oldDirectory.str(), "C:\\OLDTEX");
    ASSERT_EQ(context.editor.directoryDefaults.Count(), 1u);
    EXPECT_EQ(context.editor.directoryDefaults.At(1).NewDirectory.str(), "D:\\NEWTEX");
    EXPECT_EQ(
        PathsIn(out + "a.iob"),
        (std::vector<std::string>{"D:\\NEWTEX\\a.iff", "D:\\NEWTEX\\b.iff", "D:\\NEWTEX\\c.iff"}));
    const std::string change = "Object: CUBE >>  Path: C:\\OLDTEX  Changed To  D:\\NEWTEX\n";
    EXPECT_EQ(Log(), Framed("\nProcessing...." + File("a.iob") + "\n" + change + change + change +
                            "File Saved as.." + out + "a.iob\n"));
}

TEST_F(BatchRunTest, SetOnLoadAppliesTheListDuringTheReadWithoutAsking) {
    WriteFileBytes(File("a.iob"), CubeWithTextures({"C:\\TEX\\wood.iff", "C:\\OTHER\\rock.iff"}));
    Settings& settings = context.editor.settings;
    settings.UseDefaultDirectories = true;
    settings.BatchUseDefaultDirectories = true;
    settings.PromptForNewTexturesDirectory = true;
    settings.PromptIfDirectoryExists = true;
    context.editor.directoryDefaults.Append({"C:\\TEX", "D:\\TEX"});
    Select({File("a.iob")});

    Run();

    EXPECT_TRUE(ui.directoryPrompts.empty());
    EXPECT_EQ(context.editor.directoryDefaults.Count(), 1u);
    EXPECT_EQ(PathsIn(out + "a.iob"),
              (std::vector<std::string>{"D:\\TEX\\wood.iff", "C:\\OTHER\\rock.iff"}));
    EXPECT_EQ(Log(), Framed("\nProcessing...." + File("a.iob") + "\n" +
                            "Object: CUBE >>  Path: C:\\TEX  Changed To  D:\\TEX\n" +
                            "File Saved as.." + out + "a.iob\n"));
}

TEST_F(BatchRunTest, SameFileTwiceWithBackupsKeepsEveryEarlierVersion) {
    const Bytes original = CubeWithTextures({"C:\\TEX\\wood.iff"});
    WriteFileBytes(File("a.iob"), original);
    Settings& settings = context.editor.settings;
    settings.CreateBackups = true;
    settings.BatchUseDefaultDirectories = true;
    context.editor.directoryDefaults.Append({"C:\\TEX", "D:\\TEX"});
    context.editor.shell.SaveInOriginalDirectory = true;
    Select({File("a.iob"), File("a.iob")});

    const auto results = Run();

    EXPECT_EQ(results[0].status, BatchStatus::Ok);
    EXPECT_EQ(results[1].status, BatchStatus::Ok);
    EXPECT_EQ(ReadFileBytes(File("a.bak")), original);
    const Bytes firstPass = ReadFileBytes(File("a.000"));
    EXPECT_EQ(PathsIn(File("a.000")), std::vector<std::string>{"D:\\TEX\\wood.iff"});
    EXPECT_EQ(ReadFileBytes(File("a.iob")), firstPass);
    EXPECT_FALSE(fs::exists(File("a.001")));
    EXPECT_EQ(Log(), Framed("\nProcessing...." + File("a.iob") + "\n" +
                            "Object: CUBE >>  Path: C:\\TEX  Changed To  D:\\TEX\n" +
                            "Existing Object File renamed as..." + File("a.bak") + "\n" +
                            "File Saved as.." + File("a.iob") + "\n" + "\nProcessing...." +
                            File("a.iob") + "\n" + "Existing Object File renamed as..." +
                            File("a.000") + "\n" + "File Saved as.." + File("a.iob") + "\n"));
}

TEST_F(BatchRunTest, ExistingTargetWithoutBackupsAsksAndNoLeavesItAlone) {
    const Bytes mine = CubeWithTextures({"C:\\MINE\\keep.iff"});
    WriteFileBytes(File("a.iob"), CubeWithTextures({"C:\\TEX\\wood.iff"}));
    WriteFileBytes(out + "a.iob", mine);
    WriteFileBytes(File("b.iob"), CubeWithTextures({"C:\\TEX\\b.iff"}));
    WriteFileBytes(out + "b.iob", mine);
    context.editor.settings.CreateBackups = false;
    ui.PlanAnswer(MessageAnswer::No);
    ui.PlanAnswer(MessageAnswer::Yes);
    Select({File("a.iob"), File("b.iob")});

    const auto results = Run();

    EXPECT_EQ(results[0].status, BatchStatus::Aborted);
    EXPECT_EQ(results[1].status, BatchStatus::Ok);
    // The question names the file only, not the directory it would go to.
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "a.iob already exists. Overwrite ?");
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.messages[1].text, "b.iob already exists. Overwrite ?");
    EXPECT_EQ(ReadFileBytes(out + "a.iob"), mine);
    EXPECT_EQ(PathsIn(out + "b.iob"), std::vector<std::string>{"C:\\TEX\\b.iff"});
    EXPECT_FALSE(fs::exists(out + "a.bak"));
    EXPECT_EQ(Log(), Framed("\nProcessing...." + File("a.iob") + "\n......Aborted\n" +
                            "\nProcessing...." + File("b.iob") + "\n" +  //
                            "File Saved as.." + out + "b.iob\n"));
}

TEST_F(BatchRunTest, BackupsOnButNoBackupNameFreeReplacesTheFileAndLogsIt) {
    const Bytes mine = CubeWithTextures({"C:\\MINE\\keep.iff"});
    WriteFileBytes(File("a.iob"), CubeWithTextures({"C:\\TEX\\wood.iff"}));
    WriteFileBytes(out + "a.iob", mine);
    WriteFileBytes(out + "a.bak", {});
    for (int i = 0; i <= 998; ++i) {
        char extension[8];
        std::snprintf(extension, sizeof extension, ".%03d", i);
        WriteFileBytes(out + "a" + extension, {});
    }
    context.editor.settings.CreateBackups = true;
    Select({File("a.iob")});

    const auto results = Run();

    // A batch run asks nothing here: the file is replaced and the log says so.
    EXPECT_EQ(results[0].status, BatchStatus::Ok);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(PathsIn(out + "a.iob"), std::vector<std::string>{"C:\\TEX\\wood.iff"});
    EXPECT_EQ(ReadFileBytes(out + "a.bak"), Bytes{});
    EXPECT_EQ(Log(), Framed("\nProcessing...." + File("a.iob") + "\n" +  //
                            "No backup made for " + out + "a.iob\n" +    //
                            "File Saved as.." + out + "a.iob\n"));
}

TEST(BatchTargetPathTest, SaveDirectoryAndSeparator) {
    BatchFileEntry entry;
    ASSERT_TRUE(MakeBatchFileEntry("/data/objects/cube.iob", entry));
    struct Case {
        bool original;
        std::string saveDirectory;
        std::string target;
    };
    const std::vector<Case> cases = {
        {false, "D:\\OUT", "D:\\OUT\\cube.iob"},
        {false, "D:\\OUT\\", "D:\\OUT\\cube.iob"},
        {false, "D:", "D:cube.iob"},
        {false, "DH0:Objects/", "DH0:Objects/cube.iob"},
        {false, "/srv/out", "/srv/out/cube.iob"},
        {false, "out", "out/cube.iob"},
        {false, "", "cube.iob"},
        {true, "D:\\OUT", "/data/objects/cube.iob"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BatchTargetPath(entry, c.original, c.saveDirectory), c.target)
            << "save directory '" << c.saveDirectory << "'";
    }
}

TEST_F(BatchRunTest, TargetOnADriveThatIsNotHereIsAnErrorNotSuccess) {
    WriteFileBytes(File("a.iob"), CubeWithTextures({"C:\\TEX\\wood.iff"}));
    options.saveDirectory = "D:\\OUT";
    Select({File("a.iob")});

    const auto results = Run();

    EXPECT_EQ(results[0].status, BatchStatus::ErrorSaving);
    EXPECT_EQ(Log(), Framed("\nProcessing...." + File("a.iob") + "\n......Error Saving file\n"));
}

// Makes every write past `bytes` fail (EFBIG) for the life of the object, the
// way a full disk fails a write half way; reads are not affected.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(BatchRunTest, FailedWriteLeavesThePreviousFileInPlace) {
    for (const bool backups : {false, true}) {
        SCOPED_TRACE(backups ? "backups on" : "backups off");
        TempDir work;
        const std::string path = work.File("a.iob");
        const Bytes original = CubeWithTextures({"C:\\TEX\\wood.iff"});
        WriteFileBytes(path, original);
        context.editor.settings.CreateBackups = backups;
        context.editor.settings.BatchUseDefaultDirectories = true;
        context.editor.directoryDefaults.Append({"C:\\TEX", "D:\\TEX"});
        context.editor.shell.SaveInOriginalDirectory = true;
        ui.PlanAnswer(MessageAnswer::Yes);  // the overwrite question, backups off
        RecordingLogSink log;
        options.logSink = &log;
        BatchList batch;
        const std::vector<std::string> selection = {path};
        batch.AddSelection(selection, context.editor.shell);

        std::vector<BatchFileResult> results;
        {
            const FileSizeLimit limit(16);
            results = RunBatch(context, batch, options, clock, nullptr);
        }

        EXPECT_EQ(results[0].status, BatchStatus::ErrorSaving);
        EXPECT_EQ(ReadFileBytes(path), original);
        EXPECT_EQ(fs::exists(work.File("a.bak")), false);
        std::vector<std::string> expected = {"*************** Started.... 10:15:30 12/09/2026", "",
                                             "", "Processing...." + path,
                                             "Object: CUBE >>  Path: C:\\TEX  Changed To  D:\\TEX"};
        if (backups) {
            expected.push_back("Existing Object File renamed as..." + work.File("a.bak"));
            expected.push_back("Existing Object File restored from..." + work.File("a.bak"));
        }
        expected.push_back("......Error Saving file");
        expected.push_back("");
        expected.push_back("*************** Completed.. 10:15:30 12/09/2026");
        EXPECT_EQ(Joined(log.lines), Joined(expected));
        context.editor.directoryDefaults.Clear();
    }
}

TEST_F(BatchRunTest, UpdateFileExtensionsBoxDecidesWhetherSuffixesChange) {
    struct Case {
        bool box;
        std::uint16_t textureSelection;
        std::string name;
    };
    const std::vector<Case> cases = {
        {false, kTextureSuffixItx, "wood.iff"},
        {true, kTextureSuffixAsIs, "wood.iff"},
        {true, kTextureSuffixItx, "wood.itx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("box ") + (c.box ? "on" : "off") + ", selection " +
                     std::to_string(c.textureSelection));
        WriteFileBytes(File("a.iob"), CubeWithTextures({"C:\\TEX\\wood.iff"}));
        fs::remove(out + "a.iob");
        context.editor.settings.BatchUpdateFileSuffix = c.box;
        context.editor.settings.TextureSuffixSelection = c.textureSelection;
        context.editor.settings.GenerateLog = false;
        list.Clear();
        Select({File("a.iob")});

        Run();

        EXPECT_EQ(PathsIn(out + "a.iob"), std::vector<std::string>{"C:\\TEX\\" + c.name});
    }
}

TEST_F(BatchRunTest, LogThatCannotBeCreatedWarnsOnceAndTheRunGoesOn) {
    WriteFileBytes(File("a.iob"), CubeWithTextures({"C:\\TEX\\wood.iff"}));
    options.logPath = dir.Dir() + "missing/Batch.Log";
    Select({File("a.iob")});

    const auto results = Run();

    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Unable to create Log File (Batch.Log)"});
    EXPECT_EQ(results[0].status, BatchStatus::Ok);
    EXPECT_TRUE(fs::exists(out + "a.iob"));
}

TEST_F(BatchRunTest, LogThatFailsWhileWrittenIsReportedAtTheEnd) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    WriteFileBytes(File("a.iob"), CubeWithTextures({"C:\\TEX\\wood.iff"}));
    options.logPath = "/dev/full";
    Select({File("a.iob")});

    const auto results = Run();

    EXPECT_EQ(results[0].status, BatchStatus::Ok);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Error writing Log File (Batch.Log)"});
}

TEST_F(BatchRunTest, RunAppendsToAnExistingLog) {
    {
        std::ofstream earlier(dir.path() / "Batch.Log", std::ios::binary);
        earlier << "earlier run\n";
    }
    Select({File("none.iob")});

    Run();

    EXPECT_EQ(Log(), "earlier run\n" +
                         Framed("\nProcessing...." + File("none.iob") + "......Unable to read\n"));
}

}  // namespace
}  // namespace tessvane
