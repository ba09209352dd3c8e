#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The "no date" value: 30 December 1899, midnight (day 0 of the panel
// software's calendar).
QDateTime NoDate();
bool IsNoDate(const QDateTime& value);

// One record of the panel's event journal, as one answer line of "+read"
// describes it (75 characters):
//   1-4    index, 4 hexadecimal digits
//   5-20   the Contact ID message: account (4), message type (2),
//          qualifier (1), event code (3), partition (2), zone or user (3),
//          check digit (1)
//   21     change flag, one hexadecimal digit
//   22-38  17 reserved hexadecimal digits
//   39     event character
//   40-61  date text "YY/MM/DD,hh:mm:ss+ZZ" between double quotes
//   62-69  the panel's running event number, 8 hexadecimal digits
//   70-71  delivery mode (2: sent over the GPRS online link)
//   72-73  delivery bits: bit n clear = sent through reporting entry n + 1
//   74-75  record check sum
struct THistoryRec {
    static constexpr int kLineLength = 75;

    uint16_t index = 0;                 // place in the panel's journal; the key of the store
    std::array<uint8_t, 16> cid{};      // the sixteen message digits, one value 0..15 each
    bool cidhex = true;                 // all sixteen message characters were hexadecimal digits
    uint8_t changeflag = 0;             // 255 when the character is no hexadecimal digit
    std::array<uint8_t, 17> reserved{}; // a digit F is kept as 255
    uint8_t event = 0;                  // the 8-bit code of the event character
    QDateTime datetime = NoDate();      // the panel's clock; NoDate() when the text is not a date
    uint32_t globalindex = 0;
    uint8_t sendflag = 0;
    uint8_t phones = 0;
    uint8_t cs = 0;         // the check sum the panel sent (0 when not hexadecimal)
    bool csisvalud = false; // the check sum computed here matches the one sent

    friend bool operator==(const THistoryRec&, const THistoryRec&) = default;
};
// Moved in memory as it stands (its date is), so that a growing list of
// records moves them in one block.
Q_DECLARE_TYPEINFO(THistoryRec, Q_RELOCATABLE_TYPE);

// Decodes one answer line. A line that is not exactly 75 characters is no
// record (nothing). Fields that are not hexadecimal take their defaults:
// 0, or 255 for the change flag.
std::optional<THistoryRec> ParseRecord(const QByteArray& line);
// The line as the exchange hands it over; its characters count with their
// codes in the line's code page (Windows-1251), as the panel summed them.
std::optional<THistoryRec> ParseRecord(const QString& line);

// The 22-character date text ("24/03/01,07:12:00+12" between double
// quotes). The time-zone digits are ignored. A text out of that form, or
// numbers that make no date or time (month 13, hour 25), give NoDate().
// The result is the panel's wall-clock time as it stands. It is marked as
// UTC only so that no daylight-saving change of the workstation can move or
// void it; never convert it to another zone.
QDateTime ParseDateTime(const QByteArray& text);

// Whether the check sum at positions 74-75 matches the 8-bit sum over the
// line: the two index bytes, the codes of positions 5..21, 17 times 255,
// the code of position 39, the codes of positions 40..61 (an 'F' counting
// 255) and the six hexadecimal pairs of positions 62..73 (a pair that is not
// hexadecimal counts 255). A check sum that is not hexadecimal is wrong.
bool CheckRecordSum(const QByteArray& line);
// The sum itself (over a 75-character line).
uint8_t RecordSum(const QByteArray& line);
