// The help document and its viewer: every topic the window can ask for
// exists in the document, and the viewer lands on the topic asked for.
#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <filesystem>

#include "help_topics.h"
#include "help_window.h"
#include "lists_test_app.h"

namespace tessvane {
namespace {

QSet<QString> DocumentAnchors() {
    QFile file(":/help/Tessvane.html");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QSet<QString> anchors;
    static const QRegularExpression id(R"re((?:id|name)="([^"]+)")re");
    for (auto match = id.globalMatch(html); match.hasNext();) anchors << match.next().captured(1);
    return anchors;
}

TEST(HelpDocumentTest, HoldsEveryPageTopicAndEveryContextTopic) {
    testing::TestApplication();
    const QSet<QString> anchors = DocumentAnchors();
    for (int page = -1; page <= 6; ++page)
        EXPECT_TRUE(anchors.contains(HelpTopicForPage(page)))
            << HelpTopicForPage(page).toStdString();
    for (int context = 1; context <= 40; ++context) {
        const QString topic = HelpTopicForContext(context);
        if (!topic.isEmpty()) {
            EXPECT_TRUE(anchors.contains(topic)) << context;
        }
    }
}

TEST(HelpTopicsTest, PagesAndControlsMapToTheirTopics) {
    const QStringList pages = {"summary", "details", "options", "dirdefaults", "textures", "batch"};
    for (int i = 0; i < pages.size(); ++i) EXPECT_EQ(HelpTopicForPage(i), pages[i]);
    EXPECT_EQ(HelpTopicForPage(6), "contents");

    struct Case {
        const char* control;
        int context;
    };
    const Case cases[] = {{"Loadbutton", 10},    {"CloseButton", 10},      {"SummaryList", 12},
                          {"Update", 16},        {"PathDetailList", 18},   {"PrintButton", 22},
                          {"ComputerGroup", 25}, {"DirValidationBox", 28}, {"AboutButton", 31},
                          {"AddDirButton", 0},   {"ProcessButton", 0}};
    for (const Case& c : cases) EXPECT_EQ(HelpContextOf(c.control), c.context) << c.control;
    EXPECT_EQ(HelpTopicForContext(36), "pc-directory");
    EXPECT_EQ(HelpTopicForContext(35), "amiga-directory");
    EXPECT_TRUE(HelpTopicForContext(11).isEmpty());
}

TEST(HelpWindowTest, OpensAtTheTopicAskedForAndMovesBetweenTopics) {
    testing::TestApplication();
    HelpWindow help;
    help.ShowTopic("dirdefaults");
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.CurrentTopic(), "dirdefaults");
    EXPECT_TRUE(help.Browser()->toPlainText().contains("Directory Defaults"));
    help.ShowTopic("batch");
    EXPECT_EQ(help.CurrentTopic(), "batch");

    // The viewer really moves to the topic: the batch topic lies far down the
    // document, the contents at its top.
    QApplication::processEvents();
    const int batch_position = help.Browser()->verticalScrollBar()->value();
    EXPECT_GT(batch_position, 0);
    help.ShowTopic("contents");
    QApplication::processEvents();
    EXPECT_LT(help.Browser()->verticalScrollBar()->value(), batch_position);
}

TEST(HelpWindowTest, MissingDocumentIsReportedInTheViewer) {
    testing::TestApplication();
    HelpWindow help(nullptr, QUrl::fromLocalFile("/nonexistent/Tessvane.html"));
    help.ShowTopic("summary");
    EXPECT_TRUE(help.isVisible());
    EXPECT_TRUE(help.Browser()->toPlainText().contains("could not be found"));
    EXPECT_TRUE(help.Browser()->toPlainText().contains("/nonexistent/Tessvane.html"));
}

TEST(HelpWindowTest, AnInstalledProgramReadsTheInstalledDocumentElseTheBuiltInOne) {
    testing::TestApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path prefix = dir.path().toStdString();
    const std::filesystem::path bin = prefix / "bin";
    const std::filesystem::path help = prefix / "share" / "tessvane" / "help";
    std::filesystem::create_directories(bin);
    const QUrl builtIn(QStringLiteral("qrc:/help/Tessvane.html"));

    // A program copied alone, then an installed one whose help file is gone.
    EXPECT_EQ(HelpWindow::DocumentFor(bin), builtIn);
    std::filesystem::create_directories(help);
    EXPECT_EQ(HelpWindow::DocumentFor(bin), builtIn);
    EXPECT_EQ(HelpWindow::Describe(builtIn), "built into the program");

    // Installed: the file beside the program's tree, shown at its topics.
    ASSERT_TRUE(QFile::copy(":/help/Tessvane.html",
                            QString::fromStdString((help / "Tessvane.html").string())));
    const QUrl installed = HelpWindow::DocumentFor(bin);
    EXPECT_EQ(installed,
              QUrl::fromLocalFile(QString::fromStdString((help / "Tessvane.html").string())));
    EXPECT_EQ(HelpWindow::Describe(installed).toStdString(), (help / "Tessvane.html").string());
    HelpWindow window(nullptr, installed);
    window.ShowTopic("batch");
    EXPECT_EQ(window.CurrentTopic(), "batch");
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Directory Defaults"));
}

}  // namespace
}  // namespace tessvane
