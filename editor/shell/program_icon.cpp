#include "program_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cassert>
#include <utility>
#include <vector>

namespace tessvane {
namespace {

// The icon is laid out on a square of 256 units; each canvas maps the units
// to its own output.
constexpr double kUnits = 256;

// The rounded square that holds the picture, and the horizon inside it.
constexpr double kFrame = 8;
constexpr double kFrameSize = kUnits - 2 * kFrame;
constexpr double kFrameRadius = 44;
constexpr double kHorizon = 150;

struct GradientStop {
    double at;
    QColor color;
};

// A solid colour, or a gradient that runs from top (y0) to bottom (y1).
struct Fill {
    QColor color;
    std::vector<GradientStop> stops;
    double y0 = 0;
    double y1 = 0;
};

Fill Solid(QColor color) {
    return Fill{color, {}, 0, 0};
}

struct Stroke {
    QColor color;
    double width = 0;  // 0: no outline
};

// What the drawing needs from its output. The painter canvas draws pixels,
// the SVG canvas writes elements; both get the very same calls.
class IconCanvas {
  public:
    virtual ~IconCanvas() = default;
    virtual void RoundedSquare(const Fill& fill) = 0;
    // Everything up to EndClip stays inside the rounded square.
    virtual void ClipToRoundedSquare() = 0;
    virtual void EndClip() = 0;
    virtual void Polygon(const std::vector<QPointF>& points, const Fill& fill,
                         const Stroke& stroke) = 0;
    virtual void Line(QPointF from, QPointF to, const Stroke& stroke) = 0;
    virtual void Circle(QPointF centre, double radius, const Fill& fill, const Stroke& stroke) = 0;
};

// How much the picture holds at a given pixel size: a 16-pixel icon has room
// for a few tiles and a heavy arrow, a large one for the whole vane.
struct Detail {
    int tileRows;
    int tileColumns;
    double poleWidth;
    double arrowBody;  // half the height of the arrow's shaft
    double arrowHead;  // half the height of its head
    double arrowFins;  // half the height of its tail
    double outline;
    bool crossBars;
    bool hub;
};

Detail DetailFor(int size) {
    if (size <= 24) return {2, 4, 22, 15, 40, 34, 10, false, false};
    if (size <= 64) return {3, 5, 14, 10, 28, 24, 7, false, true};
    return {4, 7, 10, 7, 21, 18, 4, true, true};
}

void DrawFloor(IconCanvas& canvas, const Detail& detail) {
    canvas.ClipToRoundedSquare();
    const double bottom = kFrame + kFrameSize;
    canvas.Polygon({{kFrame, kHorizon}, {bottom, kHorizon}, {bottom, bottom}, {kFrame, bottom}},
                   Solid(QColor(24, 28, 46)), Stroke{});
    // Rows grow deeper towards the viewer, as on a floor seen in perspective.
    const double centre = kUnits / 2;
    for (int r = 0; r < detail.tileRows; ++r) {
        const double t0 = double(r) / detail.tileRows;
        const double t1 = double(r + 1) / detail.tileRows;
        const double y0 = kHorizon + (bottom - kHorizon) * t0 * t0;
        const double y1 = kHorizon + (bottom - kHorizon) * t1 * t1;
        const double half0 = 44 + 150 * t0;
        const double half1 = 44 + 150 * t1;
        for (int c = 0; c < detail.tileColumns; ++c) {
            if ((r + c) % 2 != 0) continue;  // the ground shows between the tiles
            const double u0 = double(c) / detail.tileColumns * 2 - 1;
            const double u1 = double(c + 1) / detail.tileColumns * 2 - 1;
            const int shade = 96 + r * 90 / detail.tileRows;
            canvas.Polygon({{centre + u0 * half0, y0},
                            {centre + u1 * half0, y0},
                            {centre + u1 * half1, y1},
                            {centre + u0 * half1, y1}},
                           Solid(QColor(shade / 2 + 10, shade / 2 + 34, shade + 40)), Stroke{});
        }
    }
    canvas.EndClip();
}

void DrawVane(IconCanvas& canvas, const Detail& detail) {
    const QColor iron(44, 32, 22);
    const double x = kUnits / 2;
    const double arrowY = 70;
    canvas.Line({x, kHorizon + 6}, {x, arrowY}, Stroke{iron, detail.poleWidth});
    if (detail.crossBars) {
        canvas.Line({90, 114}, {166, 114}, Stroke{iron, 6});
        canvas.Line({106, 124}, {150, 104}, Stroke{iron, 6});
    }
    // The arrow: tail fins, shaft and head, pointing right.
    const double b = detail.arrowBody;
    const double h = detail.arrowHead;
    const double f = detail.arrowFins;
    const double tail = 40;
    const double neck = 172;
    const double tip = 220;
    const Stroke outline{QColor(70, 46, 12), detail.outline};
    const Fill gold = Solid(QColor(238, 180, 50));
    canvas.Polygon({{tail, arrowY - f},
                    {tail + 24, arrowY - b},
                    {neck, arrowY - b},
                    {neck, arrowY - h},
                    {tip, arrowY},
                    {neck, arrowY + h},
                    {neck, arrowY + b},
                    {tail + 24, arrowY + b},
                    {tail, arrowY + f},
                    {tail + 12, arrowY}},
                   gold, outline);
    if (detail.hub) canvas.Circle({x, arrowY}, b + 4, gold, outline);
}

void DrawIcon(IconCanvas& canvas, const Detail& detail) {
    Fill sky;
    sky.stops = {{0.0, QColor(22, 38, 88)}, {1.0, QColor(232, 148, 86)}};
    sky.y0 = kFrame;
    sky.y1 = kHorizon;
    canvas.RoundedSquare(sky);
    DrawFloor(canvas, detail);
    DrawVane(canvas, detail);
}

QPainterPath RoundedSquarePath() {
    QPainterPath path;
    path.addRoundedRect(QRectF(kFrame, kFrame, kFrameSize, kFrameSize), kFrameRadius, kFrameRadius);
    return path;
}

class PainterCanvas final : public IconCanvas {
  public:
    explicit PainterCanvas(QPainter& painter) : painter_(painter) {}

    void RoundedSquare(const Fill& fill) override {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(Brush(fill));
        painter_.drawPath(RoundedSquarePath());
    }
    void ClipToRoundedSquare() override {
        painter_.save();
        painter_.setClipPath(RoundedSquarePath());
    }
    void EndClip() override { painter_.restore(); }
    void Polygon(const std::vector<QPointF>& points, const Fill& fill,
                 const Stroke& stroke) override {
        SetPen(stroke);
        painter_.setBrush(Brush(fill));
        painter_.drawPolygon(QPolygonF(QList<QPointF>(points.begin(), points.end())));
    }
    void Line(QPointF from, QPointF to, const Stroke& stroke) override {
        SetPen(stroke);
        painter_.drawLine(from, to);
    }
    void Circle(QPointF centre, double radius, const Fill& fill, const Stroke& stroke) override {
        SetPen(stroke);
        painter_.setBrush(Brush(fill));
        painter_.drawEllipse(centre, radius, radius);
    }

  private:
    static QBrush Brush(const Fill& fill) {
        if (fill.stops.empty()) return QBrush(fill.color);
        QLinearGradient gradient(0, fill.y0, 0, fill.y1);
        for (const GradientStop& stop : fill.stops) gradient.setColorAt(stop.at, stop.color);
        return QBrush(gradient);
    }
    void SetPen(const Stroke& stroke) {
        if (stroke.width <= 0) {
            painter_.setPen(Qt::NoPen);
            return;
        }
        painter_.setPen(
            QPen(stroke.color, stroke.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }

    QPainter& painter_;
};

// Numbers in the SVG: at most two decimals, no trailing zeros, so the
// document is small and the same on every run.
QByteArray Number(double value) {
    QByteArray text = QByteArray::number(value, 'f', 2);
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    if (text == "-0") text = "0";
    return text;
}

QByteArray Colour(const QColor& color) {
    return color.name(QColor::HexRgb).toLatin1();
}

class SvgCanvas final : public IconCanvas {
  public:
    QByteArray Document() const {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n"
               "<title>Tessvane</title>\n" +
               body_ + "</svg>\n";
    }

    void RoundedSquare(const Fill& fill) override {
        body_ +=
            Indent() + "<rect" + RoundedSquareAttributes() + " fill=\"" + Paint(fill) + "\"/>\n";
    }
    void ClipToRoundedSquare() override {
        const QByteArray id = "clip" + QByteArray::number(++ids_);
        body_ += Indent() + "<clipPath id=\"" + id + "\"><rect" + RoundedSquareAttributes() +
                 "/></clipPath>\n";
        body_ += Indent() + "<g clip-path=\"url(#" + id + ")\">\n";
        ++depth_;
    }
    void EndClip() override {
        --depth_;
        body_ += Indent() + "</g>\n";
    }
    void Polygon(const std::vector<QPointF>& points, const Fill& fill,
                 const Stroke& stroke) override {
        QByteArray list;
        for (const QPointF& p : points) {
            if (!list.isEmpty()) list += ' ';
            list += Number(p.x()) + ',' + Number(p.y());
        }
        body_ += Indent() + "<polygon points=\"" + list + "\" fill=\"" + Paint(fill) + "\"" +
                 Outline(stroke) + "/>\n";
    }
    void Line(QPointF from, QPointF to, const Stroke& stroke) override {
        body_ += Indent() + "<line x1=\"" + Number(from.x()) + "\" y1=\"" + Number(from.y()) +
                 "\" x2=\"" + Number(to.x()) + "\" y2=\"" + Number(to.y()) + "\"" +
                 Outline(stroke) + "/>\n";
    }
    void Circle(QPointF centre, double radius, const Fill& fill, const Stroke& stroke) override {
        body_ += Indent() + "<circle cx=\"" + Number(centre.x()) + "\" cy=\"" + Number(centre.y()) +
                 "\" r=\"" + Number(radius) + "\" fill=\"" + Paint(fill) + "\"" + Outline(stroke) +
                 "/>\n";
    }

  private:
    static QByteArray RoundedSquareAttributes() {
        return " x=\"" + Number(kFrame) + "\" y=\"" + Number(kFrame) + "\" width=\"" +
               Number(kFrameSize) + "\" height=\"" + Number(kFrameSize) + "\" rx=\"" +
               Number(kFrameRadius) + "\"";
    }
    QByteArray Indent() const { return QByteArray(2 * depth_, ' '); }
    // A solid colour, or a reference to a gradient written just before.
    QByteArray Paint(const Fill& fill) {
        if (fill.stops.empty()) return Colour(fill.color);
        const QByteArray id = "sky" + QByteArray::number(++ids_);
        body_ += Indent() + "<linearGradient id=\"" + id +
                 "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" + Number(fill.y0) +
                 "\" x2=\"0\" y2=\"" + Number(fill.y1) + "\">";
        for (const GradientStop& stop : fill.stops)
            body_ += "<stop offset=\"" + Number(stop.at) + "\" stop-color=\"" + Colour(stop.color) +
                     "\"/>";
        body_ += "</linearGradient>\n";
        return "url(#" + id + ")";
    }
    static QByteArray Outline(const Stroke& stroke) {
        if (stroke.width <= 0) return {};
        return " stroke=\"" + Colour(stroke.color) + "\" stroke-width=\"" + Number(stroke.width) +
               "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    }

    QByteArray body_;
    int ids_ = 0;
    int depth_ = 0;
};

}  // namespace

QImage DrawProgramIcon(int size) {
    assert(size > 0);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kUnits, size / kUnits);
    PainterCanvas canvas(painter);
    DrawIcon(canvas, DetailFor(size));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray ProgramIconSvg() {
    SvgCanvas canvas;
    DrawIcon(canvas, DetailFor(int(kUnits)));
    return canvas.Document();
}

QString ProgramIconPngPath(int size) {
    return QStringLiteral("hicolor/%1x%1/apps/tessvane.png").arg(size);
}

QString ProgramIconSvgPath() {
    return QStringLiteral("hicolor/scalable/apps/tessvane.svg");
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : kProgramIconSizes)
        icon.addFile(QStringLiteral(":/icons/") + ProgramIconPngPath(size), QSize(size, size));
    return icon;
}

}  // namespace tessvane
