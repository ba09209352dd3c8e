#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The System events page: the panel's automatic test period and the restart
// event, all carried by "+pwlog" as nine fields of two hexadecimal digits.

constexpr int PwlogFieldCount = 9;
constexpr int PwlogLength = 2 * PwlogFieldCount; // 18 characters
// Positions (from 0) of the fields the page uses; the others are written "FF".
constexpr int PwlogRestartField = 2;
constexpr int PwlogHoursField = 3;
constexpr int PwlogMinutesField = 4;
// The hour and minute lists: indices 0..23 and 0..59.
constexpr int HourCount = 24;
constexpr int MinuteCount = 60;
// The largest hours or minutes written back as they came (FF is "no test").
constexpr int PwlogMaxPeriodField = 254;

// The page's values. Hours and Minutes are combo indices (0..23, 0..59); a
// larger value, up to 254, is one the panel sent that the combo cannot show:
// the combo then has no selection and the value is written back as it came.
struct TSystemEventsValues {
    int Hours = 0;
    int Minutes = 4;
    bool Reboot = false;
    bool operator==(const TSystemEventsValues&) const = default;
};

// The page's defaults: 0 hours 4 minutes, no restart event.
TSystemEventsValues SystemEventsDefaults();

// Whether a field value is an entry of its combo (hours 0..23, minutes 0..59).
bool HourShown(int hours);
bool MinuteShown(int minutes);

// The "+pwlog" value to write: fields 1, 2 and 6 to 9 "FF", the restart
// field "00" (on) or "FF" (off), then hours and minutes as two upper-case
// hexadecimal digits each, both "FF" when both are 0 (no automatic test).
// Empty when hours or minutes lie outside 0..254.
std::optional<QString> EncodePwlog(const TSystemEventsValues& values);

// The nine fields of a "+pwlog" value by position; a field whose two
// characters are missing or not hexadecimal digits is empty.
struct TPwlogFields {
    std::array<std::optional<int>, PwlogFieldCount> Field;
};
TPwlogFields DecodePwlog(const QString& value);

// Applies a read value to the page's values in the page's order: the
// restart field (anything but FF is on), then hours, then minutes (255 is
// shown as 0, a value above the list is kept as it came). A field that does
// not convert ends the work there: what was applied before stays. Returns
// whether all three fields were applied.
bool ApplyPwlog(const QString& value, TSystemEventsValues& values);
