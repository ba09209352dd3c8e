#include "HistoryRec.h"

#include "panel/Cp1251.h"

#include <QByteArrayView>

namespace {

// The line's characters as the panel sent them. Every helper below reads a
// fixed-length line through a view, so that a line converted on the stack
// needs no buffer of its own.
using TLine = QByteArrayView;

// The value of every byte as a hexadecimal digit, -1 for none.
constexpr std::array<int8_t, 256> kHexValues = [] {
    std::array<int8_t, 256> values{};
    for (int c = 0; c < 256; ++c) {
        values[size_t(c)] = c >= '0' && c <= '9'   ? int8_t(c - '0')
                            : c >= 'A' && c <= 'F' ? int8_t(c - 'A' + 10)
                            : c >= 'a' && c <= 'f' ? int8_t(c - 'a' + 10)
                                                   : int8_t(-1);
    }
    return values;
}();

int HexValue(char c) {
    return kHexValues[uint8_t(c)];
}

// The hexadecimal number at positions pos..pos+len-1 (counted from 1), or
// nothing when a character is no hexadecimal digit.
std::optional<uint32_t> HexField(TLine line, int pos, int len) {
    uint32_t value = 0;
    for (int i = 0; i < len; ++i) {
        const int d = HexValue(line.at(pos - 1 + i));
        if (d < 0)
            return std::nullopt;
        value = value * 16 + uint32_t(d);
    }
    return value;
}

uint32_t HexField(TLine line, int pos, int len, uint32_t fallback) {
    return HexField(line, pos, len).value_or(fallback);
}

// Two decimal digits at a 1-based position of the date text, 0 when they
// are not two digits.
int TwoDigits(TLine text, int pos) {
    const char hi = text.at(pos - 1);
    const char lo = text.at(pos);
    if (hi < '0' || hi > '9' || lo < '0' || lo > '9')
        return 0;
    return (hi - '0') * 10 + (lo - '0');
}

uint8_t Code(TLine line, int pos) {
    return uint8_t(line.at(pos - 1));
}

QDateTime DateTimeOf(TLine text) {
    if (text.size() != 22)
        return NoDate();
    constexpr struct {
        int pos;
        char c;
    } kSeparators[] = {{1, '"'}, {4, '/'}, {7, '/'}, {10, ','}, {13, ':'}, {16, ':'}, {19, '+'}, {22, '"'}};
    for (const auto& s : kSeparators) {
        if (text.at(s.pos - 1) != s.c)
            return NoDate();
    }
    const QDate date(2000 + TwoDigits(text, 2), TwoDigits(text, 5), TwoDigits(text, 8));
    const QTime time(TwoDigits(text, 11), TwoDigits(text, 14), TwoDigits(text, 17));
    if (!date.isValid() || !time.isValid())
        return NoDate();
    return QDateTime(date, time, Qt::UTC);
}

uint8_t SumOf(TLine line) {
    unsigned sum = HexField(line, 1, 2, 255) + HexField(line, 3, 2, 255);
    for (int p = 5; p <= 21; ++p)
        sum += Code(line, p);
    sum += 17 * 255;
    sum += Code(line, 39);
    for (int p = 40; p <= 61; ++p)
        sum += line.at(p - 1) == 'F' ? 255u : Code(line, p);
    for (int p = 62; p <= 72; p += 2)
        sum += HexField(line, p, 2, 255);
    return uint8_t(sum & 0xFF);
}

// A 75-character line.
THistoryRec RecordOf(TLine line) {
    THistoryRec rec;
    rec.index = uint16_t(HexField(line, 1, 4, 0));
    for (int i = 0; i < 16; ++i) {
        const int d = HexValue(line.at(4 + i));
        rec.cid[size_t(i)] = uint8_t(d < 0 ? 0 : d);
        if (d < 0)
            rec.cidhex = false;
    }
    rec.changeflag = uint8_t(HexField(line, 21, 1, 255));
    for (int i = 0; i < 17; ++i) {
        const uint32_t d = HexField(line, 22 + i, 1, 0);
        rec.reserved[size_t(i)] = uint8_t(d == 15 ? 255 : d);
    }
    rec.event = Code(line, 39);
    rec.datetime = DateTimeOf(line.sliced(39, 22));
    rec.globalindex = HexField(line, 62, 8, 0);
    rec.sendflag = uint8_t(HexField(line, 70, 2, 0));
    rec.phones = uint8_t(HexField(line, 72, 2, 0));
    const std::optional<uint32_t> sent = HexField(line, 74, 2);
    rec.cs = uint8_t(sent.value_or(0));
    rec.csisvalud = sent && *sent == SumOf(line);
    return rec;
}

} // namespace

QDateTime NoDate() {
    static const QDateTime value(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return value;
}

bool IsNoDate(const QDateTime& value) {
    return value == NoDate();
}

QDateTime ParseDateTime(const QByteArray& text) {
    return DateTimeOf(text);
}

uint8_t RecordSum(const QByteArray& line) {
    if (line.size() != THistoryRec::kLineLength)
        return 0;
    return SumOf(line);
}

bool CheckRecordSum(const QByteArray& line) {
    if (line.size() != THistoryRec::kLineLength)
        return false;
    const auto sent = HexField(line, 74, 2);
    return sent && *sent == SumOf(line);
}

std::optional<THistoryRec> ParseRecord(const QByteArray& line) {
    if (line.size() != THistoryRec::kLineLength)
        return std::nullopt;
    return RecordOf(line);
}

std::optional<THistoryRec> ParseRecord(const QString& line) {
    if (line.size() != THistoryRec::kLineLength)
        return std::nullopt;
    // The panel's lines are ASCII: their bytes are the low bytes of the
    // characters, converted on the stack. A line with any other character
    // goes through the code page.
    std::array<char, THistoryRec::kLineLength> bytes;
    const ushort* chars = line.utf16();
    ushort all = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        all |= chars[i];
        bytes[i] = char(chars[i]);
    }
    if (all >= 0x80)
        return RecordOf(ToCp1251(line));
    return RecordOf(TLine(bytes.data(), bytes.size()));
}
