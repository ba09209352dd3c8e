#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class TArchive;

// A record as it goes into the archive.
struct TRecordToStore {
    int Index = 0;
    QString Raw;    // the answer line as the panel sent it
    QString Search; // what the filter looks in (see ArchiveSearchText)
};

// A record as the archive keeps it.
struct TArchivedRecord {
    int Run = 0;
    int Index = 0;
    QString Raw;
    QDateTime ReadAt; // UTC
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
    // `count` of them from `offset`; with a filter text only those whose
    // search text holds it (any case).
    std::optional<QList<TArchivedRecord>> Page(qint64 panel, const QString& filter, qint64 offset, int count);
    std::optional<qint64> Count(qint64 panel, const QString& filter);
    // The panel's runs, ascending.
    std::optional<QList<int>> Runs(qint64 panel);
    // The records of one run in index order.
    std::optional<QList<TArchivedRecord>> Run(qint64 panel, int run);

private:
    TArchive& fArchive;
};
