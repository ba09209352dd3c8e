#pragma once

#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>

class QStyleOptionToolBar;

// The desktop's style, painting the same pixels at less cost:
// - its pictures read from image files are the tool's own: the tool bar's
//   extension button (made with every tool bar, shown only when the bar is
//   too narrow for its buttons) and the Fusion style's group box frame,
//   drawn from the same pixels as the style's picture holds. Reading those
//   files loads Qt's image plug-ins, and the JPEG library with them, at
//   every start;
// - the tool bar, the progress bars' grooves and the group boxes' frames
//   are painted in bands.
//   Qt's painting hands each fill of 96 lines or more (a line across the
//   tool bar is one per pixel) to a thread of its own and waits for it:
//   two thread switches for a few microseconds of work, about seventy times
//   in the window's first painting.
class TWindowStyle : public QProxyStyle {
    Q_OBJECT
public:
    TWindowStyle();

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    bool IsFusion() const;
    // Fusion's tool bar drawn from a strip of it; false when the strip is
    // not such a bar (nothing drawn then).
    bool DrawToolBarFromStrip(const QStyleOptionToolBar& bar, QPainter* painter, const QWidget* widget) const;

    QIcon fExtensionRight;
    QIcon fExtensionDown;
    // Made when first drawn (a pixmap needs the application).
    mutable QPixmap fGroupBoxFrame;
};
