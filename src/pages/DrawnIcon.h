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
QIcon DrawnIcon(TIconDrawing drawing);

// The desktop theme's icon of that name when the theme has one, else the
// drawing.
QIcon ThemeOrDrawnIcon(const QString& themeName, TIconDrawing drawing);

// The small pictures the window's buttons share, for a desktop without an
// icon theme.
void PaintReload(QPainter& p);
void PaintSave(QPainter& p);
void PaintOpen(QPainter& p);
