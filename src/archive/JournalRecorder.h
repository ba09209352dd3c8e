#pragma once

#include <QMap>
#include <QObject>
#include <QString>

#include <cstdint>

class TJournalArchive;
class TJournalReader;
class TPanelExchange;

// Keeps what a journal reader reads from the connected panel in the
// archive, as it comes (the records up to the pointer's newest index): every answer's records are stored (one transaction)
// before the reader tells its progress, so a record counted as read is on
// disk even if the program is killed at the next moment.
//
// When the reader has the pointer, the recorder compares the panel's
// journal with the newest archived run: a pointer below that run's highest
// index means the journal was erased or wrapped; otherwise the panel's
// record at that index is read (one short "+read") and compared with the
// archived one. A journal that is not the archived run any more makes the
// next records start a new run. FirstNewIndex is then where the records the
// archive lacks begin.
class TJournalRecorder : public QObject {
    Q_OBJECT
public:
    TJournalRecorder(TJournalArchive& journal, TPanelExchange& exchange, qint64 panel,
                     QObject* parent = nullptr);

    // Records what the reader reads from now on (until either is gone).
    void Attach(TJournalReader& reader);

    // After the pointer: the first index the archive lacks (0 when it holds
    // nothing of this journal).
    int FirstNewIndex() const { return fFirstNew; }
    // Whether the journal on the panel continues the newest archived run.
    bool Continues() const { return !fNewRun; }
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
    int fNewest = -1; // as the last pointer gave it
    int fFirstNew = 0;
    bool fNewRun = false;
    int fStored = 0;
    QString fError;
};
