#include "value_checks.h"

#include "cid_event_table.h"
#include "cp1251.h"
#include "hex_digits.h"

#include <QList>

namespace emu::checks {

namespace {

bool allOf(const QByteArray& v, int minLen, int maxLen, bool (*ok)(char)) {
    if (v.size() < minLen || v.size() > maxLen)
        return false;
    for (char c : v) {
        if (!ok(c))
            return false;
    }
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isPhoneChar(char c) {
    return isDigit(c) || c == '+';
}

bool isDialChar(char c) {
    return isDigit(c) || c == '+' || c == '*' || c == '#';
}

bool isGraphic(char c) {
    return c > 0x20 && c < 0x7F;
}

bool isPrintable(char c) {
    return c >= 0x20 && c < 0x7F;
}

int decimal(const QByteArray& v) {
    int n = 0;
    for (char c : v)
        n = n * 10 + (c - '0');
    return n;
}

} // namespace

bool objectNumber(const QByteArray& v) {
    return v.size() == 4 && hex::isAnyCase(v);
}

bool hexByte(const QByteArray& v) {
    return v.size() == 2 && hex::isUpper(v);
}

bool onOff(const QByteArray& v) {
    return v == "00" || v == "FF";
}

bool systemEvents(const QByteArray& v) {
    if (v.size() != 18 || !hex::isUpper(v))
        return false;
    if (!onOff(v.mid(4, 2)))
        return false;
    const unsigned hours = *hex::parseUpper(v.mid(6, 2));
    const unsigned minutes = *hex::parseUpper(v.mid(8, 2));
    if (hours == 0xFF && minutes == 0xFF)
        return true; // no automatic test
    return hours <= 23 && minutes <= 59 && (hours | minutes) != 0;
}

bool dialNumber(const QByteArray& v) {
    return allOf(v, 1, kMaxPhoneLength, isDialChar);
}

bool accessPoint(const QByteArray& v) {
    return allOf(v, 1, 30, isGraphic);
}

bool loginText(const QByteArray& v) {
    return allOf(v, 1, 30, isPrintable);
}

bool reconnectPause(const QByteArray& v) {
    if (v.size() != 4)
        return false;
    const auto seconds = hex::parseUpper(v);
    return seconds && *seconds >= 300 && *seconds <= 900 && *seconds % 60 == 0;
}

bool identPassword(const QByteArray& v) {
    return allOf(v, 8, 8, isGraphic);
}

bool ipAddress(const QByteArray& v) {
    if (v.size() > 15)
        return false;
    const QList<QByteArray> parts = v.split('.');
    if (parts.size() != 4)
        return false;
    for (const QByteArray& p : parts) {
        if (!allOf(p, 1, 3, isDigit) || decimal(p) > 255)
            return false;
    }
    return true;
}

bool ipPort(const QByteArray& v) {
    if (!allOf(v, 1, 5, isDigit))
        return false;
    const int port = decimal(v);
    return port >= 1 && port <= 65535;
}

bool directionEntry(const QByteArray& v) {
    if (v.size() < 7 || v.at(6) != '=')
        return false;
    const char direction = v.at(0);
    const char order = v.at(1);
    const char channel = v.at(5);
    if (direction < '1' || direction > '8' || order < '1' || order > '8')
        return false;
    if (v.mid(2, 3) != "000" || channel < '0' || channel > '6')
        return false;
    return allOf(v.mid(7), 0, kMaxPhoneLength, isPhoneChar);
}

bool reactionFlags(const QByteArray& v) {
    if (!hexByte(v))
        return false;
    return (*hex::parseUpper(v) & ~0x25u) == 0;
}

bool buttonSettings(const QByteArray& v) {
    if (!allOf(v, 9, 9, isDigit))
        return false;
    const int qualifier = v.at(0) - '0';
    const int code = decimal(v.mid(1, 3));
    return cidtable::contains(code, qualifier);
}

bool holdTime(const QByteArray& v) {
    return v == "02" || v == "04" || v == "06" || v == "08" || v == "0A";
}

bool engineerNumber(const QByteArray& v) {
    return v == " " || allOf(v, 1, kMaxPhoneLength, isPhoneChar);
}

bool smsText(const QByteArray& v) {
    if (v.isEmpty() || v.size() > kMaxSmsLength)
        return false;
    for (char c : v) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || !cp1251::isDefined(b))
            return false;
    }
    return true;
}

bool memoryType(const QByteArray& v) {
    return v.size() <= 8 && hex::isUpper(v);
}

} // namespace emu::checks
