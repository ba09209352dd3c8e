#pragma once

#include <QIcon>

class QStyle;

// The pictures of the window's actions, by image index: 0 Connect,
// 1 Disconnect, 2 Read, 3 Write (icons of the desktop's theme, with the
// style's own to fall back on), 4 Read all and 5 Write all (drawn here: a
// stack of pages with an arrow out of the panel or into it, so that they
// read as "all pages" and not as media controls).
QIcon ActionIcon(int imageIndex, QStyle* style);
// The drawn "all pages" picture: pages with a down arrow (read) or an up
// arrow (write).
QIcon AllPagesIcon(bool write);
