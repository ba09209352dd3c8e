#pragma once

#include <QByteArray>

namespace emu {

// What the panel accepts as the value of a write, one function per format.
// Each takes the value as it came on the line (8-bit text).
namespace checks {

bool objectNumber(const QByteArray& v);   // "+o": 4 hexadecimal digits, either case
bool hexByte(const QByteArray& v);        // two upper-case hexadecimal digits
bool onOff(const QByteArray& v);          // "00" (on) or "FF" (off)
bool systemEvents(const QByteArray& v);   // "+pwlog": 9 upper-case hex fields, restart 00/FF, period
bool dialNumber(const QByteArray& v);     // "+gphon0": 1..30 of 0-9 * # +
bool accessPoint(const QByteArray& v);    // "+GAPN0": 1..30 printable ASCII without spaces
bool loginText(const QByteArray& v);      // "+gprsname0", "+gprspswd0": 1..30 printable ASCII
bool reconnectPause(const QByteArray& v); // "+timegpres": seconds 300..900 in whole minutes, 4 digits
bool identPassword(const QByteArray& v);  // "+ps": exactly 8 printable ASCII characters
bool ipAddress(const QByteArray& v);      // dotted quad, each part 0..255, at most 15 characters
bool ipPort(const QByteArray& v);         // 1..65535, at most 5 digits
bool directionEntry(const QByteArray& v); // "+alphon%d": D O 0 0 0 C "=" phone
bool reactionFlags(const QByteArray& v);  // "+X": two upper-case hex digits, bits 0, 2, 5 only
bool buttonSettings(const QByteArray& v); // "+n00", "+n02": QEEE SS LLL, QEEE a known event
bool holdTime(const QByteArray& v);       // "+presstime": 02, 04, 06, 08 or 0A
bool engineerNumber(const QByteArray& v); // "+phing%d": " " or 1..30 of 0-9 +
bool smsText(const QByteArray& v);        // "+smstext%d": 1..160 Windows-1251 characters, no control codes
bool memoryType(const QByteArray& v);     // "+typepan" value: 1..8 upper-case hex digits

constexpr int kMaxPhoneLength = 30;
constexpr int kMaxSmsLength = 160;

} // namespace checks
} // namespace emu
