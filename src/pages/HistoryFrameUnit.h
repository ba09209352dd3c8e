#pragma once

#include "PageFrame.h"
#include "history/HistoryUnit.h"
#include "history/JournalReader.h"

#include <QString>

#include <functional>

#include <memory>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class THistoryArchiveLink;
class THistoryModel;

// The History page: the panel's event journal, one page of records at a time
// with the newest at the top. It reads the reporting entries, the journal
// pointer and the newest page (the page's Read), pages back and forward
// asking the panel only for records not read before, reads the whole journal
// with progress, filters what is stored, exports the open page or every
// stored record to a workbook or a CSV file, and erases the panel's journal.
// The records in the page's store are the connected panel's: a new
// connection starts with an empty store, and an erase of the panel's
// journal, from whichever page, empties it. Paging through them, filtering
// and exporting need no panel (they stay after a disconnect).
class THistoryFrame : public TPageFrame {
    Q_OBJECT
public:
    explicit THistoryFrame(IPageHost& host, QWidget* parent = nullptr);
    ~THistoryFrame() override;

    void Init() override;
    // The reporting entries, the pointer and the newest page.
    void ReadPage() override;
    // The journal cannot be written: nothing.
    void WritePage() override;
    // Records per page back to "20" at once.
    void SetDefault() override;
    // The page has no settings-file keys.
    void SetSettings(const QStringList& List) override;
    void DevRelease(int Release) override;
    void HostStateChanged(TOperationState state) override;

    void BackBtnClick();
    void ForwardBtnClick();
    void ExportPageClick();
    void ExportAllPagesClick();
    void ClearBtnClick();
    void ReadAllBtnClick();
    // Only the records after the last one the archive holds of the panel.
    void NewRecordsBtnClick();
    // An archived journal of any panel, without a connection.
    void ArchiveBtnClick();
    void RecordsCountChange(const QString& text);

    // Another panel connected: what the store holds is not its journal.
    void ForgetJournal();
    // The panel took an erase of its journal (sent by any page).
    void JournalErased();

    const THistory& History() const { return FHistory; }
    TJournalReader& Reader() const { return *fReader; }
    THistoryModel& Model() const { return *fModel; }
    THistoryArchiveLink& ArchiveLink() const { return *fArchive; }

    // The captions of the busy indicator.
    static QString EraseBusyText();
    static QString ReadAllBusyText();
    // Messages of the export.
    static QString NothingToExport();
    static QString NotOpened(const QString& path);
    // The export dialog's file types: the workbook is the file for people
    // and spreadsheets; the CSV, with the messages as the panel sent them,
    // is for programs (a spreadsheet opening it may take a message of
    // digits alone for a number).
    static QString ExportFilter();
    // Said when a button that needs the panel is pressed without one.
    static QString NoPanel();
    static QString NewRecordsBusyText();
    // Said when the archive is off (a setting) and its buttons are pressed.
    static QString ArchiveOff();

private:
    void ShowEmpty(const TJournalResult& result);
    void BuildControls();
    void Page(TJournalResult (TJournalReader::*step)(TJournalSource));
    void Export(const std::vector<int>& rows);
    void ReadAllProgress(int done, int total, qint64 msLeft);
    void ReadAllFinished(const TJournalResult& result);
    void RecordsCountEdited();
    void FilterChanged(const QString& text);
    void ModelReset();
    // Every button of the page and the records-per-page box: off while the
    // page works, else each by what it needs (a panel, a page view).
    void EnableButtons(bool enable);
    bool PanelReady() const;
    // Starts a long read of the journal (StartReadAll or StartReadFrom).
    void StartLongRead(const QString& busyText, const std::function<bool()>& start);
    // Tells what the archive refused, if anything.
    void TellArchiveError();
    void ArchiveViewChanged();

    THistory FHistory;
    std::unique_ptr<TJournalReader> fReader;
    THistoryModel* fModel = nullptr;
    THistoryArchiveLink* fArchive = nullptr;
    bool fEnabled = true;
    bool fReadingAll = false;
    QString fBusyText; // of the long read running
    TOperationState fHostState = TOperationState::Connected;
    bool fHostStateKnown = false;

    QGroupBox* HistoryGroup = nullptr;
    QPushButton* BackBtn = nullptr;
    QPushButton* ForwardBtn = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* RecordsCount = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* ReadAllBtn = nullptr;
    QPushButton* NewRecordsBtn = nullptr;
    QPushButton* ArchiveBtn = nullptr;
    QLabel* ArchiveLabel = nullptr;
    QPushButton* ClearBtn = nullptr;
    QLabel* EmptyNote = nullptr;
    QLabel* FilterLabel = nullptr;
    QLineEdit* FilterEdit = nullptr;
    QTableView* HistoryView = nullptr;
    QPushButton* ExportPage = nullptr;
    QPushButton* ExportAllPages = nullptr;
};
