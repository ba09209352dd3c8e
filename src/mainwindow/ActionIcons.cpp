#include "ActionIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace {

QPixmap AllPagesPixmap(int size, bool write) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);

    // Three sheets, one behind the other.
    const QColor edge(70, 70, 70);
    p.setPen(QPen(edge, 0.8));
    for (int i = 2; i >= 0; --i) {
        const QRectF sheet(1.5 + 2 * i, 1.5 + 1.5 * i, 7, 9);
        p.setBrush(i == 0 ? QColor(255, 255, 255) : QColor(225, 228, 235));
        p.drawRect(sheet);
    }
    // Lines of text on the front sheet.
    p.setPen(QPen(QColor(150, 150, 150), 0.8));
    for (int k = 0; k < 3; ++k)
        p.drawLine(QPointF(3, 4 + 2 * k), QPointF(7.5, 4 + 2 * k));

    // The arrow: down for reading from the panel, up for writing to it.
    QPainterPath arrow;
    if (write) {
        arrow.moveTo(12.5, 6);
        arrow.lineTo(16, 10);
        arrow.lineTo(14, 10);
        arrow.lineTo(14, 15.5);
        arrow.lineTo(11, 15.5);
        arrow.lineTo(11, 10);
        arrow.lineTo(9, 10);
    } else {
        arrow.moveTo(11, 6);
        arrow.lineTo(14, 6);
        arrow.lineTo(14, 11.5);
        arrow.lineTo(16, 11.5);
        arrow.lineTo(12.5, 15.5);
        arrow.lineTo(9, 11.5);
        arrow.lineTo(11, 11.5);
    }
    arrow.closeSubpath();
    p.setPen(QPen(write ? QColor(160, 60, 20) : QColor(20, 90, 160), 0.8));
    p.setBrush(write ? QColor(240, 130, 50) : QColor(60, 150, 230));
    p.drawPath(arrow);
    return pixmap;
}

} // namespace

QIcon AllPagesIcon(bool write) {
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(AllPagesPixmap(size, write));
    return icon;
}

QIcon ActionIcon(int imageIndex, QStyle* style) {
    switch (imageIndex) {
    case 0:
        return QIcon::fromTheme(QStringLiteral("network-connect"),
                                style->standardIcon(QStyle::SP_DialogYesButton));
    case 1:
        return QIcon::fromTheme(QStringLiteral("network-disconnect"),
                                style->standardIcon(QStyle::SP_DialogNoButton));
    case 2: return QIcon::fromTheme(QStringLiteral("go-down"), style->standardIcon(QStyle::SP_ArrowDown));
    case 3: return QIcon::fromTheme(QStringLiteral("go-up"), style->standardIcon(QStyle::SP_ArrowUp));
    case 4: return AllPagesIcon(false);
    case 5: return AllPagesIcon(true);
    default: return {};
    }
}
