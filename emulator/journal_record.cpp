#include "journal_record.h"

#include "hex_digits.h"

namespace emu {

namespace {

unsigned pairValue(const QByteArray& line, int pos1) {
    const int hi = hex::digitValue(line.at(pos1 - 1));
    const int lo = hex::digitValue(line.at(pos1));
    if (hi < 0 || lo < 0)
        return 255;
    return unsigned(hi * 16 + lo);
}

} // namespace

QByteArray JournalRecord::dateTextOf(const QDateTime& when) {
    if (!when.isValid())
        return QByteArray(22, 'F');
    const QDate d = when.date();
    const QTime t = when.time();
    auto two = [](int v) { return QByteArray::number(v % 100).rightJustified(2, '0'); };
    return '"' + two(d.year()) + '/' + two(d.month()) + '/' + two(d.day()) + ',' + two(t.hour()) + ':' +
           two(t.minute()) + ':' + two(t.second()) + "+12\"";
}

QByteArray JournalRecord::line(bool wrongSum) const {
    QByteArray l;
    l.reserve(kLineLength);
    l += hex::format(index, 4);
    l += cid.left(16).leftJustified(16, '0');
    l += changeFlag;
    l += reserved.left(17).leftJustified(17, 'F');
    l += event;
    l += dateText.left(22).leftJustified(22, 'F');
    l += hex::format(globalIndex, 8);
    l += hex::format(sendFlag, 2);
    l += hex::format(phones, 2);
    quint8 cs = recordCheckSum(l + "00");
    if (wrongSum)
        cs = quint8(cs + 1);
    l += hex::format(cs, 2);
    return l;
}

quint8 recordCheckSum(const QByteArray& line) {
    if (line.size() < JournalRecord::kLineLength)
        return 0;
    unsigned sum = pairValue(line, 1) + pairValue(line, 3);
    for (int p = 5; p <= 21; ++p)
        sum += static_cast<unsigned char>(line.at(p - 1));
    sum += 17 * 255;
    sum += static_cast<unsigned char>(line.at(38));
    for (int p = 40; p <= 61; ++p) {
        const char c = line.at(p - 1);
        sum += c == 'F' ? 255 : static_cast<unsigned char>(c);
    }
    for (int p = 62; p <= 72; p += 2)
        sum += pairValue(line, p);
    return quint8(sum & 0xFF);
}

} // namespace emu
