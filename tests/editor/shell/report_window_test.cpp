// Print List in the real window: the print dialog, then the report printed
// to PDF and read back with pdftotext.
#include <QAction>
#include <QDate>
#include <QHeaderView>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QTableWidget>
#include <filesystem>

#include "window_fixture.h"

namespace tessvane::testing {
namespace {

// The scripted print dialog, sending an accepted print job to a PDF file.
class PdfDialogService : public ScriptedDialogService {
  public:
    std::string pdf;

    bool SetupPrinter(QPrinter& printer) override {
        if (!ScriptedDialogService::SetupPrinter(printer)) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    }
};

class ReportWindowTest : public WindowTest {
  protected:
    ReportWindowTest() {
        printing.pdf = dir.File("list.pdf");
        context.ui = &printing;
    }
    ~ReportWindowTest() override { window.reset(); }

    void StartPrinting() {
        window = std::make_unique<TVANEForm>(context, printing);
        window->show();
        QApplication::processEvents();
    }

    void LoadFile(const std::string& path) {
        printing.PlanOpenFile(path);
        Click("Loadbutton");
    }

    // The printed text, one entry per line with words, blanks squeezed.
    QStringList PrintedLines() {
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", QString::fromStdString(printing.pdf), "-"});
        EXPECT_TRUE(pdftotext.waitForFinished(30000));
        QStringList lines;
        for (const QString& line : QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\n'))
            if (!line.simplified().isEmpty()) lines << line.simplified();
        return lines;
    }

    PdfDialogService printing;
};

TEST_F(ReportWindowTest, PrintsOldPathsInTheDetailsOrderWithTheirKinds) {
    const std::string iob =
        MakeFile("chair.iob", IffBuilder("TDDD")
                                  .Chunk("NAME", chunks::Name("CHAIR"))
                                  .Chunk("TXT4", chunks::Txt4("", "Zebra", "/tex/z.itx"))
                                  .Chunk("TXT4", chunks::Txt4("", "Apple", "/tex/a.itx"))
                                  .Chunk("BRS1", chunks::Brs1("/br/b.iff"))
                                  .Chunk("PTFN", chunks::Ptfn("/obj/spark.iob"))
                                  .Build());
    StartPrinting();
    LoadFile(iob);

    // Sorted by description on the Details page, with one directory changed
    // and not saved.
    QHeaderView* heading = Find<QTableWidget>("PathDetailList")->horizontalHeader();
    const QPoint description(heading->sectionViewportPosition(2) + 5, 5);
    QTest::mousePress(heading->viewport(), Qt::LeftButton, {}, description);
    QTest::mouseRelease(heading->viewport(), Qt::LeftButton, {}, description);
    ASSERT_EQ(context.editor.shell.SortMode, kSortByOldDescription);
    TypeEnter("Details_NewPath", "/elsewhere");

    printing.PlanPrint(true);
    Click("PrintButton");
    const QStringList lines = PrintedLines();
    ASSERT_EQ(lines.size(), 7) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], "Texture and Brush Path List for chair.iob");
    EXPECT_EQ(lines[1], "Part FileName Type Path / Directory");
    EXPECT_EQ(lines[2], "CHAIR b.iff Brush /br");
    EXPECT_EQ(lines[3], "CHAIR a.itx Texture /tex");
    EXPECT_EQ(lines[4], "CHAIR spark.iob Particle Object /obj");
    EXPECT_EQ(lines[5], "CHAIR z.itx Texture /tex");
    // The footer as printed: "Page" apart from its number, the whole date.
    EXPECT_EQ(lines[6], "Tessvane v2.2.1 Page 1 " +
                            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

TEST_F(ReportWindowTest, ProjectFileTitleAndNameHeadingAndCancelPrintsNothing) {
    const std::string ist = MakeFile(
        "scene.ist",
        IffBuilder("ISTG").Chunk("FIL3", chunks::Fil3("ACTOR1", "/objects/ship.iob")).Build());
    StartPrinting();
    // Without a file nothing can be printed.
    EXPECT_FALSE(Enabled("PrintButton"));
    EXPECT_FALSE(Find<QAction>("Print1")->isEnabled());
    LoadFile(ist);

    printing.PlanPrint(false);
    Find<QAction>("Print1")->trigger();
    EXPECT_FALSE(std::filesystem::exists(printing.pdf));

    printing.PlanPrint(true);
    Find<QAction>("Print1")->trigger();
    const QStringList lines = PrintedLines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "Object and Effects Path List for scene.ist");
    EXPECT_TRUE(lines[1].startsWith("Name FileName Type")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith("ship.iob Object /objects")) << lines[2].toStdString();
}

}  // namespace
}  // namespace tessvane::testing
