#pragma once

#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>

// The desktop's style with the tool's own pictures where the style would
// read them from image files: the tool bar's extension button (made with
// every tool bar, shown only when the bar is too narrow for its buttons)
// and the Fusion style's group box frame, drawn from the same pixels as
// the style's own picture holds. Reading those files loads Qt's image
// plug-ins, and the JPEG library with them, at every start.
class TWindowStyle : public QProxyStyle {
    Q_OBJECT
public:
    TWindowStyle();

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    QIcon fExtensionRight;
    QIcon fExtensionDown;
    // Made when first drawn (a pixmap needs the application).
    mutable QPixmap fGroupBoxFrame;
};
