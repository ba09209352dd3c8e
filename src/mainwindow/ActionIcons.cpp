#include "ActionIcons.h"

#include "ToolIcon.h"
#include "pages/DrawnIcon.h"

#include <QPainter>
#include <QStyle>

namespace {

// Sheets of paper, one behind the other (`sheets` of them), with an arrow:
// down for reading from the panel, up for writing to it.
void PaintPages(QPainter& p, int sheets, bool write) {
    const QColor edge(70, 70, 70);
    p.setPen(QPen(edge, 0.8));
    for (int i = sheets - 1; i >= 0; --i) {
        const QRectF sheet(1.5 + 2 * i, 1.5 + 1.5 * i, 7, 9);
        p.setBrush(i == 0 ? QColor(255, 255, 255) : QColor(225, 228, 235));
        p.drawRect(sheet);
    }
    // Lines of text on the front sheet.
    p.setPen(QPen(QColor(150, 150, 150), 0.8));
    for (int k = 0; k < 3; ++k)
        p.drawLine(QPointF(3, 4 + 2 * k), QPointF(7.5, 4 + 2 * k));

    const QPainterPath arrow =
        write ? ClosedPath({{12.5, 6}, {16, 10}, {14, 10}, {14, 15.5}, {11, 15.5}, {11, 10}, {9, 10}})
              : ClosedPath({{11, 6}, {14, 6}, {14, 11.5}, {16, 11.5}, {12.5, 15.5}, {9, 11.5}, {11, 11.5}});
    p.setPen(QPen(write ? QColor(160, 60, 20) : QColor(20, 90, 160), 0.8));
    p.setBrush(write ? QColor(240, 130, 50) : QColor(60, 150, 230));
    p.drawPath(arrow);
}

// Two halves of a plug: joined (connected, green) or apart (red).
void PaintPlug(QPainter& p, bool joined) {
    const double gap = joined ? 0 : 2.5;
    const QColor body = joined ? QColor(40, 150, 60) : QColor(200, 50, 40);
    const QColor rim = joined ? QColor(20, 90, 30) : QColor(120, 20, 10);
    p.setPen(QPen(rim, 0.8));
    p.setBrush(body);
    // The left half with its cable, the right half with its pins.
    p.drawRoundedRect(QRectF(3.5 - gap, 5, 4, 6), 1, 1);
    p.drawRoundedRect(QRectF(8.5 + gap, 5, 4, 6), 1, 1);
    p.setPen(QPen(rim, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.5, 8), QPointF(3.5 - gap, 8));
    p.drawLine(QPointF(12.5 + gap, 8), QPointF(15.5, 8));
    p.drawLine(QPointF(7.5 - gap, 6.5), QPointF(8.5 + gap, 6.5));
    p.drawLine(QPointF(7.5 - gap, 9.5), QPointF(8.5 + gap, 9.5));
}

} // namespace

QIcon AllPagesIcon(bool write) {
    return DrawnIcon(write ? QStringLiteral("write-all") : QStringLiteral("read-all"),
                     [write](QPainter& p) { PaintPages(p, 3, write); });
}

QIcon ActionIcon(int imageIndex) {
    switch (imageIndex) {
    case 0: return DrawnIcon(QStringLiteral("connect"), [](QPainter& p) { PaintPlug(p, true); });
    case 1:
        return DrawnIcon(QStringLiteral("disconnect"), [](QPainter& p) { PaintPlug(p, false); });
    case 2: return DrawnIcon(QStringLiteral("read"), [](QPainter& p) { PaintPages(p, 1, false); });
    case 3: return DrawnIcon(QStringLiteral("write"), [](QPainter& p) { PaintPages(p, 1, true); });
    case 4: return AllPagesIcon(false);
    case 5: return AllPagesIcon(true);
    default: return {};
    }
}

QIcon SaveFileIcon() {
    return DrawnIcon(QStringLiteral("save"), PaintSave);
}

QIcon OpenFileIcon() {
    return DrawnIcon(QStringLiteral("open"), PaintOpen);
}

std::vector<QIcon> WindowPictures(const QStyle& style) {
    std::vector<QIcon> icons;
    for (int image = 0; image <= 5; ++image)
        icons.push_back(ActionIcon(image));
    icons.push_back(SaveFileIcon());
    icons.push_back(OpenFileIcon());
    icons.push_back(ReloadIcon());
    icons.push_back(ToolIcon());
    icons.push_back(style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton));
    icons.push_back(style.standardIcon(QStyle::SP_ToolBarVerticalExtensionButton));
    return icons;
}
