#include "PrtList.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace tessvane {

namespace {

// Column positions of the column header and the detail band.
constexpr double kPartX = 13;
constexpr double kFileX = 169;
constexpr double kTypeX = 321;
constexpr double kPathX = 421;
// Page footer positions.
constexpr double kFooterTextX = 13;
constexpr double kPageLabelX = 366;
constexpr double kPageNumberX = 401;
constexpr double kDateX = 688;
constexpr double kDateWidth = 100;
// A column's text is cut where the next column begins; a line that does not
// fit stays readable up to there instead of running into its neighbour.
constexpr double kColumnGap = 0;

// Arial where the system has it; otherwise fontconfig's metric-compatible
// stand-in (Liberation Sans), so column positions keep their meaning.
QFont ReportFont(int pixel_size, bool bold, bool underline, bool narrow = false) {
    QFont font;
    QStringList families;
    if (narrow)
        families << QStringLiteral("Arial Narrow") << QStringLiteral("Liberation Sans Narrow");
    families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans");
    font.setFamilies(families);
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void DrawCell(QPainter& painter, double x, double right, double y, double height,
              const QString& text, Qt::Alignment align = Qt::AlignLeft, int flags = 0) {
    if (right <= x) return;
    painter.drawText(QRectF(x, y, right - x, height), int(align | Qt::AlignVCenter) | flags, text);
}

}  // namespace

QString ReportKindWord(PathKind kind) {
    switch (kind) {
        case PathKind::Texture:
            return QStringLiteral("Texture");
        case PathKind::Brush:
            return QStringLiteral("Brush");
        case PathKind::Object:
            return QStringLiteral("Object");
        case PathKind::Effect:
            return QStringLiteral("Effect");
        case PathKind::ParticleObject:
            return QStringLiteral("Particle Object");
    }
    return QString();
}

QString TTDDDReport::FooterText() {
    return QStringLiteral("Tessvane v2.2.1");
}

void TTDDDReport::RepBeforePrint(const ReportContent& content) {
    if (content.isProject) {
        partHeading_ = QStringLiteral("Name");
        title_ = QStringLiteral("Object and Effects Path List for ") + content.fileName;
    } else {
        partHeading_ = QStringLiteral("Part");
        title_ = QStringLiteral("Texture and Brush Path List for ") + content.fileName;
    }
    rowCounter_ = 0;
}

bool TTDDDReport::RepNeedData(const ReportContent& content) {
    ++rowCounter_;
    return rowCounter_ <= content.rows.size();
}

void TTDDDReport::DrawPageHeader(QPainter& painter, double width) const {
    painter.setFont(ReportFont(20, true, true, true));
    DrawCell(painter, 0, width, 0, kPageHeaderHeight, title_, Qt::AlignHCenter);
}

void TTDDDReport::DrawColumnHeader(QPainter& painter, double y, double width) const {
    painter.setFont(ReportFont(15, true, true));
    DrawCell(painter, kPartX, kFileX - kColumnGap, y, kColumnHeaderHeight, partHeading_);
    DrawCell(painter, kFileX, kTypeX - kColumnGap, y, kColumnHeaderHeight,
             QStringLiteral("FileName"));
    DrawCell(painter, kTypeX, kPathX - kColumnGap, y, kColumnHeaderHeight, QStringLiteral("Type"));
    DrawCell(painter, kPathX, width, y, kColumnHeaderHeight, QStringLiteral("Path / Directory"));
}

void TTDDDReport::DrawDetail(QPainter& painter, double y, double width,
                             const ReportRow& row) const {
    painter.setFont(ReportFont(15, false, false));
    DrawCell(painter, kPartX, kFileX - kColumnGap, y, kDetailHeight, row.part);
    DrawCell(painter, kFileX, kTypeX - kColumnGap, y, kDetailHeight, row.fileName);
    DrawCell(painter, kTypeX, kPathX - kColumnGap, y, kDetailHeight, row.kind);
    DrawCell(painter, kPathX, width, y, kDetailHeight, row.directory);
}

void TTDDDReport::DrawPageFooter(QPainter& painter, double y, double width, int page,
                                 const QString& date) const {
    const QFont font = ReportFont(15, false, false);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    DrawCell(painter, kFooterTextX, kPageLabelX - kColumnGap, y, kPageFooterHeight, FooterText());
    // "Page" is about as wide as its slot: the number keeps a blank's width
    // from it, so the two never run together.
    const QString label = QStringLiteral("Page");
    DrawCell(painter, kPageLabelX, kPageNumberX - kColumnGap, y, kPageFooterHeight, label,
             Qt::AlignLeft, Qt::TextDontClip);
    const double numberX =
        std::max(kPageNumberX, kPageLabelX + metrics.horizontalAdvance(label + QLatin1Char(' ')));
    DrawCell(painter, numberX, kDateX - kColumnGap, y, kPageFooterHeight, QString::number(page));
    // Right-aligned in its box; a date in a long format grows to the left
    // rather than losing its first characters.
    DrawCell(painter, kDateX, std::min(width, kDateX + kDateWidth), y, kPageFooterHeight, date,
             Qt::AlignRight, Qt::TextDontClip);
}

int TTDDDReport::Print(QPrinter& printer, const ReportContent& content) {
    RepBeforePrint(content);
    printer.setPageOrientation(QPageLayout::Portrait);

    QPainter painter;
    if (!painter.begin(&printer)) return 0;

    // Draw in report units; the painter maps them to printer pixels.
    const double scale = printer.resolution() / 96.0;
    painter.scale(scale, scale);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    // The band is centred on what the paper can show of it, so a title is
    // never centred beyond the page edge on paper narrower than the band.
    const double width = std::min<double>(kBandWidth, area.width() / scale);
    const double height = area.height() / scale;
    const double body = height - kPageHeaderHeight - kColumnHeaderHeight - kPageFooterHeight;
    const size_t rows_per_page = std::max<size_t>(1, size_t(std::floor(body / kDetailHeight)));

    const int first_page = printer.fromPage();  // 0: no range chosen
    const int last_page = printer.toPage();
    int page = 0;
    int printed = 0;
    // At least one page, even for a file without rows, so the title shows.
    do {
        ++page;
        const bool wanted =
            (first_page == 0 || page >= first_page) && (last_page == 0 || page <= last_page);
        if (wanted) {
            if (printed > 0) printer.newPage();
            DrawPageHeader(painter, width);
            DrawColumnHeader(painter, kPageHeaderHeight, width);
        }
        double y = kPageHeaderHeight + kColumnHeaderHeight;
        for (size_t n = 0; n < rows_per_page && rowCounter_ < content.rows.size(); ++n) {
            RepNeedData(content);
            if (wanted) DrawDetail(painter, y, width, content.rows[rowCounter_ - 1]);
            y += kDetailHeight;
        }
        if (wanted) {
            DrawPageFooter(painter, height - kPageFooterHeight, width, page, content.date);
            ++printed;
        }
    } while (rowCounter_ < content.rows.size() && (last_page == 0 || page < last_page));

    painter.end();
    return printed;
}

}  // namespace tessvane
