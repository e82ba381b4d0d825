// Help beside the window: where it opens, the keys that close it, and help
// asked for from a warning while the warning waits for its answer.
#include <QMessageBox>
#include <QScrollBar>
#include <QTextBrowser>

#include "help_window.h"
#include "lists_test_dialogs.h"
#include "qt_dialog_service.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

TEST(HelpWindowGeometryTest, BesideTheOwnerWhereThereIsRoomAndOverItOnlyWhenThereIsNone) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize help(560, 560);
    struct Case {
        const char* what;
        QRect owner;
        QRect screen;
        QRect want;
    };
    const Case cases[] = {
        {"room on the right", {200, 100, 535, 460}, screen, {743, 100, 560, 560}},
        {"only the left has room", {1300, 100, 535, 460}, screen, {732, 100, 560, 560}},
        {"narrowed to the room on the right",
         {100, 100, 535, 460},
         {0, 0, 1100, 1080},
         {643, 100, 457, 560}},
        {"no readable room: over the owner at the screen's edge",
         {100, 100, 535, 460},
         {0, 0, 800, 600},
         {240, 40, 560, 560}},
        {"kept on the screen below", {200, 900, 535, 460}, screen, {743, 520, 560, 560}},
        {"a screen lower than the help", {200, 0, 535, 300}, {0, 0, 1920, 400}, {743, 0, 560, 400}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HelpWindowGeometry(c.owner, help, c.screen), c.want) << c.what;
        const QRect got = HelpWindowGeometry(c.owner, help, c.screen);
        EXPECT_TRUE(c.screen.contains(got)) << c.what;
    }
}

using HelpBesideTest = WindowTest;

TEST_F(HelpBesideTest, OpensBesideTheWindowAndClosesWithEscapeOrCtrlW) {
    Start();
    Click("HelpButton");
    HelpWindow* help = window->Help();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->parentWidget(), nullptr) << "no message box may block it";
    const QRect want = HelpWindowGeometry(window->frameGeometry(), help->size(),
                                          window->screen()->availableGeometry());
    EXPECT_EQ(help->frameGeometry().topLeft(), want.topLeft());
    EXPECT_EQ(help->size(), want.size());

    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence("Ctrl+W")}) {
        Click("HelpButton");
        help->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(help));
        QTest::keySequence(help, keys);
        EXPECT_FALSE(help->isVisible()) << keys.toString().toStdString();
    }

    // Closing the main window closes its help.
    Click("HelpButton");
    window->close();
    EXPECT_FALSE(help->isVisible());
}

// Help from a warning: the warning stays open, the help takes the keyboard,
// the focus goes back to the warning, and Enter then answers the warning.
TEST_F(HelpBesideTest, HelpFromAWarningIsUsableWhileTheWarningWaits) {
    Start();
    window->activateWindow();
    QtDialogService service;
    service.SetParent(window.get());
    service.SetHelpHandler([this](int context) { window->ShowHelpContext(context); });

    bool answered = false;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        ASSERT_NE(box.button(QMessageBox::Help), nullptr);
        QTest::mouseClick(box.button(QMessageBox::Help), Qt::LeftButton);
        WhenShown<QMessageBox>([&](QMessageBox& again) {
            HelpWindow* help = window->Help();
            ASSERT_NE(help, nullptr);
            EXPECT_TRUE(help->isVisible());
            EXPECT_EQ(help->CurrentTopic(), "pc-directory");
            EXPECT_TRUE(QTest::qWaitForWindowActive(&again)) << "the focus is back on the box";
            EXPECT_TRUE(again.button(QMessageBox::Ok)->hasFocus());

            // Keys reach the help although the box is open: it scrolls.
            QScrollBar* bar = help->Browser()->verticalScrollBar();
            help->Browser()->setFocus();
            const int before = bar->value();
            QTest::keyClick(help->windowHandle(), Qt::Key_PageDown);
            EXPECT_GT(bar->value(), before);
            // It takes the focus and closes with Escape, the box still open.
            help->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(help));
            QTest::keyClick(help, Qt::Key_Escape);
            EXPECT_FALSE(help->isVisible());
            EXPECT_TRUE(again.isVisible());

            // Enter answers the warning instead of asking for help again.
            QTest::keyClick(&again, Qt::Key_Return);
            answered = true;
        });
    });
    Message message;
    message.kind = MessageKind::WarningWithHelp;
    message.text = "Invalid PC Directory found";
    message.buttons = MessageButtons::OkHelp;
    message.helpContext = 36;
    EXPECT_EQ(service.ShowMessage(message), MessageAnswer::Ok);
    EXPECT_TRUE(answered);
    EXPECT_FALSE(window->Help()->isVisible()) << "not opened a second time";
    ExpectEveryAnswerTaken();
}

}  // namespace
}  // namespace tessvane::testing
