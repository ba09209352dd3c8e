#pragma once

#include <QByteArray>
#include <QDateTime>

namespace emu {

// One record of the panel's journal and its 75-character answer line:
//   1-4    index, 4 hexadecimal digits
//   5-20   the Contact ID message, 16 digits
//   21     change flag, one hexadecimal digit
//   22-38  17 reserved digits (the panel leaves them F)
//   39     event character
//   40-61  date text "YY/MM/DD,hh:mm:ss+ZZ" between double quotes
//   62-69  running event number, 8 hexadecimal digits
//   70-71  delivery mode (2 = sent over the GPRS online link)
//   72-73  delivery bits, bit n clear = sent through direction entry n + 1
//   74-75  record check sum
struct JournalRecord {
    quint16 index = 0;
    QByteArray cid = QByteArray(16, '0');
    char changeFlag = '0';
    QByteArray reserved = QByteArray(17, 'F');
    char event = '1';
    QByteArray dateText = dateTextOf(QDateTime());
    quint32 globalIndex = 0;
    quint8 sendFlag = 0;
    quint8 phones = 0xFF;

    static constexpr int kLineLength = 75;

    // The answer line; with wrongSum the check sum is off by one.
    QByteArray line(bool wrongSum = false) const;
    // The 22-character date text; an invalid time gives 22 'F' characters (no date).
    static QByteArray dateTextOf(const QDateTime& when);
};

// The record check sum over positions 1..73 of a 75-character line: the two
// index bytes, the character codes of positions 5..21, 17 times 255 for the
// reserved digits, the code of position 39, the codes of positions 40..61
// ('F' counting 255) and the values of the six hexadecimal pairs 62..73.
quint8 recordCheckSum(const QByteArray& line);

} // namespace emu
