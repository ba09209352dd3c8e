#pragma once

#include <QChar>
#include <QString>

// The rules of a key filter: which characters a control takes from the
// keyboard, and what typing and pasting may leave in it.

// Backspace always passes; a character above code 255 never does; any other
// passes when it is in `allowed` (an empty set lets every 8-bit character
// pass).
bool KeyAllowed(QChar c, const QString& allowed);
// A whole text made only of allowed characters (Backspace aside), at most
// `maxLength` long (no limit when below 1).
bool TypedTextAllowed(const QString& text, const QString& allowed, int maxLength);
