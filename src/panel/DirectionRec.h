#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <cstdint>

// Channel type codes of a reporting entry, as the panel stores them.
enum TChannelType : uint8_t {
    ctNone = 0,      // the entry is not used
    ctVoice = 1,     // voice call, until the called party answers
    ctCsd = 2,       // GSM digital channel (CSD data call)
    ctGprsIp1 = 3,   // GPRS-offline to server address 1
    ctGprsIp2 = 4,   // GPRS-offline to server address 2
    ctSmsRelvan = 5, // SMS to the Relvan message server
    ctSmsMobile = 6, // SMS to a mobile phone
};

// One of the panel's eight reporting entries ("+alphon0".."+alphon7"):
// the direction it belongs to, its place inside the direction, the channel
// type and the phone number or address.
struct TDirectionRec {
    static constexpr int kPhoneMax = 30; // 8-bit characters
    static constexpr int kEntries = 8;

    uint8_t Direction = 0; // 1..8 from the top; 0 when the answer was malformed
    uint8_t Order = 0;     // 1-based place inside the direction
    std::array<uint8_t, 3> Reserved{};
    uint8_t Channel = 0; // TChannelType
    QString Phone;       // at most kPhoneMax characters of the line's code page

    friend bool operator==(const TDirectionRec&, const TDirectionRec&) = default;
};

using TDirectionTable = std::array<TDirectionRec, TDirectionRec::kEntries>;

// The entry as the panel answers "+alphon<i>": the answer's value line (the
// line before the final "OK"), six digits, "=" and the phone in digits and
// "+" ("110002=123"). The digits 1, 2, 3 and 6 give the direction, the
// order, the first reserved value and the channel; the phone is cut to
// kPhoneMax characters. A value line of any other form (a modem's stray
// "+CREG: 0,1", another command's answer) is no entry: nothing.
std::optional<TDirectionRec> ParseDirectionAnswer(const QStringList& lines);

// The command that writes entry `entry` (0..7):
// "+alphon<entry><Direction><Order><three reserved><Channel>=<Phone>", each
// number in upper-case hexadecimal without leading zeros, the phone cut to
// kPhoneMax 8-bit characters. Entry 0, first in direction 1, GSM digital
// channel, phone 123: "+alphon0110002=123".
QString DirectionWriteLine(int entry, const TDirectionRec& rec);

// A text as the line carries it: converted to the 8-bit code page and cut to
// kPhoneMax characters.
QString DirectionPhone(const QString& text);
