#pragma once

#include "history/HistoryUnit.h"

#include <QString>

// A full journal (65 536 records) with a spread of events: codes and
// restores from a short list, zones and partitions changing with the index.
constexpr int kJournal = 65536;

inline QString LineFor(int index) {
    static const char* const kEvents[] = {"1130", "3130", "1301", "1302", "1401", "3401", "1602", "1570"};
    const QString event = QString::fromLatin1(kEvents[index % 8]);
    const QString cid = "005018" + event.left(1) + event.mid(1) +
                        QStringLiteral("%1").arg(index % 8 + 1, 2, 10, QLatin1Char('0')) +
                        QStringLiteral("%1").arg(index % 97, 3, 10, QLatin1Char('0')) + "0";
    return QStringLiteral("%1").arg(index, 4, 16, QLatin1Char('0')).toUpper() + cid +
           "0FFFFFFFFFFFFFFFFF1\"24/03/01,07:12:00+12\"" +
           QStringLiteral("%1").arg(index, 8, 16, QLatin1Char('0')).toUpper() + "00FA00";
}

// The whole journal added to a store.
inline void AddFullJournal(THistory& history) {
    for (int i = 0; i < kJournal; ++i)
        history.Add(LineFor(i));
}

// Built on first use and kept.
inline const THistory& FullStore() {
    static THistory* store = [] {
        auto* h = new THistory;
        AddFullJournal(*h);
        return h;
    }();
    return *store;
}
