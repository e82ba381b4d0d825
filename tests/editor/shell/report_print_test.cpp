// The printed path list, printed to PDF and read back with pdftotext.
#include <gtest/gtest.h>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "PrtList.h"
#include "lists_test_app.h"

namespace tessvane {
namespace {

class ReportPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApplication();
        ASSERT_TRUE(dir_.isValid());
    }

    // Prints `content` into a PDF and returns its text, one string per page.
    QStringList PrintPages(const ReportContent& content, int from = 0, int to = 0,
                           int* printed = nullptr) {
        const QString pdf = dir_.filePath(QString("report%1.pdf").arg(++count_));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        TTDDDReport report;
        const int pages = report.Print(printer, content);
        if (printed) *printed = pages;
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", pdf, "-"});
        EXPECT_TRUE(pdftotext.waitForFinished(30000));
        EXPECT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
        QStringList text = QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f');
        if (!text.isEmpty() && text.last().trimmed().isEmpty()) text.removeLast();
        return text;
    }

    static ReportContent ObjectContent() {
        ReportContent content;
        content.fileName = "CHAIR.IOB";
        content.date = "09/12/2026";
        content.rows = {
            {"SEAT", "wood.itx", "Texture", "C:\\IMAGINE\\TEXTURES"},
            {"LEG", "metal.iff", "Brush", "D:\\BRUSHES"},
            {"SPARKS", "spark.iob", "Particle Object", "DH0:Objects"},
            {"BACK", "cloth.itx", "Texture", ""},
        };
        return content;
    }

    QTemporaryDir dir_;
    int count_ = 0;
};

// Lines of a page's text that hold words, with runs of blanks squeezed.
QStringList Lines(const QString& page) {
    QStringList lines;
    for (QString line : page.split('\n')) {
        line = line.simplified();
        if (!line.isEmpty()) lines << line;
    }
    return lines;
}

TEST_F(ReportPrintTest, ObjectFilePrintsTitleHeadingsRowsInOrderAndFooter) {
    const QStringList pages = PrintPages(ObjectContent());
    ASSERT_EQ(pages.size(), 1);
    const QStringList lines = Lines(pages[0]);
    ASSERT_EQ(lines.size(), 7) << pages[0].toStdString();
    EXPECT_EQ(lines[0], "Texture and Brush Path List for CHAIR.IOB");
    EXPECT_EQ(lines[1], "Part FileName Type Path / Directory");
    EXPECT_EQ(lines[2], "SEAT wood.itx Texture C:\\IMAGINE\\TEXTURES");
    EXPECT_EQ(lines[3], "LEG metal.iff Brush D:\\BRUSHES");
    EXPECT_EQ(lines[4], "SPARKS spark.iob Particle Object DH0:Objects");
    EXPECT_EQ(lines[5], "BACK cloth.itx Texture");
    EXPECT_EQ(lines[6], "Tessvane v2.2.1 Page 1 09/12/2026");
}

TEST_F(ReportPrintTest, ProjectFilePrintsNameHeadingAndObjectTitle) {
    ReportContent content = ObjectContent();
    content.isProject = true;
    content.fileName = "SCENE.IST";
    const QStringList lines = Lines(PrintPages(content).value(0));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "Object and Effects Path List for SCENE.IST");
    EXPECT_TRUE(lines[1].startsWith("Name FileName Type")) << lines[1].toStdString();
}

TEST_F(ReportPrintTest, LongListRunsOverPagesWithHeadersAndFootersOnEach) {
    ReportContent content = ObjectContent();
    content.rows.clear();
    for (int i = 1; i <= 90; ++i)
        content.rows.push_back({QString("P%1").arg(i), "f.itx", "Texture", "C:\\T"});
    const QStringList pages = PrintPages(content);
    ASSERT_GE(pages.size(), 2);
    int next = 1;
    for (int p = 0; p < pages.size(); ++p) {
        const QStringList lines = Lines(pages[p]);
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines.first(), "Texture and Brush Path List for CHAIR.IOB");
        EXPECT_EQ(lines[1], "Part FileName Type Path / Directory");
        EXPECT_EQ(lines.last(), QString("Tessvane v2.2.1 Page %1 09/12/2026").arg(p + 1));
        for (int l = 2; l + 1 < lines.size(); ++l)
            EXPECT_EQ(lines[l], QString("P%1 f.itx Texture C:\\T").arg(next++));
    }
    EXPECT_EQ(next, 91) << "every row printed once, in order";
}

TEST_F(ReportPrintTest, ChosenPageRangeIsHonoured) {
    ReportContent content = ObjectContent();
    content.rows.clear();
    for (int i = 1; i <= 90; ++i)
        content.rows.push_back({QString("P%1").arg(i), "f.itx", "Texture", "C:\\T"});
    int printed = 0;
    const QStringList pages = PrintPages(content, 2, 2, &printed);
    EXPECT_EQ(printed, 1);
    ASSERT_EQ(pages.size(), 1);
    const QStringList lines = Lines(pages[0]);
    EXPECT_EQ(lines.last(), "Tessvane v2.2.1 Page 2 09/12/2026");
    EXPECT_FALSE(pages[0].contains("P1 f.itx"));
}

TEST_F(ReportPrintTest, FooterShowsTheWholeDateAndPageApartFromItsNumber) {
    // Dates as the system's short format may give them, up to a long one.
    for (const QString date : {"10/12/2026", "10 Dec 2026", "Thursday, 10 December 2026"}) {
        ReportContent content = ObjectContent();
        content.date = date;
        const QStringList pages = PrintPages(content);
        ASSERT_EQ(pages.size(), 1);
        EXPECT_EQ(Lines(pages[0]).last(), "Tessvane v2.2.1 Page 1 " + date);
    }
}

TEST_F(ReportPrintTest, FileWithoutRowsStillPrintsOnePage) {
    ReportContent content = ObjectContent();
    content.rows.clear();
    int printed = 0;
    const QStringList pages = PrintPages(content, 0, 0, &printed);
    EXPECT_EQ(printed, 1);
    const QStringList lines = Lines(pages.value(0));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], "Tessvane v2.2.1 Page 1 09/12/2026");
}

}  // namespace
}  // namespace tessvane
