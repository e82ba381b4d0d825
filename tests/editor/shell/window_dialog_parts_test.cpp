// The pieces behind the real dialogs that do not need a person to answer
// them: file filters and where the directory chooser starts.
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QTreeView>

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

// C: of a PC and DH0: (also called Work:) of an Amiga, mapped to directories
// of a test; the names on disk are in this machine's letter case.
class MappedChooserTest : public ::testing::Test {
  protected:
    MappedChooserTest() {
        std::filesystem::create_directories(dir.path() / "c/textures/wood");
        std::filesystem::create_directories(dir.path() / "c/\u0141\u00F3d\u017A");
        std::filesystem::create_directories(dir.path() / "amiga/Textures/Wood");
        settings.Volumes = {
            {"C:", dir.File("c")}, {"DH0:", dir.File("amiga")}, {"Work:", dir.File("amiga")}};
        chooser.SetSettings(&settings);
        chooser.SetWarn([this](const std::string& text) { warnings.push_back(text); });
    }

    QTreeView* Tree() { return chooser.findChild<QTreeView*>(QStringLiteral("DirectoryListBox1")); }
    QString Shown(const char* control) {
        if (auto* combo = chooser.findChild<QComboBox*>(QString::fromLatin1(control)))
            return combo->currentText();
        return chooser.findChild<QLabel*>(QString::fromLatin1(control))->text();
    }

    // Before the chooser: no widget without the application.
    QApplication& app = WindowTestApplication();
    TempDir dir;
    Settings settings;
    TDirectorySelect chooser;
    std::vector<std::string> warnings;
};

TEST_F(MappedChooserTest, ShowsTheMappedVolumeAndReturnsTheObjectFilesForm) {
    struct Case {
        ComputerType computer;
        std::string start;
        std::string local;  // under the test's directory
        std::string chosen;
        const char* drive;
    };
    const Case cases[] = {
        {ComputerType::PC, "C:\\TEXTURES", "c/textures", "C:\\TEXTURES", "C:"},
        {ComputerType::PC, "c:\\Textures\\WOOD", "c/textures/wood", "C:\\TEXTURES\\WOOD", "C:"},
        {ComputerType::Amiga, "DH0:Textures/Wood", "amiga/Textures/Wood", "DH0:Textures/Wood",
         "DH0:"},
        // Two names for one directory: the one the path names stays.
        {ComputerType::Amiga, "work:textures", "amiga/Textures", "Work:Textures", "Work:"},
        // Not where the path says: its nearest existing parent.
        {ComputerType::PC, "C:\\TEXTURES\\GONE\\DEEPER", "c/textures", "C:\\TEXTURES", "C:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        settings.Computer = c.computer;
        chooser.SetStart(c.start);
        EXPECT_EQ(chooser.Directory().toStdString(), dir.File(c.local));
        EXPECT_EQ(chooser.Chosen(), c.chosen);
        EXPECT_TRUE(Shown("DriveComboBox1").startsWith(QString::fromLatin1(c.drive)));
        EXPECT_EQ(Shown("DirLabel").toStdString(), c.chosen);
        // Open and selected where it starts, not collapsed at the drive.
        const QModelIndex current = Tree()->currentIndex();
        EXPECT_EQ(current.data(QFileSystemModel::FilePathRole).toString().toStdString(),
                  dir.File(c.local));
        for (QModelIndex up = current.parent(); up.isValid() && up != Tree()->rootIndex();
             up = up.parent())
            EXPECT_TRUE(Tree()->isExpanded(up));
    }

    // Where the Load dialog starts or the batch saves: the local directory.
    chooser.SetForm(DirectoryForm::Local);
    chooser.SetStart(dir.File("c/textures"));
    EXPECT_EQ(chooser.Chosen(), dir.File("c/textures"));
}

TEST_F(MappedChooserTest, ADirectoryTheCharacterSetCannotNameIsRefusedAtOk) {
    chooser.SetDirectory(QString::fromStdString(dir.File("c/\u0141\u00F3d\u017A")));
    std::string refusal;
    EXPECT_EQ(chooser.Chosen(&refusal), std::nullopt);
    chooser.accept();
    EXPECT_NE(chooser.result(), QDialog::Accepted);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0],
              "The character U+0141 '\u0141' is not in the character set ISO-8859-1; nothing was "
              "stored.");

    // Off the mapped volumes a directory is this machine's and kept as it is.
    settings.Volumes.clear();
    chooser.SetSettings(&settings);
    chooser.SetDirectory(QString::fromStdString(dir.File("c/\u0141\u00F3d\u017A")));
    EXPECT_EQ(chooser.Chosen(), dir.File("c/\u0141\u00F3d\u017A"));
}

}  // namespace
}  // namespace tessvane::testing
