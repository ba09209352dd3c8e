#pragma once

#include <QIcon>

#include <functional>

class QPainter;

// An icon drawn by code on a 16 x 16 grid, painted only when it is first
// shown and only at the size it is shown at (each size and mode once). A
// window's icons cost nothing until they are on the screen, and a picture
// of the style's that would be read from several image files is not needed
// to draw one small button.
using TIconDrawing = std::function<void(QPainter& painter)>;
// `sizes` are the sizes it tells it has (a window system takes the window
// icon at each of them).
QIcon DrawnIcon(TIconDrawing drawing,
                QList<QSize> sizes = {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)});

// The small pictures the window's buttons share. They are drawn rather
// than taken from the desktop's icon theme: looking the theme up reads its
// index of several hundred folders, which takes longer than building the
// whole window.
void PaintReload(QPainter& p);
void PaintSave(QPainter& p);
void PaintOpen(QPainter& p);
