#include "ToolIcon.h"

#include "pages/DrawnIcon.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// An arc of a radio wave: the part of the circle through `from` and `to`
// with radius `r`, bulging left (`left`) or right, as the drawing's SVG arcs.
void WaveArc(QPainter& p, QPointF from, QPointF to, double r, bool left) {
    const QPointF middle = (from + to) / 2;
    const double half = (to.y() - from.y()) / 2;
    const double offset = std::sqrt(std::max(r * r - half * half, 0.0));
    const QPointF centre(middle.x() + (left ? offset : -offset), middle.y());
    const QRectF circle(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    const double angle = std::asin(std::min(half / r, 1.0)) * 180 / std::numbers::pi;
    // Qt's angles go anticlockwise from three o'clock, y upwards.
    const double start = left ? 180 - angle : -angle;
    p.drawArc(circle, int(start * 16), int(2 * angle * 16));
}

} // namespace

void PaintToolIcon(QPainter& p) {
    // The drawing is made on a 48 x 48 grid.
    p.scale(16.0 / 48, 16.0 / 48);

    // Radio waves around the antenna tip.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x1e, 0x88, 0xe5), 1.8, Qt::SolidLine, Qt::RoundCap));
    WaveArc(p, {31.5, 3.5}, {31.5, 10.5}, 5, true);
    WaveArc(p, {40.5, 3.5}, {40.5, 10.5}, 5, false);
    WaveArc(p, {28.5, 1.5}, {28.5, 12.5}, 8.5, true);
    WaveArc(p, {43.5, 1.5}, {43.5, 12.5}, 8.5, false);

    // The antenna.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x26, 0x32, 0x38));
    p.drawRoundedRect(QRectF(34.8, 7, 2.4, 12), 1, 1);
    p.drawEllipse(QPointF(36, 7), 2, 2);

    // The panel's case and its face.
    p.setBrush(QColor(0x37, 0x47, 0x4f));
    p.drawRoundedRect(QRectF(5, 16, 38, 30), 4, 4);
    p.setBrush(QColor(0xec, 0xef, 0xf1));
    p.drawRoundedRect(QRectF(7.5, 18.5, 33, 25), 2.5, 2.5);

    // The shield on the panel's face, with its tick.
    QPainterPath shield;
    shield.moveTo(24, 20.5);
    shield.lineTo(33, 23.5);
    shield.lineTo(33, 30.5);
    shield.cubicTo(33, 36, 29, 39.5, 24, 41.5);
    shield.cubicTo(19, 39.5, 15, 36, 15, 30.5);
    shield.lineTo(15, 23.5);
    shield.closeSubpath();
    p.setBrush(QColor(0xe5, 0x39, 0x35));
    p.drawPath(shield);
    QPainterPath tick;
    tick.moveTo(19.5, 30.5);
    tick.lineTo(22.8, 33.8);
    tick.lineTo(28.8, 27);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);

    // The status lamp.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x43, 0xa0, 0x47));
    p.drawEllipse(QPointF(11.5, 22.5), 1.6, 1.6);
}

QIcon ToolIcon() {
    // The window system is given the 48-pixel picture and scales it, as it
    // did the image file: each size given is drawn at every start.
    return DrawnIcon(QStringLiteral("tarvik1"), PaintToolIcon, {QSize(48, 48)});
}
