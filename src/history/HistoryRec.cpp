#include "HistoryRec.h"

#include "panel/Cp1251.h"

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The hexadecimal number at positions pos..pos+len-1 (counted from 1), or
// nothing when a character is no hexadecimal digit.
std::optional<uint32_t> HexField(const QByteArray& line, int pos, int len) {
    uint32_t value = 0;
    for (int i = 0; i < len; ++i) {
        const int d = HexValue(line.at(pos - 1 + i));
        if (d < 0)
            return std::nullopt;
        value = value * 16 + uint32_t(d);
    }
    return value;
}

uint32_t HexField(const QByteArray& line, int pos, int len, uint32_t fallback) {
    return HexField(line, pos, len).value_or(fallback);
}

// Two decimal digits at a 1-based position of the date text, 0 when they
// are not two digits.
int TwoDigits(const QByteArray& text, int pos) {
    const char hi = text.at(pos - 1);
    const char lo = text.at(pos);
    if (hi < '0' || hi > '9' || lo < '0' || lo > '9')
        return 0;
    return (hi - '0') * 10 + (lo - '0');
}

uint8_t Code(const QByteArray& line, int pos) {
    return uint8_t(line.at(pos - 1));
}

} // namespace

QDateTime NoDate() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
}

bool IsNoDate(const QDateTime& value) {
    return value == NoDate();
}

QDateTime ParseDateTime(const QByteArray& text) {
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

uint8_t RecordSum(const QByteArray& line) {
    if (line.size() != THistoryRec::kLineLength)
        return 0;
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

bool CheckRecordSum(const QByteArray& line) {
    if (line.size() != THistoryRec::kLineLength)
        return false;
    const auto sent = HexField(line, 74, 2);
    return sent && *sent == RecordSum(line);
}

std::optional<THistoryRec> ParseRecord(const QByteArray& line) {
    if (line.size() != THistoryRec::kLineLength)
        return std::nullopt;
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
    rec.datetime = ParseDateTime(line.mid(39, 22));
    rec.globalindex = HexField(line, 62, 8, 0);
    rec.sendflag = uint8_t(HexField(line, 70, 2, 0));
    rec.phones = uint8_t(HexField(line, 72, 2, 0));
    rec.cs = uint8_t(HexField(line, 74, 2, 0));
    rec.csisvalud = CheckRecordSum(line);
    return rec;
}

std::optional<THistoryRec> ParseRecord(const QString& line) {
    if (line.size() != THistoryRec::kLineLength)
        return std::nullopt;
    return ParseRecord(ToCp1251(line));
}
