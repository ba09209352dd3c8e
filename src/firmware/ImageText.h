#pragma once

#include <QByteArray>
#include <QStringList>

// The text of a firmware image or of the built-in firmware list, as lines:
// a byte-order mark, when there is one, chooses the encoding, otherwise the
// bytes are Windows-1251. Lines end at CR LF, CR or LF; a line break at the
// very end does not start another line.
QStringList ImageTextLines(const QByteArray& bytes);
