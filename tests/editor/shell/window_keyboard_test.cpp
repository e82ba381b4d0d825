// The window with the keyboard: Enter presses the focused button, and the
// focus is drawn from the start.
#include <QPushButton>
#include <QTabWidget>

#include "help_window.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

class KeyboardTest : public WindowTest {
  protected:
    void StartActive() {
        Start();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
};

TEST_F(KeyboardTest, EnterPressesTheFocusedButton) {
    StartActive();
    struct Case {
        Page page;
        const char* button;
        Qt::Key key;
        std::string event;  // what the press shows through the dialogs
    };
    const std::vector<Case> cases = {
        {Page::Summary, "Loadbutton", Qt::Key_Return, "open: Select Imagine Object File"},
        {Page::Summary, "AboutButton", Qt::Key_Enter, "about"},
        {Page::Options, "ImagineDirButton", Qt::Key_Return,
         "directory: Select Imagine Program Directory"},
        {Page::Batch, "SelectFilesButton", Qt::Key_Return, "open: Select Imagine Object Files"},
    };
    for (const Case& c : cases) {
        ShowPage(c.page);
        auto* button = Find<QPushButton>(c.button);
        button->setFocus();
        ASSERT_TRUE(button->hasFocus()) << c.button;
        const std::size_t before = dialogs.events.size();
        QTest::keyClick(button, c.key);
        ASSERT_EQ(dialogs.events.size(), before + 1) << c.button;
        EXPECT_EQ(dialogs.events.back(), c.event);
    }
    auto* help = Find<QPushButton>("HelpButton");
    help->setFocus();
    QTest::keyClick(help, Qt::Key_Return);
    ASSERT_NE(window->Help(), nullptr);
    EXPECT_TRUE(window->Help()->isVisible());
}

TEST_F(KeyboardTest, TheFocusIsDrawnFromTheStart) {
    StartActive();
    auto* load = Find<QPushButton>("Loadbutton");
    ASSERT_TRUE(load->hasFocus()) << "Load has the focus at start";
    const QImage focused = load->grab().toImage();
    Find<QPushButton>("HelpButton")->setFocus();
    ASSERT_FALSE(load->hasFocus());
    EXPECT_NE(load->grab().toImage(), focused) << "the focus is seen on the button";
}

}  // namespace
}  // namespace tessvane::testing
