#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class TArchive;

// A record as it goes into the archive.
struct TRecordToStore {
    int Index = 0;
    QString Raw;    // the answer line as the panel sent it
    QString Search; // the record's numbers and message, lower case (see ArchiveRecord)
    QString Event;  // its event key ("1301"), which names its event text
};

// A record as the archive keeps it.
struct TArchivedRecord {
    int Run = 0;
    int Index = 0;
    QString Raw;
    QDateTime ReadAt; // UTC
};

// Where a record stands in a panel's archive: runs in the order they came,
// indexes within a run.
struct TArchiveKey {
    int Run = 0;
    int Index = 0;
};

// The records a filter text finds: those whose search text holds the text
// (any case), and those of the events whose text holds it (the event texts
// are the program's, so the caller names their keys).
struct TArchiveFilter {
    QString Text;
    QStringList Events;
    bool IsEmpty() const { return Text.trimmed().isEmpty(); }
};

// The newest run of a panel's archived journal and its highest index.
struct TJournalHead {
    int Run = 0;    // 0: nothing archived
    int Index = -1; // the highest index of that run
    QString Raw;    // the record at that index
    bool IsEmpty() const { return Run == 0; }
};

// The journal part of the archive. The panel's journal is a ring of indexes
// 0..65535 that an erase empties; so the archive keeps a panel's records in
// runs, numbered from 1: a record is kept by (run, index), and a record
// that differs from the one its run holds at that index (RecordIdentity)
// belongs to a journal erased or wrapped since: it starts the next run, and
// the run before stays as it was.
class TJournalArchive {
public:
    explicit TJournalArchive(TArchive& archive) : fArchive(archive) {}

    // The last failure: the file and the reason.
    QString Error() const;

    // Nothing when the query failed (the archive's Error()).
    std::optional<TJournalHead> Head(qint64 panel);

    // Stores records read from the panel in one transaction: into the
    // newest run, or a new one when `newRun` (the pointer showed an erase or
    // a wrap) or when one of them differs from the record its index holds
    // there. A record held already is updated in place (its delivery state
    // may have moved on). False with the archive's Error(); nothing is then
    // stored.
    bool Store(qint64 panel, const QList<TRecordToStore>& records, bool newRun, const QDateTime& readAt);

    // The panel's records newest first (highest run, then highest index),
    // `count` of them from `offset`, those the filter finds (all for an
    // empty filter). An offset is counted off record by record: for paging
    // through a big archive, Older and Newer go from a record's key.
    std::optional<QList<TArchivedRecord>> Page(qint64 panel, const TArchiveFilter& filter, qint64 offset,
                                               int count);
    // The `count` records just older than `before` (none: the newest),
    // newest first.
    std::optional<QList<TArchivedRecord>> Older(qint64 panel, const TArchiveFilter& filter,
                                                const std::optional<TArchiveKey>& before, int count);
    // The `count` records just newer than `after`, newest first.
    std::optional<QList<TArchivedRecord>> Newer(qint64 panel, const TArchiveFilter& filter,
                                                const TArchiveKey& after, int count);
    std::optional<qint64> Count(qint64 panel, const TArchiveFilter& filter);
    // The panel's runs, ascending.
    std::optional<QList<int>> Runs(qint64 panel);
    // The records of one run in index order.
    std::optional<QList<TArchivedRecord>> Run(qint64 panel, int run);

private:
    std::optional<QList<TArchivedRecord>> Select(qint64 panel, const TArchiveFilter& filter,
                                                 const QString& where, const QVariantList& values,
                                                 const QString& tail);

    TArchive& fArchive;
};
