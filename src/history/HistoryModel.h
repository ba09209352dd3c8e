#pragma once

#include "HistoryUnit.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <QString>

#include <vector>

// The history list over the record store: the thirteen columns of a record,
// newest at the top. It shows one page of indexes (the stored records among
// them), or, while a filter text is set, every stored record whose event
// text, event code, zone, partition or message contains the text (any case),
// with paging off. Cells are made when the view asks for them; nothing is
// copied out of the store.
class THistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The record's index in the journal, on every cell (an int).
    static constexpr int RecordIndexRole = Qt::UserRole + 1;

    explicit THistoryModel(const THistory& history, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The locale of the time column (the system's by default).
    void SetLocale(const QLocale& locale);

    // The page: indexes from..from + count - 1; from -1 shows nothing.
    // Connected to TJournalReader::PageChanged; also takes a changed store.
    void SetPage(int from, int count);
    // An empty (or blank) text ends the filter and shows the page again.
    void SetFilter(const QString& text);
    QString FilterText() const { return fFilter; }
    bool Filtering() const { return !fFilter.isEmpty(); }
    // Looks at the store again (records added or cleared), same page and filter.
    void Refresh();

    // The store's row shown at a row of the list.
    int StoreRow(int row) const;
    // The store's rows on show, oldest first: what "export the open page"
    // writes.
    std::vector<int> ShownRows() const;

private:
    void Rebuild();

    const THistory& FHistory;
    QLocale fLocale = QLocale::system();
    int fFrom = -1;
    int fCount = 0;
    QString fFilter;
    TRowRange fPage;           // while not filtering
    std::vector<int> fMatches; // while filtering: store rows, newest first
};

// Whether the record's event text, event code, zone, partition or message
// contains the text (any case).
bool RecordMatches(const THistory& history, const THistoryRec& rec, const QString& text);
