#pragma once

#include <QString>
#include <QStringList>

// Wire values of the Alarm buttons page: the reaction flags ("+X"), each
// button's event ("+n00" for button 1, "+n02" for button 2) and the hold
// time ("+presstime").
namespace AlarmButtonsWire {

inline const QString ReactionCommand = QStringLiteral("+X");
inline const QString ReactionError = QStringLiteral("Параметры реакции на тревожные кнопки");
inline const QString HoldTimeCommand = QStringLiteral("+presstime");
inline const QString HoldTimeError = QStringLiteral("Время удержания тревожной кнопки");

// Button n (1, 2): "+n00", "+n02".
QString ButtonCommand(int n);
// "Настройки реакции тревожной кнопки <n>".
QString ButtonError(int n);

} // namespace AlarmButtonsWire

// One byte, two upper-case hexadecimal digits: bit 0 button 1 in use, bit 2
// button 2 in use, bit 5 the battery-discharge message. Other bits are
// written as 0 and ignored when read; a value that is not hexadecimal reads
// as 0.
struct TReactionFlags {
    bool Button1 = false;
    bool Button2 = false;
    bool AkbMessage = false;
    bool operator==(const TReactionFlags&) const = default;
};
TReactionFlags DecodeReactionFlags(const QString& value);
QString EncodeReactionFlags(const TReactionFlags& flags);

// A button's event, nine decimal digits: the alarm type's code (qualifier,
// then the three-digit event code), the section 00..99 and the loop
// 000..999. Button 1 on "Тревожная кнопка", section 1, loop 5: 112001005.
constexpr int SectionMax = 99;
constexpr int LoopMax = 999;

struct TButtonValue {
    int Code = 0;
    int Section = 0;
    int Loop = 0;
    bool operator==(const TButtonValue&) const = default;
};

enum class TButtonRead {
    Short,     // fewer than nine characters: ignored, the button keeps its settings
    Malformed, // the first nine are not all digits: a failed read of this button
    Value,     // the first nine decoded; anything after them is ignored
};
struct TButtonValueRead {
    TButtonRead Kind = TButtonRead::Short;
    TButtonValue Value;
    bool operator==(const TButtonValueRead&) const = default;
};
TButtonValueRead DecodeButtonValue(const QString& value);
// The nine digits; section and loop are kept to their ranges.
QString EncodeButtonValue(const TButtonValue& value);

// The hold time list shows 1 to 5 seconds; the panel counts in half seconds
// and takes two upper-case hexadecimal digits: item i is (i + 1) * 2, "02"
// for 1 s up to "0A" for 5 s.
constexpr int HoldTimeCount = 5;
QStringList HoldTimeCaptions(); // "1" .. "5"

enum class THoldTimeRead {
    Item,      // one of the list's items (a half second rounds down: 03 is 1 s)
    Kept,      // no item of the list (00, 01, 0C, or two characters that are no
               // hexadecimal number, "G1"): kept as read
    Malformed, // not two printable characters: a failed read
};
struct THoldTimeValueRead {
    THoldTimeRead Kind = THoldTimeRead::Malformed;
    int Item = -1; // with Item
    QString Raw;   // with Kept: the value exactly as read
    bool operator==(const THoldTimeValueRead&) const = default;
};
THoldTimeValueRead DecodeHoldTime(const QString& value);
// The value for list item 0..4; empty for any other item.
QString EncodeHoldTime(int item);
