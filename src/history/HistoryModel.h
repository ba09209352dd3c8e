#pragma once

#include "HistoryUnit.h"

#include <QAbstractTableModel>
#include <QFutureWatcher>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <vector>

// The history list over the record store: the thirteen columns of a record,
// newest at the top. It shows one page of indexes (the stored records among
// them), or, while a filter text is set, every stored record whose event
// text, event code, zone, partition or message contains the text (any case),
// with paging off. Cells are made when the view asks for them; nothing is
// copied out of the store.
//
// The filter runs where the model is told: at once, or on a thread of the
// pool (FilterInBackground), so that typing into the filter box never waits
// for it. In the background the list keeps what it shows until the newest
// text's result is ready; a run that a newer text, a cleared filter or a
// changed store has made stale is cancelled and never shown.
class THistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The record's index in the journal, on every cell (an int).
    static constexpr int RecordIndexRole = Qt::UserRole + 1;

    explicit THistoryModel(const THistory& history, QObject* parent = nullptr);
    ~THistoryModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The locale of the time column (the system's by default).
    void SetLocale(const QLocale& locale);

    // The page: indexes from..from + count - 1; from -1 shows nothing.
    // Connected to TJournalReader::PageChanged; also takes a changed store.
    void SetPage(int from, int count);
    // An empty (or blank) text ends the filter and shows the page again, at
    // once in either mode.
    void SetFilter(const QString& text);
    // The text set last (trimmed), whether or not its result is on show yet.
    QString FilterText() const { return fFilter; }
    bool Filtering() const { return !fFilter.isEmpty(); }
    // Looks at the store again (records added or cleared), same page and filter.
    void Refresh();

    // Off (the default): the filter runs inside SetFilter and Refresh. On:
    // on a thread of the pool, from a copy of the store's records.
    void FilterInBackground(bool on) { fBackground = on; }
    // The result of the text set last is still to come from the background.
    bool FilterPending() const { return fPending; }

    // The store's row shown at a row of the list.
    int StoreRow(int row) const;
    // The store's rows on show, oldest first: what "export the open page"
    // writes.
    std::vector<int> ShownRows() const;

signals:
    // The result of the text set last is on show (either mode).
    void FilterShown();

private:
    void Rebuild();
    // The stored rows of the page's indexes.
    TRowRange PageRange() const;
    void StartRun();
    void RunFinished();
    void CancelRun();

    const THistory& FHistory;
    QLocale fLocale = QLocale::system();
    int fFrom = -1;
    int fCount = 0;
    QString fFilter;
    bool fBackground = false;
    bool fShowingMatches = false; // the list shows fMatches, else fPage
    TRowRange fPage;
    std::vector<uint16_t> fMatches; // journal indexes, newest first
    QFutureWatcher<std::vector<uint16_t>> fRun;
    bool fPending = false; // a run's result is awaited
};

// Whether the record's event text, event code, zone, partition or message
// contains the text (any case).
bool RecordMatches(const THistory& history, const THistoryRec& rec, const QString& text);
