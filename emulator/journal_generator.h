#pragma once

#include "journal_record.h"

#include <QList>

namespace emu {

// Makes a journal that looks like a working panel's: arming and disarming by
// users, periodic tests, zone alarms with their restores, mains and battery
// troubles, resets, tampers, program mode, delivered over CSD, SMS or the
// GPRS online link (or not delivered). The same seed gives the same journal.
class JournalGenerator {
public:
    struct Options {
        int records = 100;
        int badRecords =
            0; // spread over the journal; half with a wrong record sum, half with a wrong CID digit
        quint32 seed = 1;
        QByteArray account = "0050";
        bool cidTenAsA = false;
        // Where the records go: the first one's journal index (the next
        // ones count up, 65535 followed by 0) and running event number.
        int firstIndex = 0;
        quint32 firstGlobalIndex = 0x400;
    };

    struct Result {
        QList<QByteArray> lines; // in the order written, indexes firstIndex.. (wrapping past 65535)
        QList<int> badIndexes;   // records whose check sum or CID check digit is wrong
    };

    static Result generate(const Options& options);
};

} // namespace emu
