#include "WindowStyle.h"

#include "pages/DrawnIcon.h"

#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <QStyleOptionToolBar>
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
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = kGroupBoxFrame[from(y, image.height())][from(x, image.width())];
    }
    return QPixmap::fromImage(image);
}

// The Fusion style's space between a group box's top and its frame.
constexpr int kGroupBoxTopMargin = 3;

// The longest band painted at once: Qt's painting hands a fill of 96 lines
// or more to a thread of its own.
constexpr int kBand = 64;

// Paints `area` band by band across `direction`, each band short enough for
// Qt to fill it on this thread; `paint` draws the whole area and is clipped
// to each band.
template <typename Paint>
void PaintInBands(QPainter* painter, const QRect& area, Qt::Orientation direction, Paint paint) {
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

// The frame as Qt's border drawing makes it: the picture's corners at the
// corners, its edges and middle stretched between them, each edge a drawing
// of its part of the picture.
void DrawGroupBoxFrame(QPainter* painter, const QRect& frame, const QPixmap& picture) {
    constexpr int m = kFrameMargin;
    const QMargins margins(m, m, m, m);
    if (frame.width() <= 2 * m || frame.height() <= 2 * m) {
        // No middle: nothing tall to band.
        qDrawBorderPixmap(painter, frame, margins, picture);
        return;
    }
    const double pw = picture.width(), ph = picture.height();
    // The parts' edges across and down, on the frame and on the picture.
    const double x[4] = {double(frame.left()), double(frame.left() + m), double(frame.right() + 1 - m),
                         double(frame.right() + 1)};
    const double y[4] = {double(frame.top()), double(frame.top() + m), double(frame.bottom() + 1 - m),
                         double(frame.bottom() + 1)};
    const double sx[4] = {0, m, pw - m, pw};
    const double sy[4] = {0, m, ph - m, ph};
    // A part of the picture drawn over `top`, `height` down the frame. The
    // picture's sides are the same all the way down, so that the tall parts
    // are drawn band by band, each band from the whole of its part of the
    // picture, as they would be at once.
    const auto part = [&](int column, int row, double top, double height) {
        painter->drawPixmap(QRectF(x[column], top, x[column + 1] - x[column], height), picture,
                            QRectF(sx[column], sy[row], sx[column + 1] - sx[column], sy[row + 1] - sy[row]));
    };
    for (const int row : {0, 2})
        for (const int column : {0, 1, 2})
            part(column, row, y[row], y[row + 1] - y[row]);
    // The middle is one shade all over: filled with it rather than
    // stretched from the picture, the same pixels for a fraction of the work.
    const QColor shade = QColor::fromRgba(kGroupBoxFrame[m][m]);
    for (double top = y[1]; top < y[2]; top += kBand) {
        const double height = std::min<double>(kBand, y[2] - top);
        part(0, 1, top, height);
        painter->fillRect(QRectF(x[1], top, x[2] - x[1], height), shade);
        part(2, 1, top, height);
    }
}

} // namespace

TWindowStyle::TWindowStyle()
    : fExtensionRight(DrawnIcon(QStringLiteral("more-right"), [](QPainter& p) { PaintChevrons(p, false); })),
      fExtensionDown(DrawnIcon(QStringLiteral("more-down"), [](QPainter& p) { PaintChevrons(p, true); })) {}

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
    DrawGroupBoxFrame(painter, option->rect.adjusted(0, top, 0, 0), fGroupBoxFrame);
}

void TWindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    // Fusion's only: a style that clips its parts itself (as Fusion does a
    // progress bar's chunk) would paint over each band whole.
    if (element == CE_ProgressBarGroove && IsFusion()) {
        // A horizontal bar's groove: its lines run along it.
        const Qt::Orientation along = option->state & State_Horizontal ? Qt::Horizontal : Qt::Vertical;
        PaintInBands(painter, option->rect, along,
                     [&] { QProxyStyle::drawControl(element, option, painter, widget); });
        return;
    }
    const auto* bar = qstyleoption_cast<const QStyleOptionToolBar*>(option);
    if (element != CE_ToolBar || !bar || !IsFusion()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    if (!DrawToolBarFromStrip(*bar, painter, widget)) {
        // Bands across the bar: its lines run along it.
        const Qt::Orientation along = bar->state & State_Horizontal ? Qt::Horizontal : Qt::Vertical;
        PaintInBands(painter, bar->rect, along, [&] { QProxyStyle::drawControl(element, bar, painter, widget); });
    }
}

bool TWindowStyle::DrawToolBarFromStrip(const QStyleOptionToolBar& bar, QPainter* painter,
                                        const QWidget* widget) const {
    // Fusion paints a tool bar as a shade across it and lines along it, the
    // same all along: a strip of the bar, its ends and one step of its
    // middle, is painted and its middle drawn out to the bar's length.
    constexpr int kEnd = 2;
    constexpr int kStrip = 2 * kEnd + 1;
    const bool horizontal = bar.state & State_Horizontal;
    const QRect& rect = bar.rect;
    const int length = horizontal ? rect.width() : rect.height();
    const int thickness = horizontal ? rect.height() : rect.width();
    if (length <= kStrip || thickness <= 0 || thickness > kBand || !painter->device() ||
        painter->device()->devicePixelRatio() != 1.0 || painter->transform().type() > QTransform::TxTranslate)
        return false;
    QStyleOptionToolBar stripOption = bar;
    stripOption.rect = horizontal ? QRect(0, 0, kStrip, thickness) : QRect(0, 0, thickness, kStrip);
    QImage strip(stripOption.rect.size(), QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    {
        QPainter stripPainter(&strip);
        stripPainter.setRenderHints(painter->renderHints());
        QProxyStyle::drawControl(CE_ToolBar, &stripOption, &stripPainter, widget);
    }
    // Covered whole, so that it goes over the window as it would be painted
    // there; else the bands.
    for (int y = 0; y < strip.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
        for (int x = 0; x < strip.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return false;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    // A part of the strip (`from`, `size` along it) drawn over `at`, `span`
    // along the bar.
    const auto draw = [&](int from, int size, int at, int span) {
        if (horizontal)
            painter->drawImage(QRect(rect.left() + at, rect.top(), span, thickness), strip,
                               QRect(from, 0, size, thickness));
        else
            painter->drawImage(QRect(rect.left(), rect.top() + at, thickness, span), strip,
                               QRect(0, from, thickness, size));
    };
    draw(0, kEnd, 0, kEnd);
    const int middle = length - 2 * kEnd;
    // Drawn out along a vertical bar, the middle is a row a pixel line: in
    // bands there.
    const int band = horizontal ? middle : kBand;
    for (int at = 0; at < middle; at += band)
        draw(kEnd, 1, kEnd + at, std::min(band, middle - at));
    draw(kStrip - kEnd, kEnd, length - kEnd, kEnd);
    painter->restore();
    return true;
}
