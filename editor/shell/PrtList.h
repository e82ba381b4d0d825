#pragma once

#include <QString>
#include <vector>

#include "core/object_file.h"

class QPainter;
class QPrinter;

namespace tessvane {

// One printed line: a path as it was read from the file.
struct ReportRow {
    QString part;       // part name (object name in a project file)
    QString fileName;   // old file name
    QString kind;       // kind word: "Texture", "Brush", "Object", ...
    QString directory;  // old directory
};

// The Type column's word for a record kind. Particle objects get a word of
// their own rather than the word of the row above.
QString ReportKindWord(PathKind kind);

// Everything the path list prints. The caller collects the rows in the
// order the Details page shows them.
struct ReportContent {
    bool isProject = false;  // project files list objects and effects
    QString fileName;        // the file's name, shown in the title
    std::vector<ReportRow> rows;
    QString date;  // printed in every page footer
};

// The printed path list of the held file: a banded report drawn with
// QPainter. Every page has a page header (the title), a column header, as
// many detail rows as fit, and a page footer with the program's name and
// version, the page number and the date.
//
// Band geometry is given in report units of 1/96 inch, so the printout looks
// the same on every printer resolution.
class TTDDDReport {
  public:
    // Band heights and column positions in report units.
    static constexpr int kPageHeaderHeight = 36;
    static constexpr int kColumnHeaderHeight = 36;
    static constexpr int kDetailHeight = 25;
    static constexpr int kPageFooterHeight = 36;
    static constexpr int kBandWidth = 1200;

    // Prints `content` on `printer` (already set up, e.g. by the print
    // dialog). A page range chosen in the print dialog is honoured. Returns
    // the number of pages printed; 0 when the printer could not be started,
    // in which case the printing system has reported why.
    int Print(QPrinter& printer, const ReportContent& content);

    // The texts the report sets before printing, exposed for the window.
    QString Title() const { return title_; }
    QString PartHeading() const { return partHeading_; }
    static QString FooterText();

  private:
    // Sets title, headings and footer from the content; resets the row counter.
    void RepBeforePrint(const ReportContent& content);
    // Advances to the next row; false when every row has been printed.
    bool RepNeedData(const ReportContent& content);

    void DrawPageHeader(QPainter& painter, double width) const;
    void DrawColumnHeader(QPainter& painter, double y, double width) const;
    void DrawDetail(QPainter& painter, double y, double width, const ReportRow& row) const;
    void DrawPageFooter(QPainter& painter, double y, double width, int page,
                        const QString& date) const;

    QString title_;
    QString partHeading_;
    size_t rowCounter_ = 0;
};

}  // namespace tessvane
