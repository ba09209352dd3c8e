#pragma once

#include <QObject>
#include <QString>

#include <memory>

class IPageHost;
class THistory;
class TJournalReader;
class TJournalRecorder;

// The History page and the panel archive its host keeps: whatever the page
// reads from the panel is recorded there as it comes (TJournalRecorder),
// and an archived run of any panel can be put into the page's store to be
// paged, filtered and exported without a panel. A read from the panel ends
// such a view first, emptying the store (the panel's records are not mixed
// with archived ones).
class THistoryArchiveLink : public QObject {
    Q_OBJECT
public:
    THistoryArchiveLink(IPageHost& host, TJournalReader& reader, THistory& store, QObject* parent = nullptr);
    ~THistoryArchiveLink() override;

    // The host keeps an archive and it is on.
    bool Available() const;

    // Before a read from the panel, inside its operation: ends an archive
    // view and makes the reader's records go to the archive, the panel
    // known by its object number ("+o" when not known yet). False, with
    // TakeError, when the archive is on but cannot be had; the read may go
    // on unrecorded.
    bool BeforePanelRead();
    // The recorder of the connected panel's reads (after BeforePanelRead);
    // none when nothing is recorded.
    TJournalRecorder* Recorder() const { return fRecorder.get(); }
    // Another connection: the next read finds out which panel it is.
    void Forget();

    // Puts an archived run into the store in place of what it held and
    // shows its newest page; false with TakeError.
    bool View(qint64 panel, const QString& object, int run);
    bool Viewing() const { return fViewing; }
    // "Архив: панель 0050, серия 2 (120 записей)", or empty.
    QString ViewText() const { return fViewText; }
    // Ends the view: the store is emptied.
    void EndView();

    // The first failure of the archive since the last call (the file and
    // the reason); empty when none.
    QString TakeError();

signals:
    void ViewChanged();

private:
    void Failed(const QString& error);

    IPageHost& fHost;
    TJournalReader& fReader;
    THistory& fStore;
    std::unique_ptr<TJournalRecorder> fRecorder;
    qint64 fRecorderPanel = -1;
    bool fViewing = false;
    QString fViewText;
    QString fError;
};
