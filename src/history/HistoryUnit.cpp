#include "HistoryUnit.h"

#include <algorithm>

THistory::THistory() : fEvents(&TCidEventTable::Builtin()) {}

void THistory::Clear() {
    fRecords.clear();
    fSlot.clear();
    fRank.Clear();
    fRejected = 0;
}

bool THistory::Add(const QString& Value) {
    const std::optional<THistoryRec> rec = ParseRecord(Value);
    if (!rec) {
        ++fRejected;
        return false;
    }
    if (fSlot.empty())
        fSlot.assign(TIndexRank::kIndexes, -1);
    int32_t& slot = fSlot[rec->index];
    if (slot >= 0) {
        fRecords[slot] = *rec;
    } else {
        slot = int32_t(fRecords.size());
        fRecords.append(*rec);
        fRank.Insert(rec->index);
    }
    return true;
}

int THistory::AddLines(const QStringList& lines) {
    int unused = 0;
    for (const QString& line : lines) {
        if (!Add(line))
            ++unused;
    }
    return unused;
}

const THistoryRec& THistory::RecordAt(int row) const {
    return fRecords.at(fSlot[fRank.Select(row)]);
}

int THistory::IndexOfRecord(uint16_t index) const {
    return fRank.Contains(index) ? fRank.Rank(index) : -1;
}

uint16_t THistory::FirstIndex() const {
    return Count() == 0 ? 0 : fRank.Select(0);
}

uint16_t THistory::LastIndex() const {
    return Count() == 0 ? 0 : fRank.Select(Count() - 1);
}

TRowRange THistory::RowsBetween(int lo, int hi) const {
    lo = std::max(lo, 0);
    hi = std::min(hi, TIndexRank::kIndexes - 1);
    if (hi < lo)
        return {};
    const int first = fRank.Rank(uint16_t(lo));
    const int last = (hi == TIndexRank::kIndexes - 1 ? Count() : fRank.Rank(uint16_t(hi + 1))) - 1;
    return {first, last};
}

TRowRange THistory::PageRows(uint16_t from, uint16_t count) const {
    if (!RecordExists(from) || count == 0)
        return {};
    return RowsBetween(from, int(from) + int(count) - 1);
}

TRowRange THistory::ExportRows(int RecFrom, int RecTo) const {
    if (RecTo < RecFrom)
        std::swap(RecFrom, RecTo);
    return RowsBetween(RecFrom < 0 ? 0 : RecFrom, RecTo < 0 ? TIndexRank::kIndexes - 1 : RecTo);
}

QStringList THistory::RecordTexts(int row, TRecordView view, const QLocale& locale) const {
    return ::RecordTexts(RecordAt(row), *fEvents, fDirection, view, locale);
}
