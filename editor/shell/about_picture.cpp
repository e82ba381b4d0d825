#include "about_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tessvane {
namespace {

// A tiled floor seen in perspective: rows of quads that shrink towards the horizon.
void DrawFloor(QPainter& p, int width, int height, int horizon) {
    const int rows = 7;
    const int cols = 9;
    const double cx = width / 2.0;
    for (int r = 0; r < rows; ++r) {
        const double t0 = static_cast<double>(r) / rows;
        const double t1 = static_cast<double>(r + 1) / rows;
        // Depth grows quadratically so the near rows are deeper than the far ones.
        const double y0 = horizon + (height - horizon) * t0 * t0;
        const double y1 = horizon + (height - horizon) * t1 * t1;
        const double half0 = width * (0.2 + 0.9 * t0);
        const double half1 = width * (0.2 + 0.9 * t1);
        for (int c = 0; c < cols; ++c) {
            const double u0 = static_cast<double>(c) / cols * 2.0 - 1.0;
            const double u1 = static_cast<double>(c + 1) / cols * 2.0 - 1.0;
            QPolygonF quad;
            quad << QPointF(cx + u0 * half0, y0) << QPointF(cx + u1 * half0, y0)
                 << QPointF(cx + u1 * half1, y1) << QPointF(cx + u0 * half1, y1);
            const bool dark = ((r + c) % 2) == 0;
            const int shade = 70 + r * 14;
            p.setBrush(dark ? QColor(shade / 2, shade / 2 + 20, shade)
                            : QColor(shade + 60, shade + 70, shade + 90));
            p.drawPolygon(quad);
        }
    }
}

void DrawVane(QPainter& p, double x, double base, double top) {
    p.setPen(QPen(QColor(40, 30, 20), 3));
    p.drawLine(QPointF(x, base), QPointF(x, top));
    // Compass cross.
    p.setPen(QPen(QColor(40, 30, 20), 2));
    p.drawLine(QPointF(x - 26, top + 38), QPointF(x + 26, top + 38));
    p.drawLine(QPointF(x - 14, top + 46), QPointF(x + 14, top + 30));
    // The arrow: a tail of fins, a shaft, a head.
    QPainterPath arrow;
    arrow.moveTo(x - 60, top + 8);
    arrow.lineTo(x - 44, top + 14);
    arrow.lineTo(x + 40, top + 14);
    arrow.lineTo(x + 40, top + 6);
    arrow.lineTo(x + 62, top + 17);
    arrow.lineTo(x + 40, top + 28);
    arrow.lineTo(x + 40, top + 20);
    arrow.lineTo(x - 44, top + 20);
    arrow.lineTo(x - 60, top + 26);
    arrow.lineTo(x - 52, top + 17);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(60, 40, 10), 1));
    p.setBrush(QColor(212, 160, 40));
    p.drawPath(arrow);
    p.setBrush(QColor(212, 160, 40));
    p.drawEllipse(QPointF(x, top + 17), 5, 5);
}

}  // namespace

QImage DrawAboutPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const int horizon = height * 11 / 20;
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(18, 32, 74));
    sky.setColorAt(1.0, QColor(226, 140, 84));
    p.fillRect(0, 0, width, horizon, sky);
    p.fillRect(0, horizon, width, height - horizon, QColor(20, 24, 40));

    p.setPen(QPen(QColor(10, 12, 24), 1));
    DrawFloor(p, width, height, horizon);

    DrawVane(p, width * 0.72, horizon + 6, 40);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(38);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(250, 240, 220));
    p.drawText(QRectF(18, 40, width * 0.6, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tessvane"));
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(13);
    p.setFont(sub);
    p.drawText(QRectF(20, 88, width * 0.6, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("v2.2.1  paths for Imagine objects"));
    return image;
}

}  // namespace tessvane
