#include "hex_digits.h"

namespace emu::hex {

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool isUpperDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool isUpper(const QByteArray& text) {
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (!isUpperDigit(c))
            return false;
    }
    return true;
}

bool isAnyCase(const QByteArray& text) {
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (digitValue(c) < 0)
            return false;
    }
    return true;
}

std::optional<unsigned> parseUpper(const QByteArray& text) {
    if (!isUpper(text) || text.size() > 8)
        return std::nullopt;
    unsigned v = 0;
    for (char c : text)
        v = v * 16 + unsigned(digitValue(c));
    return v;
}

QByteArray format(unsigned value, int width) {
    return QByteArray::number(value, 16).toUpper().rightJustified(width, '0');
}

} // namespace emu::hex
