#include "TypedText.h"

bool KeyAllowed(QChar c, const QString& allowed) {
    if (c.unicode() == 8)
        return true;
    if (c.unicode() > 255)
        return false;
    return allowed.isEmpty() || allowed.contains(c);
}

bool TypedTextAllowed(const QString& text, const QString& allowed, int maxLength) {
    if (maxLength > 0 && text.size() > maxLength)
        return false;
    for (const QChar c : text) {
        if (c.unicode() == 8 || !KeyAllowed(c, allowed))
            return false;
    }
    return true;
}
