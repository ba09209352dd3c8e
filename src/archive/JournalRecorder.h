#pragma once

#include <QMap>
#include <QObject>
#include <QString>

#include "JournalArchive.h"

#include <cstdint>
#include <optional>

class TJournalReader;
class TPanelExchange;

// Keeps what a journal reader reads from the connected panel in the
// archive, as it comes (the records up to the pointer's newest index): every answer's records are stored (one
// transaction) before the reader tells its progress, so a record counted as read is on disk even if the
// program is killed at the next moment.
//
// When the reader has the pointer, the recorder compares it with the newest
// archived run: a pointer below that run's highest index means the journal
// was erased or wrapped, and the next records start a new run. A record that
// differs from the one its run holds at that index does the same when it is
// stored (TJournalArchive).
//
// FirstNewIndex, asked after the pointer, is where the records the archive
// lacks begin: it reads the panel's record at the run's highest index (one
// short "+read") and compares it with the archived one, so that a journal
// erased and filled again past that index is read from its start too.
class TJournalRecorder : public QObject {
    Q_OBJECT
public:
    TJournalRecorder(TJournalArchive& journal, TPanelExchange& exchange, qint64 panel,
                     QObject* parent = nullptr);

    // Records what the reader reads from now on (until either is gone).
    void Attach(TJournalReader& reader);

    // After the pointer: the first index the archive lacks (0 when it holds
    // nothing of this journal). Sends the comparing read (see above).
    int FirstNewIndex();
    // Records stored since made.
    int Stored() const { return fStored; }
    // The first failure of the archive (file and reason); empty when none.
    QString Error() const { return fError; }

    // Time-out of the comparing read.
    void SetReadTimeOut(uint32_t ms) { fReadTimeOut = ms; }

    void PointerRead(int newest);
    void RecordsRead(const QMap<int, QString>& records);

signals:
    // The archive refused a write; `error` names the file and the reason.
    void StoreFailed(const QString& error);

private:
    // The panel's line at `index`; empty when it did not come.
    QString ReadPanelRecord(int index);
    void Failed(const QString& error);

    TJournalArchive& fJournal;
    TPanelExchange& fExchange;
    qint64 fPanel;
    uint32_t fReadTimeOut;
    int fNewest = -1;                  // as the last pointer gave it
    std::optional<TJournalHead> fHead; // the newest archived run, as the pointer came
    bool fNewRun = false;
    int fStored = 0;
    QString fError;
};
