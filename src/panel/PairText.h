#pragma once

#include <QString>
#include <QStringList>

// The part of a text before its first "=" (the whole text when there is none).
QString GetPairName(const QString& text);
// The part after the first "=" (empty when there is none).
QString GetPairValue(const QString& text);
// The text without every character that is not in `allowed`; characters
// above code 255 are always removed.
QString FilterChars(const QString& text, const QString& allowed);
