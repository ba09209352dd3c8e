#include "journal.h"

#include "hex_digits.h"

namespace emu {

void Journal::setLines(const QList<QByteArray>& lines, const QList<int>& badIndexes) {
    fRecords.clear();
    fPointer = 0;
    for (const QByteArray& line : lines) {
        unsigned index = 0;
        for (int i = 0; i < 4 && i < line.size(); ++i) {
            const int d = hex::digitValue(line.at(i));
            index = index * 16 + unsigned(d < 0 ? 0 : d);
        }
        fRecords[index] = line;
        fPointer = qMax(fPointer, (index + 1) & 0xFFFF);
    }
    fBad = badIndexes;
    fWritten = quint32(lines.size());
}

namespace {
unsigned IndexOf(const QByteArray& line) {
    unsigned index = 0;
    for (int i = 0; i < 4 && i < line.size(); ++i) {
        const int d = hex::digitValue(line.at(i));
        index = index * 16 + unsigned(d < 0 ? 0 : d);
    }
    return index;
}
} // namespace

void Journal::append(const QList<QByteArray>& lines) {
    for (const QByteArray& line : lines) {
        const unsigned index = IndexOf(line);
        fRecords[index] = line;
        fBad.removeAll(int(index));
        fPointer = (index + 1) & 0xFFFF;
        ++fWritten;
    }
}

QList<QByteArray> Journal::lines() const {
    QList<QByteArray> out;
    for (const auto& [index, line] : fRecords)
        out.append(line);
    return out;
}

QList<QByteArray> Journal::range(unsigned from, unsigned to, bool includeEnd) const {
    QList<QByteArray> out;
    if (from > to)
        return out;
    for (auto it = fRecords.lower_bound(from); it != fRecords.end(); ++it) {
        if (it->first > to || (!includeEnd && it->first == to))
            break;
        out.append(it->second);
    }
    return out;
}

void Journal::erase() {
    fRecords.clear();
    fPointer = 0;
    fBad.clear();
}

} // namespace emu
