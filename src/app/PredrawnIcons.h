#pragma once

#include <QImage>
#include <QString>

// The window's pictures drawn ahead when the program was built (the table
// DrawIconsAhead writes): the picture of that name `side` pixels square,
// or a null image where none was drawn ahead.
QImage PredrawnIcon(const QString& name, int side);
