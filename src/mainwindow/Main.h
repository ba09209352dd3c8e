#pragma once

#include "pages/PageHost.h"
#include "panel/DeviceVersion.h"
#include "panel/LinkTimings.h"
#include "panel/OperationResult.h"
#include "panel/PanelExchange.h"
#include "panel/PanelSession.h"

#include <QMainWindow>
#include <QHash>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QToolBar;
class TBusyForm;
class TCommandExchange;
class TConnectForm;
class TDevice;
class TErrorListForm;
class TFirmwareActions;
class THistoryFrame;
class TSettingsActions;
class TLog;
class TPageFrame;
class TPanelArchive;

// The tool's main window: actions in a tool bar and a menu, the page list
// on the left, the current page on the right, the log below and the status
// bar. It owns the panel session, the log and the pages, and is the pages'
// host, passing what they ask of the panel on to the session.
//
// The window shows what the session says: the session's one operation
// state alone decides which actions are enabled (StateRules.h), and the
// window tells in message boxes what the session reports (a port that did
// not open, a connection that failed or was lost).
class TMainForm : public QMainWindow, public IPageHost {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // IPageHost
    TPanelExchange& Exchange() override;
    bool isConnected() const override;
    int DeviceRelease() const override;
    void SetWakeUp(bool on) override;
    bool BeginOperation(TOperationState state) override;
    void EndOperation() override;
    void ShowErrorList(const QStringList& errors, TWorkMode mode) override;
    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
    bool Confirm(const QString& question) override;
    TAnswer Ask(const QString& question) override;
    QString ChooseFile(const TFileChoice& choice) override;
    void BeginBusy(const QString& text, bool cancellable) override;
    void SetBusyProgress(int value, int maximum) override;
    void SetBusyText(const QString& text) override;
    bool BusyCancelled() const override;
    void EndBusy() override;
    TPanelArchive* PanelArchive() override { return fArchive.get(); }

    TOperationState State() const { return fSession->State(); }
    // Connected to a panel: idle, in its boot loader or in an operation.
    bool Connected() const;
    // Anything but idle (connected, in the boot loader or not) is running.
    bool Busy() const;
    // What the last page operation came to, while the status bar says it.
    QString Outcome() const;
    static constexpr int kOutcomeShownMs = 6000;

    // The link's time-outs, retries and pauses, handed to the exchange and to
    // every connection and disconnection sequence (tests shorten them).
    void SetLinkTimings(const TLinkTimings& timings);

    const TDeviceVersion& Version() const { return fSession->Panel().Version; }
    bool Modem() const { return fSession->Panel().Modem; }
    TPanelSession& Session() const { return *fSession; }
    TDevice* Device() const { return &fSession->Device(); }
    TCommandExchange* CommandExchange() const { return &fSession->CommandExchange(); }
    TErrorListForm* ErrorListForm() const;
    TBusyForm* BusyForm() const { return fBusyForm; }
    TFirmwareActions& FirmwareActions() const { return *fFirmware; }
    // The settings file's actions, over every page (all built by then).
    TSettingsActions& SettingsActions();
    const QString& BuiltInVersion() const { return FInVer; }
    TPageFrame* CurrentFrame() const { return FCurrentFrame; }
    // Every page in the page list's order. A page is built when first shown
    // or needed; asking for them all builds those not built yet.
    const std::vector<TPageFrame*>& Frames();

    void ConnectActionExecute();
    void DisconnectActionExecute();
    void ReadActionExecute();
    void WriteActionExecute();
    void DefaultActionExecute();
    void ReadAllActionExecute();
    void WriteAllActionExecute();
    // Offers to keep the pages' values in a settings file first.
    void DefaultAllActionExecute();
    // The settings file; with or without a panel connected.
    void SaveSettingsActionExecute();
    void LoadSettingsActionExecute();
    void CompareSettingsActionExecute();
    // The connected (or any archived) panel's configurations from the archive.
    void ConfigHistoryActionExecute();
    // The archive on or off (kept between runs).
    void ArchiveEnabledActionExecute(bool on);
    void UpdateFromFileActionExecute();
    void UpdateFromExeActionExecute();
    void PageListClick();
    void GuideActionExecute();
    void AboutActionExecute();

signals:
    void StateChanged(TOperationState state);
    // The disconnect writes are done (or the line was lost) and the port is
    // closed.
    void Disconnected();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildActions();
    void BuildMenu();
    void AddMnemonics();
    void BuildLayout();
    void CreateFrames();
    void FreeFrames();
    // The page at a place of the page list, built when it is not yet: the
    // page then hears the last operation state and panel release the
    // window told the pages.
    TPageFrame* FrameAt(size_t place);
    void ShowFrame(TPageFrame* frame);
    THistoryFrame* HistoryPage() const;
    void StateChangedTo(TOperationState state);
    void ApplyState();
    TOperationResult RunOnPage(TOperationState state, void (TPageFrame::*op)());
    TOperationResult RunOnAllPages(TOperationState state, void (TPageFrame::*op)(), bool backToFirst);
    // What became of the connection the dialog made: the panel's identity
    // in the status bar, and what the tool can do with the panel.
    void ShowConnection();
    void ShowPortError(const QString& port, int code, int osError);
    void ShowLost(const QString& message);
    void SetPortPanel(const QString& port);
    void ShowPanelIdentity();
    void EnterBootLoaderState();
    void ClearStatusPanels();
    void ShowOutcome(const QString& text);
    // Whether the pages' unwritten edits may go (asked when a connected
    // panel could take them; Записать writes them first).
    bool UnwrittenEditsMayGo(const std::vector<TPageFrame*>& pages);
    void MarkChanged(size_t place, bool changed);
    QStringList PageNames() const;
    // After a page's read: the Common page's object number names the
    // connected panel in the archive without another "+o".
    void NoteObjectRead(TPageFrame* frame);
    // After Read all or Write all that every settings page took: the
    // configuration into the archive.
    void KeepConfiguration(TOperationState state, const TOperationResult& result, bool pagesFailed);

    std::unique_ptr<TPanelSession> fSession;
    std::unique_ptr<TLog> Log;
    mutable std::unique_ptr<TErrorListForm> fErrorList;
    QHash<QString, bool> fAnswered; // the pages' questions answered before a round
    bool fInRound = false;     // an operation over every page runs
    bool fRoundListed = false; // the round has listed a page's failures
    QTimer fOutcomeTimer;
    QPointer<TConnectForm> fConnectForm;
    TBusyForm* fBusyForm = nullptr;
    // Use the session's exchange: freed before it.
    std::unique_ptr<TFirmwareActions> fFirmware;
    std::unique_ptr<TSettingsActions> fSettings;
    std::unique_ptr<TPanelArchive> fArchive;
    int fFailuresTold = 0; // error lists and error boxes since the start

    QString FInVer;
    bool FGlobalLoadSettingsFlag = false;

    std::vector<TPageFrame*> FFramesContainer; // null where a page is not built yet
    TPageFrame* FCurrentFrame = nullptr;
    std::optional<TOperationState> fToldState;
    std::optional<int> fToldRelease;

    QAction* QuitAction = nullptr;
    QAction* GuideAction = nullptr;
    QAction* AboutAction = nullptr;
    QMenu* MHelp = nullptr;
    QPointer<class TGuideForm> fGuide;
    QAction* ConnectAction = nullptr;
    QAction* DisconnectAction = nullptr;
    QAction* ReadAction = nullptr;
    QAction* WriteAction = nullptr;
    QAction* ReadAllAction = nullptr;
    QAction* WriteAllAction = nullptr;
    QAction* DefaultAction = nullptr;
    QAction* DefaultAllAction = nullptr;
    QAction* SaveSettingsAction = nullptr;
    QAction* LoadSettingsAction = nullptr;
    QAction* CompareSettingsAction = nullptr;
    QAction* ConfigHistoryAction = nullptr;
    QAction* ArchiveEnabledAction = nullptr;
    QAction* UpdateFromFileAction = nullptr;
    QAction* UpdateFromExeAction = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QMenu* MConnect = nullptr;
    QMenu* MSettings = nullptr;
    QMenu* MFirmware = nullptr;
    QListWidget* PageList = nullptr;
    QStackedWidget* Panel4 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    QPlainTextEdit* LogMemo = nullptr;
    QPushButton* ClearLogButton = nullptr;
    QPushButton* SaveLogButton = nullptr;
    QCheckBox* AutoscrollCheckBox = nullptr;
    QLabel* InfoBarPanels[5] = {};
    QLabel* OutcomeLabel = nullptr;
};
