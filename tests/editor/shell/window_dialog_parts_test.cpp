// The pieces behind the real dialogs that do not need a person to answer
// them: file filters and where the directory chooser starts.
#include <QDir>
#include <QLabel>

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
        EXPECT_EQ(QtFileFilter(QString::fromLatin1(filter)), QString::fromLatin1(expected))
            << filter;
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

TEST(DirectoryChooser, TheDriveIsTheVolumeThatHoldsTheDirectory) {
    const QStringList roots = {QStringLiteral("/"), QStringLiteral("/mnt/data"),
                               QStringLiteral("/mnt/data/deep")};
    const std::pair<const char*, int> cases[] = {
        {"/home/ann", 0},        {"/mnt/data", 1},        {"/mnt/data/objects", 1},
        {"/mnt/database", 0},  // a longer name, not a directory inside /mnt/data
        {"/mnt/data/deeper", 1}, {"/mnt/data/deep/x", 2},
    };
    for (const auto& [directory, expected] : cases) {
        EXPECT_EQ(VolumeHolding(roots, QString::fromLatin1(directory)), expected) << directory;
    }
    EXPECT_EQ(VolumeHolding({QStringLiteral("/mnt/data")}, QStringLiteral("/home")), -1);
}

TEST(DirectoryChooser, ADeepDirectoryShowsBothEndsInThePanel) {
    WindowTestApplication();
    TempDir dir;
    std::string deep = dir.path().string();
    for (int i = 0; i < 8; ++i) deep += "/a-rather-long-directory-name-" + std::to_string(i);
    std::filesystem::create_directories(deep);
    TDirectorySelect chooser;
    chooser.SetDirectory(QString::fromStdString(deep));
    EXPECT_EQ(chooser.Directory().toStdString(), deep);

    auto* panel = chooser.findChild<QLabel*>(QStringLiteral("DirLabel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
    EXPECT_TRUE(panel->text().startsWith(QString::fromStdString(deep.substr(0, 4))));
    EXPECT_TRUE(panel->text().endsWith(QStringLiteral("name-7")));
    EXPECT_EQ(panel->toolTip().toStdString(), deep);
}

}  // namespace
}  // namespace tessvane::testing
