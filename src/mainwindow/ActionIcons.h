#pragma once

#include <QIcon>

#include <vector>

class QStyle;

// The pictures of the window's actions, by image index: 0 Connect,
// 1 Disconnect, 2 Read, 3 Write (a plug joined or apart, a page with an
// arrow out of the panel or into it), 4 Read all and 5 Write all (a stack
// of pages with the arrow, so that they read as "all pages" and not as
// media controls). Each is drawn only when shown.
QIcon ActionIcon(int imageIndex);
// The drawn "all pages" picture: pages with a down arrow (read) or an up
// arrow (write).
QIcon AllPagesIcon(bool write);
// The settings file's actions: a diskette and a folder.
QIcon SaveFileIcon();
QIcon OpenFileIcon();

// Every picture the window draws itself and shows at start (the action
// pictures, the reload button's, the tool's own and the tool bar's
// extension arrows of `style`): the ones drawn ahead when the program is
// built.
std::vector<QIcon> WindowPictures(const QStyle& style);
