#include "ChannelIcons.h"

#include "ChannelItems.h"
#include "DrawnIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

namespace {

constexpr int kSide = 16;

void PaintCross(QPainter& p) {
    // A dark rim under the red strokes keeps the cross readable on the
    // selection colour.
    for (const auto& [colour, width] :
         {std::pair{QColor(120, 0, 0), 4.2}, std::pair{QColor(230, 30, 30), 2.6}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    }
}

void PaintHandset(QPainter& p, const QPointF& at, double size, const QColor& colour) {
    // A telephone handset: two ear pieces joined by a bent grip.
    QPainterPath grip;
    grip.moveTo(at.x(), at.y() + size * 0.35);
    grip.quadTo(at.x() + size * 0.5, at.y() - size * 0.15, at.x() + size, at.y() + size * 0.35);
    p.setPen(QPen(colour, size * 0.28, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(grip);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(at.x() - size * 0.12, at.y() + size * 0.3, size * 0.38, size * 0.3), 1, 1);
    p.drawRoundedRect(QRectF(at.x() + size * 0.74, at.y() + size * 0.3, size * 0.38, size * 0.3), 1, 1);
}

void PaintComputerPhone(QPainter& p) {
    // The monitor with its stand.
    p.setPen(QPen(QColor(70, 70, 80), 1.0));
    p.setBrush(QColor(200, 200, 210));
    p.drawRoundedRect(QRectF(0.5, 1.5, 11, 8.5), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 120, 210));
    p.drawRect(QRectF(2, 3, 8, 5.5));
    p.setBrush(QColor(110, 110, 120));
    p.drawRect(QRectF(5, 10, 2, 2));
    p.drawRoundedRect(QRectF(2.5, 11.5, 7, 1.5), 0.5, 0.5);
    // The telephone in front of it, lower right.
    PaintHandset(p, QPointF(8.8, 9.6), 6.4, QColor(20, 20, 20));
}

void PaintMobile(QPainter& p) {
    // The phone's body, screen and keys.
    p.setPen(QPen(QColor(30, 30, 40), 1.0));
    p.setBrush(QColor(90, 90, 105));
    p.drawRoundedRect(QRectF(1.5, 3.5, 7, 12), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 210, 240));
    p.drawRect(QRectF(3, 5, 4, 4));
    p.setBrush(QColor(220, 220, 225));
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col)
            p.drawRect(QRectF(3 + col * 2.5, 10.5 + row * 2, 1.5, 1.2));
    }
    // Its antenna and the radio waves going out from it.
    p.setPen(QPen(QColor(30, 30, 40), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 3.5), QPointF(7, 1));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 140, 220), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (const double r : {2.5, 4.5, 6.5})
        p.drawArc(QRectF(7 - r, 2 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
}

void PaintMessage(QPainter& p) {
    // A rounded bubble with its tail at the lower left and three dots.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(0.5, 1.5, 15, 10), 4, 4);
    p.setPen(QPen(QColor(20, 110, 30), 1.0));
    p.setBrush(QColor(60, 180, 70));
    p.drawPath(bubble.united(ClosedPath({{3, 10}, {2, 15}, {8, 11}})));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const double x : {4.5, 8.0, 11.5})
        p.drawEllipse(QPointF(x, 6.5), 1.1, 1.1);
}

QPixmap Picture(int image, qreal scale) {
    // Every list of the Channels page holds the same few pictures: each is
    // drawn once and then taken from Qt's pixmap cache.
    const QString key = QStringLiteral("tarvik1-channel-icon-%1@%2").arg(image).arg(scale);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(int(kSide * scale), int(kSide * scale));
    pixmap.fill(Qt::transparent);
    pixmap.setDevicePixelRatio(scale);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        PaintChannelIcon(p, image);
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace

void PaintChannelIcon(QPainter& painter, int image) {
    painter.save();
    switch (image) {
    case ciNotUsed: PaintCross(painter); break;
    case ciComputerPhone: PaintComputerPhone(painter); break;
    case ciMobile: PaintMobile(painter); break;
    case ciMessage: PaintMessage(painter); break;
    default: break;
    }
    painter.restore();
}

QIcon ChannelIcon(int image) {
    QIcon icon;
    for (const qreal scale : {1.0, 2.0})
        icon.addPixmap(Picture(image, scale));
    return icon;
}
