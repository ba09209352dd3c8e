#include "HistoryModel.h"

#include "JournalPages.h"
#include "RecordFilter.h"

#include <QPromise>
#include <QtConcurrent>

#include <algorithm>

namespace {

bool NumericColumn(int column) {
    switch (column) {
    case hcIndex:
    case hcObject:
    case hcCode:
    case hcPartition:
    case hcZone:
    case hcGlobalIndex: return true;
    default: return false;
    }
}

} // namespace

bool RecordMatches(const THistory& history, const THistoryRec& rec, const QString& text) {
    const auto has = [&](const QString& value) { return value.contains(text, Qt::CaseInsensitive); };
    return has(QString::number(EventCode(rec))) || has(QString::number(ZoneNumber(rec))) ||
           has(QString::number(PartitionNumber(rec))) || has(RawMessage(rec)) || has(history.EventText(rec));
}

THistoryModel::THistoryModel(const THistory& history, QObject* parent)
    : QAbstractTableModel(parent), FHistory(history) {
    connect(&fRun, &QFutureWatcherBase::finished, this, &THistoryModel::RunFinished);
}

// A run still going keeps its own copies of the records and of the event
// texts, and ends at its next look at the cancel.
THistoryModel::~THistoryModel() {
    CancelRun();
}

int THistoryModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return fShowingMatches ? int(fMatches.size()) : fPage.Count();
}

int THistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : hcColumnCount;
}

int THistoryModel::StoreRow(int row) const {
    return fShowingMatches ? FHistory.IndexOfRecord(fMatches.at(size_t(row))) : fPage.Last - row;
}

QVariant THistoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= hcColumnCount)
        return {};
    const int row = StoreRow(index.row());
    if (row < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return FHistory.ColumnText(FHistory.RecordAt(row), index.column(), TRecordView::List, fLocale);
    case RecordIndexRole: return int(FHistory.RecordAt(row).index);
    case Qt::TextAlignmentRole:
        return NumericColumn(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default: return {};
    }
}

QVariant THistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= hcColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return HistoryColumnCaptions().at(section);
}

void THistoryModel::SetLocale(const QLocale& locale) {
    fLocale = locale;
    if (rowCount() > 0)
        emit dataChanged(index(0, hcTime), index(rowCount() - 1, hcTime));
}

void THistoryModel::SetPage(int from, int count) {
    fFrom = from;
    fCount = count;
    Rebuild();
}

void THistoryModel::SetFilter(const QString& text) {
    fFilter = text.trimmed();
    if (fBackground && Filtering()) {
        // The list stays as it is until the result.
        StartRun();
        return;
    }
    Rebuild();
}

void THistoryModel::Refresh() {
    Rebuild();
}

void THistoryModel::Rebuild() {
    if (Filtering() && fBackground) {
        beginResetModel();
        if (fShowingMatches) {
            // Records the store no longer holds (it was cleared) leave the
            // list at once; new ones come with the run's result.
            std::erase_if(fMatches, [this](uint16_t index) { return !FHistory.RecordExists(index); });
        } else {
            fPage = PageRange();
        }
        endResetModel();
        StartRun();
        return;
    }
    CancelRun();
    beginResetModel();
    fShowingMatches = Filtering();
    fMatches.clear();
    fPage = {};
    if (fShowingMatches)
        fMatches = TRecordFilter(fFilter, FHistory.EventTexts()).Matching(FHistory.Records());
    else
        fPage = PageRange();
    endResetModel();
    if (Filtering())
        emit FilterShown();
}

TRowRange THistoryModel::PageRange() const {
    if (fFrom < 0 || fCount <= 0)
        return {};
    // The stored records among the page's indexes, even when the first of
    // them is missing (a gap in the panel's journal, a failed read).
    return FHistory.ExportRows(fFrom, std::min(fFrom + fCount - 1, kLastJournalIndex));
}

void THistoryModel::StartRun() {
    CancelRun();
    fPending = true;
    // The run works on copies: the records as they are now and the event
    // texts (both shared, not copied, until the store changes).
    fRun.setFuture(QtConcurrent::run(
        [text = fFilter, events = FHistory.EventTexts(),
         records = FHistory.Records()](QPromise<std::vector<uint16_t>>& promise) {
            const TRecordFilter filter(text, events);
            promise.addResult(filter.Matching(records, [&promise] { return promise.isCanceled(); }));
        }));
}

void THistoryModel::CancelRun() {
    fPending = false;
    fRun.cancel();
}

void THistoryModel::RunFinished() {
    // A run cancelled before it ended has no result; one replaced by a newer
    // run is no longer watched.
    if (!fPending || fRun.isCanceled() || fRun.future().resultCount() == 0)
        return;
    fPending = false;
    beginResetModel();
    fShowingMatches = true;
    fMatches = fRun.result();
    fPage = {};
    endResetModel();
    emit FilterShown();
}

std::vector<int> THistoryModel::ShownRows() const {
    std::vector<int> rows;
    if (fShowingMatches) {
        for (auto it = fMatches.rbegin(); it != fMatches.rend(); ++it) {
            const int row = FHistory.IndexOfRecord(*it);
            if (row >= 0)
                rows.push_back(row);
        }
    } else {
        for (int row = fPage.First; row <= fPage.Last; ++row)
            rows.push_back(row);
    }
    return rows;
}
