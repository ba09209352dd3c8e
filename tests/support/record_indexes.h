#pragma once

#include <QList>

// Journal indexes from `top` down to `bottom`: a page of records as the list
// shows it, the newest at the top.
inline QList<int> Down(int top, int bottom) {
    QList<int> out;
    for (int i = top; i >= bottom; --i)
        out.append(i);
    return out;
}
