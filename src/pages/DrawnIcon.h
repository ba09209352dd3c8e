#pragma once

#include <QIcon>
#include <QImage>

#include <QPainterPath>

#include <functional>
#include <initializer_list>

class QPainter;

// An icon drawn by code on a 16 x 16 grid, painted only when it is first
// shown and only at the size it is shown at (each size and mode once). A
// window's icons cost nothing until they are on the screen, and a picture
// of the style's that would be read from several image files is not needed
// to draw one small button.
// `name` names the picture (QIcon::name() gives it back); `sizes` are the
// sizes it tells it has (a window system takes the window icon at each of
// them).
using TIconDrawing = std::function<void(QPainter& painter)>;
QIcon DrawnIcon(const QString& name, TIconDrawing drawing,
                QList<QSize> sizes = {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)});

// The program may give the pictures drawn ahead, when it was built: the
// drawing of `name` `side` pixels square, or a null image where it has
// none. A picture found there is not drawn again (drawing a few of them
// with smoothed edges costs a start as much as building a page).
using TPredrawnIcons = QImage (*)(const QString& name, int side);
void UsePredrawnIcons(TPredrawnIcons predrawn);

// A closed outline through `corners`, in their order, for the drawings.
QPainterPath ClosedPath(std::initializer_list<QPointF> corners);

// The small pictures the window's buttons share. They are drawn rather
// than taken from the desktop's icon theme: looking the theme up reads its
// index of several hundred folders, which takes longer than building the
// whole window.
void PaintReload(QPainter& p);
// The reload picture as an icon ("reload").
QIcon ReloadIcon();
void PaintSave(QPainter& p);
void PaintOpen(QPainter& p);
