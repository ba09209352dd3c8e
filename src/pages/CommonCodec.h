#pragma once

#include "HexValues.h"

#include <QChar>
#include <QString>

#include <optional>

// Wire formats of the Common page: the object number, the dispatcher link
// ("+disp") and the GSM signal reading ("+U").

// The characters the object number takes from the keyboard (Backspace
// aside): "0" to "9", "A" to "F" and "a" to "f".
extern const QString ObjNumChars;
bool ObjNumKeyAllowed(QChar c);
// A whole text made only of those characters (Backspace aside), at most
// ObjNumMaxTyped long: what typing and pasting may leave in the edit box.
bool ObjNumTypedTextAllowed(const QString& text);
constexpr int ObjNumMaxTyped = 4;

// The object number as written: a text shorter than four characters gets
// zeros in front ("5" -> "0005", the same as "%.4d" of a decimal number;
// "AB" -> "00AB", "" -> "0000"). Longer texts are left alone.
QString ObjectNumberForWrite(const QString& text);

// The dispatcher link: "FF" = off, else the connection time as the index of
// the time list (0 = unlimited, 1..254 = minutes).
constexpr int DispOff = 255;
constexpr int DispTimeCount = 255; // time list entries, indices 0..254

struct TDispValue {
    bool On = false;
    int TimeIndex = 0; // 0 when off
    bool operator==(const TDispValue&) const = default;
};
// The "+disp" answer; empty when it is not hexadecimal or above "FF".
std::optional<TDispValue> DecodeDispValue(const QString& value);
// The value to write: "FF" when off, else two upper-case hexadecimal digits
// of the time index. Empty when the index is not one of the time list.
std::optional<QString> EncodeDispValue(bool on, int timeIndex);

// The "+U" answer: four hexadecimal digits, the signal level (0..31) and
// the error level (0..7); 99 in either place means "not known".
constexpr int SignalUnknown = 99;
constexpr int SignalLevelMax = 31;
constexpr int ErrorLevelMax = 7;

struct TSignalLevels {
    int Signal = 0;
    int Errors = 0;
    bool operator==(const TSignalLevels&) const = default;
};
// Empty when the value is not four hexadecimal digits or a level is out of
// its range (and not 99).
std::optional<TSignalLevels> DecodeSignalValue(const QString& value);
// What the page shows for a level of the range 0..max: "Неопределено" for 99,
// else level * 100 / max truncated, followed by "%".
QString LevelText(int level, int max);
