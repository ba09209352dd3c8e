#pragma once

#include <QByteArray>
#include <QList>
#include <map>

namespace emu {

// The panel's event journal: record lines by index, and the pointer, the
// index after the newest record.
class Journal {
public:
    // Replaces the journal; each line's index is its first four characters
    // (hexadecimal). The pointer becomes the index after the highest one.
    void setLines(const QList<QByteArray>& lines, const QList<int>& badIndexes = {});
    // Every stored line in index order.
    QList<QByteArray> lines() const;
    int size() const { return int(fRecords.size()); }
    unsigned pointer() const { return fPointer; }
    QList<int> badIndexes() const { return fBad; }

    // The lines of the stored records from `from` to `to` (the end included
    // when includeEnd). A range whose start lies after its end holds nothing.
    QList<QByteArray> range(unsigned from, unsigned to, bool includeEnd) const;
    // Empties the journal; the pointer goes back to 0.
    void erase();
    // Writes records as the panel does, each at its index (the first four
    // characters), over whatever that index held; the pointer follows the
    // last one, 65535 followed by 0.
    void append(const QList<QByteArray>& lines);
    // Records written since the journal was set, erases included: the
    // panel's running event number goes on from it.
    quint32 written() const { return fWritten; }

private:
    std::map<unsigned, QByteArray> fRecords;
    unsigned fPointer = 0;
    quint32 fWritten = 0;
    QList<int> fBad;
};

} // namespace emu
