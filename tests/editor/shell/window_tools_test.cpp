// The Tools menu: the Volumes dialog edits the map and offers what Detect
// finds; Find Missing Files marks the records whose file is not here and
// relinks the ones the user agrees to.
#include <QAction>
#include <QTableWidget>
#include <QTest>

#include "candidates_dialog.h"
#include "lists_test_dialogs.h"
#include "recording_log_sink.h"
#include "volumes_dialog.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

class ToolsWindowTest : public WindowTest {
  protected:
    void StartWithVolumes(const std::string& volumes) {
        const std::string ini = "[VANE]\r\nImagine Directory=\r\n[Volumes]\r\n" + volumes;
        WriteFileBytes(dir.File("Tessvane.ini"), Bytes(ini.begin(), ini.end()));
        Start();
    }
    std::string MakeDirectory(const std::string& name) {
        std::filesystem::create_directories(dir.path() / name);
        return dir.File(name);
    }
    void MakeFiles(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            std::filesystem::create_directories((dir.path() / name).parent_path());
            WriteFileBytes(dir.File(name), {1});
        }
    }
    void Trigger(const char* action) {
        auto* item = Find<QAction>(action);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled()) << action;
        item->trigger();
    }
    static std::vector<QString> Column(QTableWidget* grid, int column) {
        std::vector<QString> texts;
        for (int row = 0; row < grid->rowCount(); ++row)
            texts.push_back(grid->item(row, column)->text());
        return texts;
    }
    static void ClickIn(QDialog& dialog, const char* name) {
        QTest::mouseClick(DialogChild<QAbstractButton>(dialog, name), Qt::LeftButton);
    }
    static void SelectRow(QDialog& dialog, const char* grid, int row) {
        DialogChild<QTableWidget>(dialog, grid)->selectRow(row);
    }
};

TEST_F(ToolsWindowTest, VolumesDialogAddsEditsDeletesAndRefusesWhatTheMapCannotHold) {
    const std::string c = MakeDirectory("c");
    const std::string amiga = MakeDirectory("amiga");
    const std::string work = MakeDirectory("work");
    StartWithVolumes("C:," + c + "\r\n");

    WhenShown<TVolumesForm>([&](TVolumesForm& form) {
        auto* grid = DialogChild<QTableWidget>(form, "VolumeGrid");
        EXPECT_EQ(Column(grid, 0), std::vector<QString>{"C:"});

        // Each refusal keeps the entry dialog open; the last entry is stored.
        WhenShown<TVolumeEntryForm>([&](TVolumeEntryForm& entry) {
            struct Case {
                QString name, directory;
                std::string message;
            };
            const std::vector<Case> cases = {
                {"DH0/x", QString::fromStdString(amiga),
                 "\"DH0/x\" is not a volume name: give a drive, device, volume or assign such "
                 "as C:, DH0:, Work: or Imagine:, without '/', '\\' or ','."},
                {"c", QString::fromStdString(amiga), "C: is in the list already."},
                {QString::fromUtf8("W\u20ACrk"), QString::fromStdString(amiga),
                 "The character U+20AC '\u20AC' is not in the character set ISO-8859-1; nothing "
                 "was stored."},
                {"DH0", "", "Give the directory of this machine that DH0: stands for."},
                {"DH0", QString::fromStdString(dir.File("gone")),
                 "Directory does not exist\n" + dir.File("gone")},
            };
            for (const Case& c : cases) {
                SCOPED_TRACE(c.message);
                DialogChild<QLineEdit>(entry, "VolumeEdit")->setText(c.name);
                DialogChild<QLineEdit>(entry, "DirectoryEdit")->setText(c.directory);
                ClickIn(entry, "OkButton");
                EXPECT_TRUE(entry.isVisible());
                EXPECT_EQ(dialogs.MessageTexts().back(), c.message);
            }
            // Browse chooses a directory of this machine.
            dialogs.PlanDirectory(amiga);
            ClickIn(entry, "BrowseButton");
            EXPECT_EQ(dialogs.directoryRequests.back().form, DirectoryForm::Local);
            EXPECT_EQ(DialogChild<QLineEdit>(entry, "DirectoryEdit")->text().toStdString(), amiga);
            ClickIn(entry, "OkButton");
        });
        ClickIn(form, "AddButton");
        EXPECT_EQ(Column(grid, 0), (std::vector<QString>{"C:", "DH0:"}));

        // Edit renames DH0: to Work: in its place.
        WhenShown<TVolumeEntryForm>([&](TVolumeEntryForm& entry) {
            EXPECT_EQ(DialogChild<QLineEdit>(entry, "VolumeEdit")->text(), "DH0:");
            DialogChild<QLineEdit>(entry, "VolumeEdit")->setText("Work");
            DialogChild<QLineEdit>(entry, "DirectoryEdit")->setText(QString::fromStdString(work));
            ClickIn(entry, "OkButton");
        });
        SelectRow(form, "VolumeGrid", 1);
        ClickIn(form, "EditButton");

        SelectRow(form, "VolumeGrid", 0);
        ClickIn(form, "DeleteButton");
        EXPECT_EQ(Column(grid, 0), std::vector<QString>{"Work:"});
        // Nothing reaches the settings before OK.
        EXPECT_EQ(context.editor.settings.Volumes.size(), 1u);
        ClickIn(form, "OkButton");
    });
    Trigger("Volumes1");
    ASSERT_EQ(context.editor.settings.Volumes.size(), 1u);
    EXPECT_EQ(context.editor.settings.Volumes[0].Name, "Work:");
    EXPECT_EQ(context.editor.settings.Volumes[0].Directory, work);

    // Cancel drops every change.
    WhenShown<TVolumesForm>([&](TVolumesForm& form) {
        ClickIn(form, "DeleteButton");
        ClickIn(form, "CancelButton");
    });
    Trigger("Volumes1");
    EXPECT_EQ(context.editor.settings.Volumes.size(), 1u);
}

TEST_F(ToolsWindowTest, DetectOffersEachMappingFoundAndAddsOnlyWhatIsTicked) {
    // A Wine prefix with drives C: and D:, C: mapped already elsewhere.
    const std::string prefix = MakeDirectory("wine");
    const std::string driveC = MakeDirectory("wine/drive_c");
    const std::string driveD = MakeDirectory("dos");
    MakeDirectory("wine/dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", dir.path() / "wine/dosdevices/c:");
    std::filesystem::create_directory_symlink(driveD, dir.path() / "wine/dosdevices/d:");
    const std::string old = MakeDirectory("old");
    StartWithVolumes("C:," + old + "\r\n");
    EmulatorPlaces places;
    places.home = MakeDirectory("home");
    places.configHome = places.home + "/.config";
    places.documentsHome = places.home + "/Documents";
    places.winePrefix = prefix;
    window->SetEmulatorPlaces(places);

    const auto detect = [&](std::function<void(TDetectedVolumesForm&)> answer) {
        WhenShown<TVolumesForm>([&](TVolumesForm& form) {
            WhenShown<TDetectedVolumesForm>(answer);
            ClickIn(form, "DetectButton");
            ClickIn(form, "OkButton");
        });
        Trigger("Volumes1");
    };
    // Offered, not ticked: Add changes nothing; Cancel neither.
    detect([&](TDetectedVolumesForm& offer) {
        auto* grid = DialogChild<QTableWidget>(offer, "DetectedGrid");
        EXPECT_EQ(Column(grid, 0), (std::vector<QString>{"C:", "D:"}));
        EXPECT_EQ(Column(grid, 1), (std::vector<QString>{QString::fromStdString(driveC),
                                                         QString::fromStdString(driveD)}));
        // What C: stands for now, which a tick would replace.
        EXPECT_EQ(Column(grid, 3), (std::vector<QString>{QString::fromStdString(old), ""}));
        ClickIn(offer, "OkButton");
    });
    detect([&](TDetectedVolumesForm& offer) { ClickIn(offer, "CancelButton"); });
    ASSERT_EQ(context.editor.settings.Volumes.size(), 1u);
    EXPECT_EQ(context.editor.settings.Volumes[0].Directory, old);

    detect([&](TDetectedVolumesForm& offer) {
        DialogChild<QTableWidget>(offer, "DetectedGrid")->item(1, 0)->setCheckState(Qt::Checked);
        ClickIn(offer, "OkButton");
    });
    ASSERT_EQ(context.editor.settings.Volumes.size(), 2u);
    EXPECT_EQ(context.editor.settings.Volumes[0].Directory, old);
    EXPECT_EQ(context.editor.settings.Volumes[1].Name, "D:");
    EXPECT_EQ(context.editor.settings.Volumes[1].Directory, driveD);

    // What the list holds already is not offered again.
    detect([&](TDetectedVolumesForm& offer) {
        EXPECT_EQ(Column(DialogChild<QTableWidget>(offer, "DetectedGrid"), 0),
                  std::vector<QString>{"C:"});
        ClickIn(offer, "CancelButton");
    });
}

TEST_F(ToolsWindowTest, FindMissingFilesMarksRowsRelinksOneCandidateAndLetsThePickListChoose) {
    const std::string c = MakeDirectory("c");
    MakeFiles({"c/textures/wood.iff", "c/new/Brick.IFF", "c/a/oak.iff", "c/b/art/oak.iff"});
    StartWithVolumes("C:," + c + "\r\n");
    const std::string object =
        MakeFile("m.iob", IffBuilder("TDDD")
                              .Chunk("TXT1", chunks::Txt1("C:\\TEXTURES\\Wood.IFF"))  // found
                              .Chunk("TXT1", chunks::Txt1("C:\\OLD\\brick.iff"))  // one candidate
                              .Chunk("TXT1", chunks::Txt1("C:\\ART\\oak.iff"))    // two
                              .Chunk("TXT1", chunks::Txt1("C:\\GONE\\none.iff"))  // none
                              .Chunk("TXT1", chunks::Txt1("DH1:x.iff"))           // not mappable
                              .Build());
    Load(object);
    RecordingLogSink log;
    context.log = &log;
    auto* grid = Find<QTableWidget>("PathDetailList");

    dialogs.core.PlanAnswer(MessageAnswer::Yes);  // brick.iff: use C:\NEW\Brick.IFF
    WhenShown<TCandidatesForm>([&](TCandidatesForm& pick) {
        auto* rows = DialogChild<QTableWidget>(pick, "CandidateGrid");
        // Best first: b/art/oak.iff shares ART with the old path.
        EXPECT_EQ(Column(rows, 0),
                  (std::vector<QString>{QString::fromStdString(dir.File("c/b/art/oak.iff")),
                                        QString::fromStdString(dir.File("c/a/oak.iff"))}));
        EXPECT_EQ(Column(rows, 1), (std::vector<QString>{"C:\\B\\ART", "C:\\A"}));
        EXPECT_EQ(Column(rows, 2), (std::vector<QString>{"1", "0"}));
        ClickIn(pick, "CancelButton");
    });
    const std::size_t before = dialogs.MessageTexts().size();
    Trigger("FindMissingFiles1");
    const std::vector<std::string> texts = dialogs.MessageTexts();
    ASSERT_EQ(texts.size(), before + 3);
    EXPECT_EQ(texts[before],
              "4 of 5 files named in the object file are missing; the Details page shows them "
              "in red.\n1 lies on a volume that is not mapped (Tools, Volumes...) or is relative "
              "with no Imagine Directory.");
    EXPECT_EQ(texts[before + 1],
              "C:\\OLD\\brick.iff is missing.\nA file of that name lies "
              "at " +
                  dir.File("c/new/Brick.IFF") +
                  "\n\nNew Path: C:\\NEW\nNew FileName: Brick.IFF\n\nUse it?");
    EXPECT_EQ(texts[before + 2], "1 file was given a new path; 3 are still missing.");

    const PathList& paths = context.file.Paths;
    EXPECT_EQ(paths.Record(2).NewDirectory, "C:\\NEW");
    EXPECT_EQ(paths.Record(2).NewFileName, "Brick.IFF");
    EXPECT_EQ(paths.Record(3).NewDirectory, "C:\\ART");  // the pick list was cancelled
    EXPECT_EQ(paths.Record(4).NewDirectory, "C:\\GONE");
    EXPECT_EQ(log.lines.size(), 2u);

    // Rows of files still missing are red with the reason as tool tip; the
    // found and the relinked ones are as ever.
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        const bool marked = row >= 2;
        QTableWidgetItem* cell = grid->item(row, 1);
        EXPECT_EQ(cell->foreground().color() == QColor(176, 0, 0), marked);
        EXPECT_EQ(cell->toolTip().startsWith("Not found by Find Missing Files: "), marked);
    }
    EXPECT_EQ(grid->item(4, 1)->toolTip(),
              "Not found by Find Missing Files: DH1:x.iff is on a volume that is not mapped: DH1:");

    // Picking a place relinks the record to it.
    WhenShown<TCandidatesForm>([&](TCandidatesForm& pick) {
        SelectRow(pick, "CandidateGrid", 1);
        ClickIn(pick, "OkButton");
    });
    Trigger("FindMissingFiles1");
    EXPECT_EQ(paths.Record(3).NewDirectory, "C:\\A");
    EXPECT_EQ(paths.Record(2).NewDirectory, "C:\\NEW");
}

}  // namespace
}  // namespace tessvane::testing
