#pragma once

#include <QChar>

// 0..15 for a hexadecimal digit of either case, -1 for any other character
// (no character outside ASCII counts as a digit).
int HexDigitValue(QChar c);
