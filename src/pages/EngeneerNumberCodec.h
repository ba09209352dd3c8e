#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The Engineer numbers page: the switch that enables the engineers'
// numbers in the panel ("+enaing") and the five numbers ("+phing0" to
// "+phing4"). The numbers count from 1 on the page and in the error list,
// from 0 in the commands.

constexpr int EngineerNumberCount = 5;
constexpr int EngineerNumberMaxTyped = 30;

// "+enaing": "00" enabled, "FF" disabled; on reading only "00" is enabled.
QString EncodeEnableEng(bool enabled);
bool DecodeEnableEng(const QString& value);
QString EnableEngErrorName(); // "Включить/Выключить инж. номера"

// Number n (1..5): its read command "+phing%d" with n - 1, its write
// command (the read command followed by the number) and its name in the
// error list, "Инженерный номер %d" with n.
QString PhingReadCommand(int n);
QString PhingWriteCommand(int n, const QString& number);
QString EngineerNumberErrorName(int n);

// The characters the number edits take from the keyboard: Backspace, "+"
// and digits; as a set for FilterChars, and the per-key test.
QString EngineerKeyChars();
bool EngineerKeyAllowed(QChar c);

// The number as it is written (and put back into its edit): every space
// removed; an empty number, or one of spaces only, is the panel's empty
// number, a single space (an empty value would make the write a read).
// A value read from the panel goes into its edit unchanged, so an empty
// number shows as a single space and is written back as one.
QString EngineerNumberForWrite(const QString& text);
