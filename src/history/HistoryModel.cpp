#include "HistoryModel.h"

#include "JournalPages.h"

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
    : QAbstractTableModel(parent), FHistory(history) {}

int THistoryModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return Filtering() ? int(fMatches.size()) : fPage.Count();
}

int THistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : hcColumnCount;
}

int THistoryModel::StoreRow(int row) const {
    return Filtering() ? fMatches.at(size_t(row)) : fPage.Last - row;
}

QVariant THistoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= hcColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return FHistory.ColumnText(FHistory.RecordAt(StoreRow(index.row())), index.column(),
                                   TRecordView::List, fLocale);
    case RecordIndexRole: return int(FHistory.RecordAt(StoreRow(index.row())).index);
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
    Rebuild();
}

void THistoryModel::Refresh() {
    Rebuild();
}

void THistoryModel::Rebuild() {
    beginResetModel();
    fPage = {};
    fMatches.clear();
    if (Filtering()) {
        for (int row = FHistory.Count() - 1; row >= 0; --row) {
            if (RecordMatches(FHistory, FHistory.RecordAt(row), fFilter))
                fMatches.push_back(row);
        }
    } else if (fFrom >= 0 && fCount > 0) {
        // The stored records among the page's indexes, even when the first
        // of them is missing (a gap in the panel's journal, a failed read).
        fPage = FHistory.ExportRows(fFrom, std::min(fFrom + fCount - 1, kLastJournalIndex));
    }
    endResetModel();
}

std::vector<int> THistoryModel::ShownRows() const {
    std::vector<int> rows;
    if (Filtering()) {
        rows.assign(fMatches.rbegin(), fMatches.rend());
    } else {
        for (int row = fPage.First; row <= fPage.Last; ++row)
            rows.push_back(row);
    }
    return rows;
}
