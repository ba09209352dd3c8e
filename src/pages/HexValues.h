#pragma once

#include <QString>

// Hexadecimal values as the panel exchanges them.

// A value from the panel ("$" put in front and converted): only hexadecimal
// digits, at least one, the number fitting an int; -1 for any other text.
// Callers choose what -1 stands for.
int HexValue(const QString& text);

// A value for the panel: upper-case hexadecimal with at least `digits`
// digits, zeros in front ("0A", "012C").
QString HexText(int value, int digits);
