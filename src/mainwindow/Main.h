#pragma once

#include "pages/PageHost.h"
#include "panel/DeviceVersion.h"
#include "panel/LinkTimings.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
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
class TCommandExchange;
class TDevice;
class TErrorListForm;
class TDisconnectSequence;
class TLog;
class TPageFrame;

// The tool's main window: actions in a tool bar and a menu, the page list
// on the left, the current page on the right, the log below and the status
// bar. It owns the device, the exchange, the log and the pages, and is the
// pages' host.
class TMainForm : public QMainWindow, public IPageHost {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // IPageHost
    TPanelExchange& Exchange() override;
    bool isConnected() const override;
    void DisableControls() override;
    void EnableControls() override;
    void ShowErrorList(const QStringList& errors, TWorkMode mode) override;
    void SetWakeUp(bool on) override;
    void ShowMessage(const QString& text) override;

    // The link's time-outs, retries and pauses, handed to the exchange and to
    // every connection and disconnection sequence (tests shorten them).
    void SetLinkTimings(const TLinkTimings& timings);

    const TDeviceVersion& Version() const { return FVersion; }
    bool Connected() const { return FConnected; }
    bool Modem() const { return FModem; }
    TDevice* Device() const { return fDevice.get(); }
    TCommandExchange* CommandExchange() const { return fExchange.get(); }
    TErrorListForm* ErrorListForm() const { return fErrorList.get(); }
    TPageFrame* CurrentFrame() const { return FCurrentFrame; }
    const std::vector<TPageFrame*>& Frames() const { return FFramesContainer; }
    // True while a page operation, a connection or a disconnection runs.
    bool Busy() const { return fBusy > 0; }

    void ConnectActionExecute();
    void DisconnectActionExecute();
    void ReadActionExecute();
    void WriteActionExecute();
    void DefaultActionExecute();
    void ReadAllActionExecute();
    void WriteAllActionExecute();
    void DefaultAllActionExecute();
    void SetConnectedState(bool Connected);
    void PageListClick();

signals:
    // The disconnect writes are done and the port is closed.
    void Disconnected();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildActions();
    void BuildMenu();
    void BuildLayout();
    void CreateFrames();
    void FreeFrames();
    void ShowFrame(TPageFrame* frame);
    void RunOnPage(TPageFrame* frame, void (TPageFrame::*op)());
    void RunOnAllPages(void (TPageFrame::*op)(), bool backToFirst);
    void ApplyControlsState();
    void DeviceComCreateError(int ErrorCode);
    void LineLost();
    void FinishDisconnect();
    QStringList PageNames() const;

    std::unique_ptr<TDevice> fDevice;
    std::unique_ptr<TCommandExchange> fExchange;
    std::unique_ptr<TLog> Log;
    std::unique_ptr<TErrorListForm> fErrorList;
    QPointer<TDisconnectSequence> fDisconnect;
    TLinkTimings fTimings;

    bool FConnected = false;
    bool FModem = false;
    TDeviceVersion FVersion;
    QString FInVer;
    bool FGlobalLoadSettingsFlag = false;
    bool fActionsConnected = false;
    int fBusy = 0;
    bool fCloseRequested = false;

    std::vector<TPageFrame*> FFramesContainer;
    TPageFrame* FCurrentFrame = nullptr;

    QAction* ConnectAction = nullptr;
    QAction* DisconnectAction = nullptr;
    QAction* ReadAction = nullptr;
    QAction* WriteAction = nullptr;
    QAction* ReadAllAction = nullptr;
    QAction* WriteAllAction = nullptr;
    QAction* DefaultAction = nullptr;
    QAction* DefaultAllAction = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QMenu* MConnect = nullptr;
    QMenu* MSettings = nullptr;
    QListWidget* PageList = nullptr;
    QStackedWidget* Panel4 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    QPlainTextEdit* LogMemo = nullptr;
    QPushButton* ClearLogButton = nullptr;
    QPushButton* SaveLogButton = nullptr;
    QCheckBox* AutoscrollCheckBox = nullptr;
    QLabel* InfoBarPanels[5] = {};
};
