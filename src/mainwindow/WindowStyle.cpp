#include "WindowStyle.h"

#include "pages/DrawnIcon.h"

#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>

namespace {

// Two chevrons pointing the way the hidden buttons lie: right for a
// horizontal bar, down for a vertical one.
void PaintChevrons(QPainter& p, bool down) {
    if (down) {
        p.translate(16, 0);
        p.rotate(90);
    }
    p.setPen(QPen(QColor(60, 60, 60), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (const double x : {4.0, 8.5}) {
        const QPointF chevron[] = {{x, 4.5}, {x + 3.5, 8}, {x, 11.5}};
        p.drawPolyline(chevron, 3);
    }
}

// The Fusion style's group box frame: a rounded line over a faint shade,
// six pixels of corner at each side and a pixel of edge between them. The
// style's own picture is 98 x 38 pixels, its edges this one's drawn
// longer; it is made at that size so that a box smaller than its corners is
// drawn as the style draws it too. Pixels in ARGB.
constexpr int kFrameMargin = 6;
constexpr int kFrameSide = 2 * kFrameMargin + 1;
constexpr uint32_t kGroupBoxFrame[kFrameSide][kFrameSide] = {
    {0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff,
     0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff},
    {0x00ffffff, 0x0d272727, 0x345d5d5d, 0x346c6c6c, 0x32757575, 0x32757575, 0x32757575, 0x32757575,
     0x32757575, 0x32757575, 0x346c6c6c, 0x37666666, 0x0c151515},
    {0x00ffffff, 0x39626262, 0x1f5a5a5a, 0x0a000000, 0x08000000, 0x07000000, 0x07000000, 0x07000000,
     0x07000000, 0x08000000, 0x0a000000, 0x1e5e5e5e, 0x355b5b5b},
    {0x00ffffff, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
     0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c},
    {0x00ffffff, 0x32757575, 0x08000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
     0x03000000, 0x03000000, 0x03000000, 0x08000000, 0x32757575},
    {0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
     0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575},
    {0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
     0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575},
    {0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
     0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575},
    {0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
     0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575},
    {0x00ffffff, 0x32757575, 0x08000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
     0x03000000, 0x03000000, 0x03000000, 0x08000000, 0x32757575},
    {0x00ffffff, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
     0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c},
    {0x00ffffff, 0x355b5b5b, 0x1e5e5e5e, 0x0a000000, 0x08000000, 0x07000000, 0x07000000, 0x07000000,
     0x07000000, 0x08000000, 0x0a000000, 0x1f5a5a5a, 0x39626262},
    {0x00ffffff, 0x0c151515, 0x37666666, 0x346c6c6c, 0x32757575, 0x32757575, 0x32757575, 0x32757575,
     0x32757575, 0x32757575, 0x346c6c6c, 0x345d5d5d, 0x0d272727},
};

constexpr QSize kStyleFrameSize(98, 38);

QPixmap GroupBoxFramePixmap() {
    QImage image(kStyleFrameSize, QImage::Format_ARGB32);
    // The picture's row or column of a pixel: the corners' own, else the
    // edge's.
    const auto from = [](int at, int length) {
        return at < kFrameMargin ? at : at >= length - kFrameMargin ? at - (length - kFrameSide) : kFrameMargin;
    };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, kGroupBoxFrame[from(y, image.height())][from(x, image.width())]);
    return QPixmap::fromImage(image);
}

// The Fusion style's space between a group box's top and its frame.
constexpr int kGroupBoxTopMargin = 3;

// Paints `area` band by band across `direction`, each band short enough for
// Qt to fill it on this thread; `paint` draws the whole area and is clipped
// to each band.
template <typename Paint>
void PaintInBands(QPainter* painter, const QRect& area, Qt::Orientation direction, Paint paint) {
    constexpr int kBand = 64;
    const int length = direction == Qt::Horizontal ? area.width() : area.height();
    if (length <= kBand) {
        paint();
        return;
    }
    for (int at = 0; at < length; at += kBand) {
        const int size = std::min(kBand, length - at);
        const QRect band = direction == Qt::Horizontal
                               ? QRect(area.left() + at, area.top(), size, area.height())
                               : QRect(area.left(), area.top() + at, area.width(), size);
        painter->save();
        painter->setClipRect(band, Qt::IntersectClip);
        paint();
        painter->restore();
    }
}

} // namespace

TWindowStyle::TWindowStyle()
    : fExtensionRight(DrawnIcon([](QPainter& p) { PaintChevrons(p, false); })),
      fExtensionDown(DrawnIcon([](QPainter& p) { PaintChevrons(p, true); })) {}

bool TWindowStyle::IsFusion() const {
    return baseStyle()->name() == QLatin1String("fusion");
}

QIcon TWindowStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                 const QWidget* widget) const {
    switch (standardIcon) {
    case SP_ToolBarHorizontalExtensionButton: return fExtensionRight;
    case SP_ToolBarVerticalExtensionButton: return fExtensionDown;
    default: return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}

void TWindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
    if (element != PE_FrameGroupBox || !IsFusion()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (fGroupBoxFrame.isNull())
        fGroupBoxFrame = GroupBoxFramePixmap();
    // Below the title, or at the top of a box without one.
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    const int top = box && !box->isCheckable() && box->title().isEmpty()
                        ? kGroupBoxTopMargin
                        : std::max(pixelMetric(PM_ExclusiveIndicatorHeight),
                                   option->fontMetrics.height()) +
                              kGroupBoxTopMargin;
    const QRect frame = option->rect.adjusted(0, top, 0, 0);
    PaintInBands(painter, frame, Qt::Vertical, [&] {
        qDrawBorderPixmap(painter, frame, QMargins(kFrameMargin, kFrameMargin, kFrameMargin, kFrameMargin),
                          fGroupBoxFrame);
    });
}

void TWindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    // Fusion's tool bar only: a style that clips its parts itself (as Fusion
    // does the progress bars') would paint over each band whole.
    if (element != CE_ToolBar || !IsFusion()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // Bands across the bar: its lines run along it.
    const Qt::Orientation along = option->state & State_Horizontal ? Qt::Horizontal : Qt::Vertical;
    PaintInBands(painter, option->rect, along,
                 [&] { QProxyStyle::drawControl(element, option, painter, widget); });
}
