#pragma once

#include <QIcon>

class QPainter;

// The tool's own picture: the panel's case with its shield and the GSM
// antenna, as resources/icons/tarvik1.svg draws it (the desktop entry's icon
// is that file and its 48-pixel rendering). The window takes it drawn by
// code: reading it from an image file would load Qt's image plug-ins, and
// the JPEG library with them, at every start.
QIcon ToolIcon();
// The drawing on the icons' 16 x 16 grid.
void PaintToolIcon(QPainter& p);
