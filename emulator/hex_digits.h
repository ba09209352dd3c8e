#pragma once

#include <QByteArray>
#include <optional>

namespace emu {

// Small helpers for the hexadecimal fields of the panel's commands.
namespace hex {

// 0..15 for '0'-'9', 'A'-'F', 'a'-'f'; -1 otherwise.
int digitValue(char c);
bool isUpperDigit(char c);
// Every character an upper-case hexadecimal digit, and at least one of them.
bool isUpper(const QByteArray& text);
// Every character a hexadecimal digit of either case, and at least one of them.
bool isAnyCase(const QByteArray& text);
// The value of a field of upper-case digits; nothing when it is not one.
std::optional<unsigned> parseUpper(const QByteArray& text);
// The value in upper-case hexadecimal with at least `width` digits.
QByteArray format(unsigned value, int width);

} // namespace hex
} // namespace emu
