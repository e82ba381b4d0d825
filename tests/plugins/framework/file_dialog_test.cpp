#include "framework/file_dialog.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/scripted_terminal.h"
#include "support/temp_dir.h"

namespace plugins {

namespace fs = std::filesystem;
using pluginsupport::ScriptedTerminal;
using pluginsupport::TempDir;
using pluginsupport::WriteFileBytes;

namespace {

constexpr const char* kFilter = "WaveFront File     (*.obj)|*.obj|All Files (*.*)|*.*||";

// The dialogs change the current directory; each test gets it back.
class FileDialogTest : public ::testing::Test {
  protected:
    FileDialogTest() : cwd_(fs::current_path()) {}
    ~FileDialogTest() override { fs::current_path(cwd_); }

    std::string Dir() const { return fs::canonical(temp_.path()).string(); }

    fs::path cwd_;
    TempDir temp_;
};

}  // namespace

TEST_F(FileDialogTest, AScriptGetsTheInitialFileNameAsIfOkWasPressed) {
    ScriptedTerminal term("typed.obj\n", false);
    FileDialog dialog(true, nullptr, "cube.obj", kOfnHideReadOnly | kOfnOverwritePrompt, kFilter);
    dialog.initialDir = Dir();
    ASSERT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetPathName(), Dir() + "/cube.obj");
    EXPECT_EQ(dialog.GetFileName(), "cube.obj");
    EXPECT_EQ(fs::current_path(), fs::path(Dir()));
    EXPECT_EQ(term.Err(), "");

    // Without an initial name nothing is chosen.
    FileDialog none(true, nullptr, "", 0, kFilter);
    EXPECT_EQ(none.DoModal(), kIdCancel);
}

TEST_F(FileDialogTest, APersonIsAskedAndMayTakeTheInitialName) {
    ScriptedTerminal term("\n", true);
    FileDialog dialog(true, nullptr, (Dir() + "/models/../cube.obj").c_str(), 0, kFilter);
    ASSERT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetPathName(), Dir() + "/cube.obj");
    EXPECT_NE(term.Err().find("Open (WaveFront File (*.obj), All Files (*.*)) ["),
              std::string::npos);

    ScriptedTerminal eof("", true);
    FileDialog cancelled(true, nullptr, "cube.obj", 0, kFilter);
    EXPECT_EQ(cancelled.DoModal(), kIdCancel);
}

TEST_F(FileDialogTest, SavingAddsTheExtensionAndAsksBeforeReplacing) {
    WriteFileBytes(temp_.path() / "cube.obj", "v 0 0 0\n");
    ScriptedTerminal term("cube\nn\nother\n", true);
    FileDialog dialog(false, "obj", "out.obj", kOfnHideReadOnly | kOfnOverwritePrompt, kFilter);
    dialog.initialDir = Dir();
    ASSERT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(dialog.GetPathName(), Dir() + "/other.obj");
    EXPECT_NE(
        term.Err().find(Dir() + "/cube.obj already exists.\nDo you want to replace it? [y/N] "),
        std::string::npos);

    ScriptedTerminal yes("cube\ny\n", true);
    FileDialog replace(false, "obj", "", kOfnOverwritePrompt, kFilter);
    replace.initialDir = Dir();
    ASSERT_EQ(replace.DoModal(), kIdOk);
    EXPECT_EQ(replace.GetPathName(), Dir() + "/cube.obj");
}

TEST_F(FileDialogTest, PromptsShowFileNamesWithoutControlCharacters) {
    const std::string odd = "cube\x1b]2;x\x07.obj";
    WriteFileBytes(temp_.path() / odd, "v 0 0 0\n");
    ScriptedTerminal term("\nn\n", true);
    FileDialog dialog(false, "obj", odd.c_str(), kOfnOverwritePrompt, kFilter);
    dialog.initialDir = Dir();
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_NE(term.Err().find(" [cube?]2;x?.obj]: "), std::string::npos);
    EXPECT_NE(term.Err().find(Dir() + "/cube?]2;x?.obj already exists."), std::string::npos);
    EXPECT_EQ(term.Err().find('\x1b'), std::string::npos);
}

TEST_F(FileDialogTest, TheFileNameIsEverythingAfterTheLastSlash) {
    for (const char* name : {"a\\b.obj", "c:d.obj", "plain.obj"}) {
        ScriptedTerminal term("", false);
        FileDialog dialog(true, nullptr, name, 0, kFilter);
        dialog.initialDir = Dir();
        ASSERT_EQ(dialog.DoModal(), kIdOk) << name;
        EXPECT_EQ(dialog.GetPathName(), Dir() + "/" + name);
        EXPECT_EQ(dialog.GetFileName(), name);
    }
}

}  // namespace plugins
