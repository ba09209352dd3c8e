#pragma once

#include "CidEventTable.h"
#include "HistoryRec.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// The history list's filter: whether a record's event text, event code,
// zone, partition or message contains a text, in any case. What the text
// can match is worked out once (which numbers contain it, the text as
// message digits), so that a record is matched by looking its fields up,
// without making its texts. A filter does not change once made: runs on
// several threads may share it.
class TRecordFilter {
public:
    TRecordFilter(const QString& text, const TCidEventTable& events);

    const QString& Text() const { return fText; }
    bool Matches(const THistoryRec& rec) const;

    // The journal indexes of the records that match, highest (newest)
    // first. `cancelled`, when given, is asked every few thousand records;
    // once it says true the search stops and gives nothing.
    std::vector<uint16_t> Matching(const QList<THistoryRec>& records,
                                   const std::function<bool()>& cancelled = {}) const;

private:
    // The largest event code or zone number four digits up to 15 can make.
    static constexpr int kMaxNumber = 15 * 111;

    bool FieldsMatch(const THistoryRec& rec) const;
    bool EventTextMatches(const THistoryRec& rec) const;
    bool MessageMatches(const THistoryRec& rec) const;

    QString fText;
    const TCidEventTable* fEvents;
    std::vector<bool> fNumbers;   // 0..kMaxNumber: the number in decimal contains the text
    std::vector<uint8_t> fDigits; // the text as message digits (0..15)
    bool fMessageText = false;    // the text can be part of a message
};
