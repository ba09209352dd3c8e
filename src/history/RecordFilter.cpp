#include "RecordFilter.h"

#include "HistoryValues.h"
#include "panel/HexDigit.h"

#include <algorithm>

namespace {

// The journal holds at most this many indexes.
constexpr int kIndexes = 65536;
// How many records are matched between two looks at `cancelled`.
constexpr int kCancelStride = 4096;

} // namespace

TRecordFilter::TRecordFilter(const QString& text, const TCidEventTable& events)
    : fText(text), fEvents(&events), fNumbers(size_t(kMaxNumber) + 1) {
    for (int n = 0; n <= kMaxNumber; ++n)
        fNumbers[size_t(n)] = QString::number(n).contains(fText, Qt::CaseInsensitive);
    fMessageText = fText.size() <= 16;
    for (const QChar c : fText) {
        const int d = HexDigitValue(c);
        if (d < 0) {
            fMessageText = false;
            break;
        }
        fDigits.push_back(uint8_t(d));
    }
}

bool TRecordFilter::FieldsMatch(const THistoryRec& rec) const {
    return fNumbers[size_t(EventCode(rec))] || fNumbers[size_t(ZoneNumber(rec))] ||
           fNumbers[size_t(PartitionNumber(rec))] || MessageMatches(rec);
}

bool TRecordFilter::MessageMatches(const THistoryRec& rec) const {
    if (!fMessageText)
        return false;
    return std::search(rec.cid.begin(), rec.cid.end(), fDigits.begin(), fDigits.end()) != rec.cid.end();
}

bool TRecordFilter::EventTextMatches(const THistoryRec& rec) const {
    return EventText(rec, *fEvents).contains(fText, Qt::CaseInsensitive);
}

bool TRecordFilter::Matches(const THistoryRec& rec) const {
    return FieldsMatch(rec) || EventTextMatches(rec);
}

std::vector<uint16_t> TRecordFilter::Matching(const QList<THistoryRec>& records,
                                              const std::function<bool()>& cancelled) const {
    // Whether an event's text matches, looked at once per event: the key's
    // four digits (event code and qualifier), each up to 15, make 16 bits.
    // -1 not looked at yet.
    std::vector<int8_t> eventMatches(kIndexes, -1);
    std::vector<bool> hit(kIndexes);
    qsizetype done = 0;
    for (const THistoryRec& rec : records) {
        if (cancelled && ++done % kCancelStride == 0 && cancelled())
            return {};
        bool match = FieldsMatch(rec);
        if (!match) {
            const auto& d = rec.cid;
            int8_t& known = eventMatches[size_t(d[7] << 12 | d[8] << 8 | d[9] << 4 | d[6])];
            if (known < 0)
                known = EventTextMatches(rec) ? 1 : 0;
            match = known == 1;
        }
        if (match)
            hit[rec.index] = true;
    }
    std::vector<uint16_t> out;
    for (int index = kIndexes - 1; index >= 0; --index) {
        if (hit[size_t(index)])
            out.push_back(uint16_t(index));
    }
    return out;
}
