// Texts of the other machine in the window: shown in the Character Set,
// written back byte for byte when nobody changed them, and a typed character
// the set cannot hold refused where it is typed.
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "DirUnit2.h"
#include "core/scanner.h"
#include "lists_test_dialogs.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

// Every byte from 0x80 to 0xFF, in order.
std::string HighBytes(int from = 0x80, int count = 128) {
    std::string bytes;
    for (int b = from; b < from + count; ++b) bytes += static_cast<char>(b);
    return bytes;
}

// As the editor writes it (even chunk sizes): eight texture records whose directory holds every
// byte 0x80..0xFF and whose names and descriptions hold sixteen of them each, so together they hold
// all.
Bytes HighByteObject() {
    IffBuilder file("TDDD");
    for (int k = 0; k < 8; ++k) {
        const std::string sixteen = HighBytes(0x80 + 16 * k, 16);
        file.Chunk("TXT4", Even(chunks::Txt4("Part" + std::to_string(k), sixteen,
                                             "C:\\" + HighBytes() + "\\" + sixteen + ".iff")));
    }
    return file.Build();
}

void PressEnter(QLineEdit* field) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
}

class CharacterSetWindowTest : public WindowTest {
  protected:
    void StartWith(const std::string& settings) {
        WriteFileBytes(dir.File("Tessvane.ini"), Bytes(settings.begin(), settings.end()));
        Start();
    }
    void ClickRow(int row) {
        auto* grid = Find<QTableWidget>("PathDetailList");
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

TEST_F(CharacterSetWindowTest, EnterInEveryFieldOfUnchangedHighByteTextsSavesTheSameBytes) {
    struct Case {
        const char* set;
        char16_t e9;  // how byte 0xE9 reads in the set
    };
    const Case cases[] = {
        {"ISO-8859-1", u'\u00E9'},
        {"Windows-1252", u'\u00E9'},
        {"CP437", u'\u0398'},
        {"CP850", u'\u00DA'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        // Each set starts afresh: the last window's file is not held any more.
        window.reset();
        FreeObjectFile(context.file);
        dialogs.core.messages.clear();
        StartWith(std::string("[VANE]\r\nCharacter Set=") + c.set + "\r\n");
        const Bytes original = HighByteObject();
        const std::string path = MakeFile(std::string(c.set) + ".iob", original);
        Load(path);
        ASSERT_TRUE(context.file.Loaded);
        ASSERT_TRUE(Enabled("DescEdit"));
        EXPECT_EQ(Find<QComboBox>("CharacterSetCombo")->currentText(), c.set);
        EXPECT_TRUE(Find<QListWidget>("SummaryList")->item(0)->text().contains(QChar(c.e9)));

        ShowPage(Page::Summary);
        PressEnter(Find<QLineEdit>("Summary_NewPath"));
        Click("Update");
        ShowPage(Page::Details);
        for (int row = 0; row < 8; ++row) {
            ClickRow(row);
            for (const char* field : {"Details_NewPath", "NewFileNameEdit", "DescEdit"})
                PressEnter(Find<QLineEdit>(field));
        }
        EXPECT_TRUE(dialogs.MessageTexts().empty());
        for (const PathRecord& record : context.file.Paths.Records) {
            EXPECT_EQ(record.NewDirectory, record.OldDirectory);
            EXPECT_EQ(record.NewFileName, record.OldFileName);
            EXPECT_EQ(record.NewDescription, record.OldDescription);
        }

        Click("SaveButton");
        EXPECT_EQ(ReadFileBytes(path), original);
    }
}

TEST_F(CharacterSetWindowTest, ChoosingAnotherSetShowsTheSameBytesAnewAndTypesInIt) {
    StartWith("[VANE]\r\n");
    Load(MakeFile("c.iob", IffBuilder("TDDD")
                               .Chunk("TXT4", chunks::Txt4("Wall", "Drap\x82", "C:\\TEX\\wood.iff"))
                               .Build()));
    auto* grid = Find<QTableWidget>("PathDetailList");
    EXPECT_EQ(grid->item(0, 2)->text(), QString::fromUtf8("Drap\u0082"));

    ShowPage(Page::Options);
    auto* combo = Find<QComboBox>("CharacterSetCombo");
    const QStringList offered = {"ISO-8859-1", "Windows-1252", "CP437", "CP850"};
    for (int i = 0; i < offered.size(); ++i) EXPECT_EQ(combo->itemText(i), offered[i]);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(context.editor.settings.CharacterSet, CharacterSet::Cp437);
    EXPECT_EQ(grid->item(0, 2)->text(), QString::fromUtf8("Drap\u00E9"));
    EXPECT_EQ(Text("DescEdit"), QString::fromUtf8("Drap\u00E9"));
    EXPECT_EQ(context.file.Paths.Record(1).NewDescription, "Drap\x82");

    ShowPage(Page::Details);
    TypeEnter("DescEdit", "Caf\u00E9");
    EXPECT_EQ(context.file.Paths.Record(1).NewDescription, "Caf\x82");
    TypeEnter("DescEdit", "\u00A4");  // in ISO-8859-1, not in CP437
    EXPECT_EQ(dialogs.MessageTexts().back(),
              "The character U+00A4 '\u00A4' is not in the character set CP437; nothing was "
              "stored.");
    EXPECT_EQ(context.file.Paths.Record(1).NewDescription, "Caf\x82");
}

TEST_F(CharacterSetWindowTest, ACharacterTheSetCannotHoldIsRefusedWhereItIsTypedAndNothingStored) {
    StartWith("[VANE]\r\nImagine Directory=C:\\IMAGINE\r\n");
    Load(MakeFile("d.iob", IffBuilder("TDDD")
                               .Chunk("TXT4", chunks::Txt4("Wall", "Drap\xE9", "C:\\TEX\\wood.iff"))
                               .Build()));
    const std::string refusal =
        "The character U+20AC '\u20AC' is not in the character set ISO-8859-1; nothing was stored.";
    const PathRecord& record = context.file.Paths.Record(1);
    struct Case {
        Page page;
        const char* field;
        std::function<std::string()> stored;
    };
    const std::vector<Case> cases = {
        {Page::Summary, "Summary_NewPath",
         [&] { return std::string(context.file.Summary.front().NewDirectory.view()); }},
        {Page::Details, "Details_NewPath", [&] { return record.NewDirectory.str(); }},
        {Page::Details, "NewFileNameEdit", [&] { return record.NewFileName.str(); }},
        {Page::Details, "DescEdit", [&] { return record.NewDescription.str(); }},
        {Page::Options, "ImagineDirEdit",
         [&] { return context.editor.settings.ImagineDirectory.str(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        ShowPage(c.page);
        const std::string before = c.stored();
        const std::size_t messages = dialogs.MessageTexts().size();
        TypeEnter(c.field, "Price \u20AC5");
        ASSERT_EQ(dialogs.MessageTexts().size(), messages + 1);
        EXPECT_EQ(dialogs.MessageTexts().back(), refusal);
        EXPECT_EQ(c.stored(), before);
        EXPECT_EQ(Text(c.field).toStdString(), "Price \u20AC5");  // kept to be put right
    }

    // A character the set holds is stored as its byte.
    ShowPage(Page::Details);
    TypeEnter("DescEdit", "Jaune \u00E9");
    EXPECT_EQ(record.NewDescription, "Jaune \xE9");
}

TEST_F(CharacterSetWindowTest, TheListDialogsStayOpenOnACharacterTheSetCannotHold) {
    StartWith("[VANE]\r\n");
    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        Retype(d, "OldDirEdit", QString::fromUtf8("C:\\\u0141\u00F3d\u017A"));
        Retype(d, "NewDirEdit", QString::fromUtf8("D:\\Lodz"));
        Press(d, "AcceptButton");
        // Still open: the refusal named the character and the old field has the focus.
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(DialogChild<QLineEdit>(d, "OldDirEdit")->hasFocus() || !d.isActiveWindow());
        Retype(d, "OldDirEdit", QString::fromUtf8("C:\\\u00C9t\u00E9"));
        Press(d, "AcceptButton");
    });
    Click("AddDirButton");
    ExpectEveryAnswerTaken();
    ASSERT_EQ(dialogs.MessageTexts().size(), 1u);
    EXPECT_EQ(dialogs.MessageTexts().front(),
              "The character U+0141 '\u0141' is not in the character set ISO-8859-1; nothing was "
              "stored.");
    ASSERT_EQ(context.editor.directoryDefaults.Count(), 1u);
    EXPECT_EQ(context.editor.directoryDefaults.At(1).OldDirectory, "C:\\\xC9t\xE9");
}

}  // namespace
}  // namespace tessvane::testing
