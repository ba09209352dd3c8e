#pragma once

#include "CidEventTable.h"
#include "HistoryRec.h"
#include "HistoryValues.h"
#include "IndexRank.h"
#include "panel/DirectionRec.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

// A run of rows of the store, First..Last (empty when Last < First).
struct TRowRange {
    int First = 0;
    int Last = -1;
    bool IsEmpty() const { return Last < First; }
    int Count() const { return IsEmpty() ? 0 : Last - First + 1; }
    friend bool operator==(const TRowRange&, const TRowRange&) = default;
};

// The journal records read from the panel, in index order, each index at
// most once. Rows are the places in that order (0 .. Count() - 1); a model
// over the store asks for the count, the record at a row and the row of an
// index. Adding a record, finding an index and finding a row each take a
// few steps whatever the size of the store and the order of arrival.
class THistory {
public:
    // The store names events with the program's event text table.
    THistory();

    // Removes every record and resets the count of unused lines.
    void Clear();

    // Decodes one answer line of "+read" and stores its record in its place
    // by index; a record with a stored index replaces the stored one. A line
    // that is no record (not 75 characters) changes nothing, is counted, and
    // gives false.
    bool Add(const QString& Value);
    // Adds the lines in order; returns how many of them were not used.
    int AddLines(const QStringList& lines);
    // Answer lines that were no record, since the store was made or cleared.
    int RejectedLines() const { return fRejected; }

    // A copy of the panel's reporting entries, to name delivery channels and
    // count directions.
    void SetDirections(const TDirectionTable& directions) { fDirection = directions; }
    const TDirectionTable& Directions() const { return fDirection; }

    int Count() const { return fRank.Count(); }
    bool RecordExists(uint16_t index) const { return fRank.Contains(index); }
    // The record at a row (0 .. Count() - 1).
    const THistoryRec& RecordAt(int row) const;
    // The row of the record with that index, -1 when none is stored.
    int IndexOfRecord(uint16_t index) const;
    // Every stored record, in the order of first arrival: a copy that shares
    // the store's memory until either changes, so another thread may read it
    // while the store goes on taking records.
    QList<THistoryRec> Records() const { return fRecords; }
    // The index of the first and of the last record; 0 when the store is empty.
    uint16_t FirstIndex() const;
    uint16_t LastIndex() const;

    // The rows of one page of the history list: the record with index `from`
    // up to the last stored record at or below from + count - 1 (counted
    // without wrapping past 65535). Empty when `from` is not stored or count
    // is 0. The list shows them from Last (the newest, at the top) down to
    // First.
    TRowRange PageRows(uint16_t from, uint16_t count) const;
    // The rows the export writes, ascending: every record with an index
    // between RecFrom and RecTo (either order); -1 and -1 for all.
    TRowRange ExportRows(int RecFrom, int RecTo) const;

    // Derived values with this store's event texts and reporting entries.
    const TCidEventTable& EventTexts() const { return *fEvents; }
    QString EventText(const THistoryRec& rec) const { return ::EventText(rec, *fEvents); }
    QString ChannelsText(const THistoryRec& rec) const { return ::ChannelsText(rec, fDirection); }
    int DirectionCount() const { return ::DirectionCount(fDirection); }
    bool DeliveredToAll(const THistoryRec& rec, TRecordView view) const {
        return ::DeliveredToAll(rec, fDirection, view);
    }
    // One cell of a record (column: a THistoryColumn).
    QString ColumnText(const THistoryRec& rec, int column, TRecordView view,
                       const QLocale& locale = QLocale::system()) const {
        return ::ColumnText(rec, column, *fEvents, fDirection, view, locale);
    }
    // The thirteen cells of the record at a row.
    QStringList RecordTexts(int row, TRecordView view, const QLocale& locale = QLocale::system()) const;

private:
    // The rows of the records with indexes lo..hi.
    TRowRange RowsBetween(int lo, int hi) const;

    const TCidEventTable* fEvents;
    TDirectionTable fDirection{};
    QList<THistoryRec> fRecords; // in order of first arrival
    std::vector<int32_t> fSlot;  // index to its place in fRecords, -1 when not stored
    TIndexRank fRank;
    int fRejected = 0;
};
