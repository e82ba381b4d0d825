// Help in the real window: the Help button opens the topic of the page in
// front, Help Topics the contents, F1 the topic of the focused control.
#include <QAction>
#include <QTabWidget>

#include "help_window.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

using HelpPageTest = WindowTest;

TEST_F(HelpPageTest, HelpButtonOpensTheTopicOfThePageInFront) {
    Start();
    EXPECT_EQ(window->Help(), nullptr);
    const std::pair<Page, const char*> pages[] = {
        {Page::Summary, "summary"},           {Page::Details, "details"},
        {Page::Options, "options"},           {Page::DirectoryDefaults, "dirdefaults"},
        {Page::TextureFilenames, "textures"}, {Page::Batch, "batch"},
    };
    for (const auto& [page, topic] : pages) {
        ShowPage(page);
        Click("HelpButton");
        ASSERT_NE(window->Help(), nullptr);
        EXPECT_TRUE(window->Help()->isVisible());
        EXPECT_EQ(window->Help()->CurrentTopic(), topic);
    }
    Find<QAction>("HelpTopics1")->trigger();
    EXPECT_EQ(window->Help()->CurrentTopic(), "contents");
}

TEST_F(HelpPageTest, F1OpensTheTopicOfTheFocusedControlOrElseOfThePage) {
    Start();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    Find<QWidget>("CloseButton")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    ASSERT_NE(window->Help(), nullptr);
    EXPECT_EQ(window->Help()->CurrentTopic(), "commands");

    // The Options page's "Directories" box carries a number of its own.
    ShowPage(Page::Options);
    QApplication::setActiveWindow(window.get());
    Find<QWidget>("DirValidationBox")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(window->Help()->CurrentTopic(), "options-validate");

    // The list pages' controls carry none: the page's topic opens.
    ShowPage(Page::DirectoryDefaults);
    QApplication::setActiveWindow(window.get());
    Find<QWidget>("AddDirButton")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(window->Help()->CurrentTopic(), "dirdefaults");
}

// A message box's Help gives a context number; its topic opens in the
// window's viewer (window_help_test.cpp shows it usable while the box waits).
TEST_F(HelpPageTest, AContextNumberOpensItsTopicOrTheContents) {
    Start();
    window->ShowHelpContext(35);
    ASSERT_NE(window->Help(), nullptr);
    EXPECT_EQ(window->Help()->CurrentTopic(), "amiga-directory");
    window->ShowHelpContext(99);
    EXPECT_EQ(window->Help()->CurrentTopic(), "contents");
}

}  // namespace
}  // namespace tessvane::testing
