// The pieces behind the real dialogs that do not need a person to answer
// them: file filters and where the directory chooser starts.
#include <QDir>

#include "DirUnit.h"
#include "file_filter.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

TEST(FileFilter, KeepsCaptionsAndLetsStarDotStarMatchEveryFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"All Files|*.*|Object Files|*.iob|Project Files|*.ist",
         "All Files (*);;Object Files (*.iob);;Project Files (*.ist)"},
        {"All Files|*.*", "All Files (*)"},
        {"Pictures|*.iff;*.tga", "Pictures (*.iff *.tga)"},
        {"", "All Files (*)"},
    };
    for (const auto& [filter, expected] : cases) {
        EXPECT_EQ(QtFileFilter(QString::fromLatin1(filter)), QString::fromLatin1(expected)) << filter;
    }
}

TEST(DirectoryChooser, StartsAtTheNearestDirectoryThatExists) {
    WindowTestApplication();
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "Imagine/Textures");
    const QString base = QString::fromStdString(dir.path().string());
    const std::pair<QString, QString> cases[] = {
        {base + "/Imagine/Textures", base + "/Imagine/Textures"},
        {base + "/Imagine/Textures/", base + "/Imagine/Textures"},
        {base + "\\Imagine\\Textures", base + "/Imagine/Textures"},
        {base + "/Imagine/Missing/Deeper", base + "/Imagine"},
        {"C:\\IMAGINE\\TEXTURES", QDir::homePath()},
        {"", QDir::homePath()},
    };
    TDirectorySelect chooser;
    EXPECT_EQ(chooser.windowTitle(), "Select Brush/Texture Directory");
    for (const auto& [start, expected] : cases) {
        EXPECT_EQ(NearestExistingDirectory(start), expected) << start.toStdString();
        chooser.SetDirectory(start);
        EXPECT_EQ(chooser.Directory(), expected) << start.toStdString();
    }
}

}  // namespace
}  // namespace tessvane::testing
