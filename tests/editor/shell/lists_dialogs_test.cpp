// The directory-pair and texture-pair dialogs, driven through their real
// widgets: Enter in a field, the browse buttons, Accept and Cancel.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdlib>

#include "DirUnit2.h"
#include "TexForm.h"
#include "lists_test_app.h"

namespace tessvane {
namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Shows a dialog without entering its own event loop, so the test can type
// and click while it is open.
void ShowActive(QDialog& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// The dialog's controls that Tab stops at, in the order they stand on the
// screen: row by row from the top (controls whose middles lie within a few
// pixels share a row), left to right.
QStringList ScreenOrder(QWidget& dialog) {
    QList<QWidget*> controls;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) controls << w;
    }
    std::sort(controls.begin(), controls.end(), [](const QWidget* a, const QWidget* b) {
        const int ya = a->geometry().center().y();
        const int yb = b->geometry().center().y();
        if (std::abs(ya - yb) > 6) return ya < yb;
        return a->x() < b->x();
    });
    QStringList names;
    for (const QWidget* w : controls) names << w->objectName();
    return names;
}

// Where Tab takes the focus, `count` stops from `first` on.
QStringList TabWalk(QWidget& dialog, const QString& first, int count) {
    QStringList names;
    Child<QWidget>(dialog, first.toLatin1().constData())->setFocus();
    for (int i = 0; i < count; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr) break;
        names << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return names;
}

class DefDirSelectTest : public testing::QtTest {
  protected:
    void SetUp() override {
        services_.directoryAcceptable = [this](const QString& d) { return d == existing_; };
        services_.warn = [this](const QString& text) { warnings_ << text; };
        services_.chooseDirectory = [this](const QString& title, const QString& current) {
            chooser_calls_ << title + "|" + current;
            return chooser_answer_;
        };
        dialog_.SetServices(services_);
    }

    TDefDirSelect dialog_;
    DefDirSelectServices services_;
    QString existing_ = "C:\\EXISTS";
    QStringList warnings_;
    QStringList chooser_calls_;
    std::optional<QString> chooser_answer_;
};

TEST_F(DefDirSelectTest, EnterValidatesEachFieldAndMovesTheFocusOn) {
    auto* old_edit = Child<QLineEdit>(dialog_, "OldDirEdit");
    auto* new_edit = Child<QLineEdit>(dialog_, "NewDirEdit");
    auto* accept = Child<QPushButton>(dialog_, "AcceptButton");
    ShowActive(dialog_);
    ASSERT_TRUE(old_edit->hasFocus());

    // A directory that does not exist: warned, emptied, focus stays.
    QTest::keyClicks(old_edit, "C:\\MISSING");
    QTest::keyClick(old_edit, Qt::Key_Return);
    EXPECT_EQ(warnings_, QStringList{"Directory does not exist"});
    EXPECT_TRUE(old_edit->text().isEmpty());
    EXPECT_TRUE(old_edit->hasFocus());
    EXPECT_TRUE(dialog_.isVisible());

    QTest::keyClicks(old_edit, existing_);
    QTest::keyClick(old_edit, Qt::Key_Return);
    EXPECT_EQ(old_edit->text(), existing_);
    EXPECT_TRUE(new_edit->hasFocus());

    QTest::keyClicks(new_edit, "D:\\NOPE");
    QTest::keyClick(new_edit, Qt::Key_Enter);
    EXPECT_EQ(warnings_.size(), 2);
    EXPECT_TRUE(new_edit->text().isEmpty());
    EXPECT_TRUE(new_edit->hasFocus());

    QTest::keyClicks(new_edit, existing_);
    QTest::keyClick(new_edit, Qt::Key_Return);
    EXPECT_TRUE(accept->hasFocus());
    EXPECT_TRUE(dialog_.isVisible()) << "Enter in a field must not close the dialog";
    EXPECT_EQ(warnings_.size(), 2);
}

TEST_F(DefDirSelectTest, WithoutValidationEveryTextIsKept) {
    services_.directoryAcceptable = nullptr;
    dialog_.SetServices(services_);
    auto* old_edit = Child<QLineEdit>(dialog_, "OldDirEdit");
    ShowActive(dialog_);
    QTest::keyClicks(old_edit, "Z:\\ANYWHERE");
    QTest::keyClick(old_edit, Qt::Key_Return);
    EXPECT_TRUE(warnings_.isEmpty());
    EXPECT_EQ(old_edit->text(), "Z:\\ANYWHERE");
    EXPECT_TRUE(Child<QLineEdit>(dialog_, "NewDirEdit")->hasFocus());
}

TEST_F(DefDirSelectTest, AcceptTakesUnconfirmedTextsAndCancelRejects) {
    dialog_.SetFields("c:\\never\\checked", "");
    ShowActive(dialog_);
    QTest::mouseClick(Child<QPushButton>(dialog_, "AcceptButton"), Qt::LeftButton);
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_EQ(dialog_.OldDirectory(), "c:\\never\\checked");
    EXPECT_TRUE(warnings_.isEmpty());

    ShowActive(dialog_);
    QTest::mouseClick(Child<QPushButton>(dialog_, "CancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog_.result(), QDialog::Rejected);

    ShowActive(dialog_);
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_EQ(dialog_.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog_.isVisible());
}

TEST_F(DefDirSelectTest, BrowseButtonsFillTheirFieldOnlyOnOk) {
    dialog_.SetFields("C:\\OLD", "D:\\NEW");
    chooser_answer_ = QString("/mnt/chosen");
    QTest::mouseClick(Child<QPushButton>(dialog_, "OldDirButton"), Qt::LeftButton);
    EXPECT_EQ(dialog_.OldDirectory(), "/mnt/chosen");

    chooser_answer_.reset();
    QTest::mouseClick(Child<QPushButton>(dialog_, "NewDirButton"), Qt::LeftButton);
    EXPECT_EQ(dialog_.NewDirectory(), "D:\\NEW");

    EXPECT_EQ(chooser_calls_,
              (QStringList{"Select Old Directory|C:\\OLD", "Select New Directory|D:\\NEW"}));
}

TEST_F(DefDirSelectTest, LockedOldFieldStartsTypingInTheNewField) {
    dialog_.SetFields("C:\\ASKED", "");
    dialog_.SetOldDirectoryLocked(true);
    EXPECT_FALSE(Child<QLineEdit>(dialog_, "OldDirEdit")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(dialog_, "OldDirButton")->isEnabled());
    ShowActive(dialog_);
    EXPECT_TRUE(Child<QLineEdit>(dialog_, "NewDirEdit")->hasFocus());
    dialog_.SetOldDirectoryLocked(false);
    EXPECT_TRUE(Child<QPushButton>(dialog_, "OldDirButton")->isEnabled());
}

TEST_F(DefDirSelectTest, FieldsHoldAtMost255Characters) {
    dialog_.SetFields(QString(300, 'a'), QString(256, 'b'));
    EXPECT_EQ(dialog_.OldDirectory().size(), 255);
    EXPECT_EQ(dialog_.NewDirectory().size(), 255);
}

TEST_F(DefDirSelectTest, TabFollowsTheScreenAndEnterPressesTheFocusedButton) {
    ShowActive(dialog_);
    const QStringList screen = ScreenOrder(dialog_);
    ASSERT_EQ(screen.size(), 6);
    EXPECT_EQ(TabWalk(dialog_, screen.first(), 7), screen + QStringList{screen.first()});

    auto* browse = Child<QPushButton>(dialog_, "NewDirButton");
    browse->setFocus();
    QTest::keyClick(browse, Qt::Key_Return);
    EXPECT_EQ(chooser_calls_.size(), 1) << "Enter opens the chooser";
    EXPECT_TRUE(dialog_.isVisible()) << "and does not accept the dialog";
}

class DefTextureFormTest : public testing::QtTest {
  protected:
    void SetUp() override {
        services_.openTexture = [this](const QString& title, const QString& dir,
                                       const QString& name) {
            open_calls_ << title + "|" + dir + "|" + name;
            return open_answer_;
        };
        services_.inquireDescription = [this](const QString& path) {
            inquired_ << path;
            return QString("Wood grain");
        };
        form_.SetServices(services_);
        form_.SetTextureDirectory("/imagine/Textures");
    }

    TDefTextureForm form_;
    DefTextureFormServices services_;
    QStringList open_calls_;
    QStringList inquired_;
    std::optional<QString> open_answer_;
};

TEST_F(DefTextureFormTest, NewTexturePickTakesNameDirectoryAndDescription) {
    form_.SetFields("OLD.ITX", "typed.itx", "old words");
    open_answer_ = QString("/data/tex/wood.itx");
    QTest::mouseClick(Child<QPushButton>(form_, "NewTexButton"), Qt::LeftButton);
    EXPECT_EQ(open_calls_, QStringList{"Select New Texture|/imagine/Textures|typed.itx"});
    EXPECT_EQ(form_.NewTexture(), "wood.itx");
    EXPECT_EQ(form_.TextureDirectory(), "/data/tex");
    EXPECT_EQ(form_.Description(), "Wood grain");
    EXPECT_EQ(inquired_, QStringList{"/data/tex/wood.itx"});
    EXPECT_EQ(form_.OldTexture(), "OLD.ITX");

    // The next dialog starts where the last pick was made.
    open_answer_ = QString("/other/marble.itx");
    QTest::mouseClick(Child<QPushButton>(form_, "OldTexButton"), Qt::LeftButton);
    EXPECT_EQ(open_calls_.last(), "Select Old Texture|/data/tex|");
    EXPECT_EQ(form_.OldTexture(), "marble.itx");
    EXPECT_EQ(form_.TextureDirectory(), "/other");
    EXPECT_EQ(form_.Description(), "Wood grain") << "only the new texture asks the module";
}

TEST_F(DefTextureFormTest, TabFollowsTheScreenAndEnterPressesTheFocusedButton) {
    ShowActive(form_);
    const QStringList screen = ScreenOrder(form_);
    ASSERT_EQ(screen.size(), 7);
    EXPECT_EQ(TabWalk(form_, screen.first(), 8), screen + QStringList{screen.first()});

    auto* browse = Child<QPushButton>(form_, "OldTexButton");
    browse->setFocus();
    QTest::keyClick(browse, Qt::Key_Return);
    EXPECT_EQ(open_calls_.size(), 1) << "Enter opens the file dialog";
    EXPECT_TRUE(form_.isVisible()) << "and does not accept the dialog";
}

TEST_F(DefTextureFormTest, CancelledPickChangesNothing) {
    form_.SetFields("A", "B", "C");
    QTest::mouseClick(Child<QPushButton>(form_, "NewTexButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(form_, "OldTexButton"), Qt::LeftButton);
    EXPECT_EQ(open_calls_.size(), 2);
    EXPECT_EQ(form_.OldTexture() + form_.NewTexture() + form_.Description(), "ABC");
    EXPECT_EQ(form_.TextureDirectory(), "/imagine/Textures");
    EXPECT_TRUE(inquired_.isEmpty());
}

TEST_F(DefTextureFormTest, EnterMovesTheFocusWithoutValidating) {
    ShowActive(form_);
    auto* old_edit = Child<QLineEdit>(form_, "OldTexEdit");
    auto* new_edit = Child<QLineEdit>(form_, "NewTexEdit");
    auto* desc = Child<QLineEdit>(form_, "TexDescriptionEdit");
    ASSERT_TRUE(old_edit->hasFocus());
    QTest::keyClicks(old_edit, "no such file");
    QTest::keyClick(old_edit, Qt::Key_Return);
    EXPECT_TRUE(new_edit->hasFocus());
    QTest::keyClick(new_edit, Qt::Key_Return);
    EXPECT_TRUE(desc->hasFocus());
    QTest::keyClick(desc, Qt::Key_Return);
    EXPECT_TRUE(Child<QPushButton>(form_, "AcceptButton")->hasFocus());
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(form_.OldTexture(), "no such file");
}

TEST_F(DefTextureFormTest, DescriptionFieldKeepsAllEighteenCharacters) {
    // A prompt fills the field with a record's description, which may be 18
    // characters long; the field must not lose the last one.
    form_.SetFields("a", "b", "123456789012345678XYZ");
    EXPECT_EQ(form_.Description(), "123456789012345678");
}

TEST_F(DefTextureFormTest, LockedOldTextureStartsTypingInTheNewName) {
    form_.SetOldTextureLocked(true);
    ShowActive(form_);
    EXPECT_FALSE(Child<QPushButton>(form_, "OldTexButton")->isEnabled());
    EXPECT_TRUE(Child<QLineEdit>(form_, "NewTexEdit")->hasFocus());
}

TEST(SplitChosenFileTest, SplitsAtTheSystemSeparatorKeepingItOnlyAtTheRoot) {
    struct Case {
        const char* path;
        const char* directory;
        const char* name;
    };
    const Case cases[] = {
        {"/data/tex/wood.itx", "/data/tex", "wood.itx"},
        {"/wood.itx", "/", "wood.itx"},
        {"wood.itx", "", "wood.itx"},
        // On this system '\' and ':' belong to the file's name.
        {"/data/odd\\name:1.itx", "/data", "odd\\name:1.itx"},
    };
    for (const Case& c : cases) {
        const SplitFilePath split = SplitChosenFile(c.path);
        EXPECT_EQ(split.directory, c.directory) << c.path;
        EXPECT_EQ(split.fileName, c.name) << c.path;
    }
}

}  // namespace
}  // namespace tessvane
