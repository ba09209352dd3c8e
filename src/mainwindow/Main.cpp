#include "Main.h"

#include "ActionIcons.h"
#include "BusyForm.h"
#include "ConnectFormUnit.h"
#include "ErrorListFormUnit.h"
#include "FileChoice.h"
#include "FirmwareActions.h"
#include "LogUtils.h"
#include "MainCaptions.h"
#include "MessageBoxes.h"
#include "SettingsActions.h"
#include "firmware/UpdateFirmware.h"
#include "pages/PageFrame.h"
#include "pages/PageTable.h"
#include "panel/CommandExchange.h"
#include "panel/ConnectSequence.h"
#include "panel/DisconnectSequence.h"
#include "panel/LinkMessages.h"
#include "prefs/ComponentKind.h"
#include "prefs/FileUtils.h"
#include "prefs/SaveLoadSettings.h"
#include "serial/Device.h"
#include "version.h"

#include <cerrno>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
enum { PanelPort = 0, PanelNotice = 1, PanelVersion = 2, PanelMemory = 3 };
constexpr int kPanelWidths[5] = {150, 150, 150, 150, 50};
} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), fDevice(std::make_unique<TDevice>()),
      fExchange(std::make_unique<TCommandExchange>(fDevice.get())), Log(std::make_unique<TLog>()),
      fFirmware(std::make_unique<TFirmwareActions>(*this, this)),
      fSettings(std::make_unique<TSettingsActions>(*this, FFramesContainer, this)) {
    setObjectName(QStringLiteral("MainForm"));
    // The link: 19200 baud, 8 data bits, no parity, one stop bit; the first
    // wake-up of a run after 20 s.
    fDevice->SetWakeUpInterval(20000);
    fDevice->OnComCreateError = [this](TDevice*, int code) { DeviceComCreateError(code); };
    fDevice->OnLineLost = [this](TDevice*) { LineLost(); };
    fExchange->Attach();
    connect(fExchange.get(), &TCommandExchange::CallLost, this, &TMainForm::CallLost);
    // Whatever became of the upload, the panel is disconnected after it; a
    // close the installer asked for during the upload follows (its end has
    // been told by now).
    connect(fFirmware.get(), &TFirmwareActions::UploadEnded, this, [this] {
        DisconnectActionExecute();
        if (fFirmware->CloseAfterUpload())
            close();
    });
    // Before an update the panel's settings may be kept in a file: read from
    // the panel, then saved. A panel in its boot loader has none to read.
    fFirmware->SetSafetyCopy([this] {
        if (fState != TOperationState::Connected)
            return true;
        return fSettings->OfferSaveFirst(TFirmwareActions::SafetyCopyQuestion(), [this] {
            ReadAllActionExecute();
            if (fState != TOperationState::Connected)
                return false;
            // A page not read keeps what it held before: such a copy is no
            // copy of the panel, and is kept only when the user says so.
            return !fRoundFailed || Confirm(TFirmwareActions::IncompleteCopyQuestion());
        });
    });

    BuildActions();
    BuildMenu();
    BuildLayout();
    // The error list window lives beside the main window, not inside it.
    fErrorList = std::make_unique<TErrorListForm>();

    Log->SetLogObject(LogMemo);
    Log->SetAutoScroll(AutoscrollCheckBox->isChecked());
    connect(fExchange.get(), &TCommandExchange::LogLine, this, [this](const QString& l) { Log->Append(l); });

    FGlobalLoadSettingsFlag = CheckSettingsVersion(
        GetFileVersion(), [this] { ResetCaptions(this, BuiltInCaptions(), PageNames()); });
    FInVer = GetBuiltInVersion();
    setWindowTitle(QStringLiteral("Программа настройки Tarvik-1 %1 %2")
                       .arg(QStringLiteral("ver %1").arg(QStringLiteral(TARVIK_VERSION)),
                            QStringLiteral("Update: %1").arg(FInVer)));
    if (FGlobalLoadSettingsFlag)
        RestoreForm(this);
    // The page list always names the pages this build has, whatever the
    // stored state held.
    if (PageList->count() != int(PageTable().size())) {
        PageList->clear();
        PageList->addItems(PageNames());
    }
    ApplyState();
    CreateFrames();
    // The first page is on show and marked in the list.
    if (!FFramesContainer.empty()) {
        ShowFrame(FFramesContainer.front());
        PageList->setCurrentRow(0);
    }
}

TMainForm::~TMainForm() {
    fExchange->Abort();
    fDevice->SetWakeUp(false);
    fDevice->OnLineLost = nullptr;
    fDevice->OnComCreateError = nullptr;
}

void TMainForm::SetLinkTimings(const TLinkTimings& timings) {
    fTimings = timings;
    fExchange->SetTimings(timings);
}

QStringList TMainForm::PageNames() const {
    QStringList names;
    for (const TPageInfo& page : PageTable())
        names << PageName(page.Tag);
    return names;
}

void TMainForm::BuildActions() {
    struct TActionRow {
        QAction* TMainForm::*Member;
        const char* Name;
        int ImageIndex;
        void (TMainForm::*Execute)();
    };
    static const TActionRow rows[] = {
        {&TMainForm::ConnectAction, "ConnectAction", 0, &TMainForm::ConnectActionExecute},
        {&TMainForm::DisconnectAction, "DisconnectAction", 1, &TMainForm::DisconnectActionExecute},
        {&TMainForm::ReadAction, "ReadAction", 2, &TMainForm::ReadActionExecute},
        {&TMainForm::WriteAction, "WriteAction", 3, &TMainForm::WriteActionExecute},
        {&TMainForm::ReadAllAction, "ReadAllAction", 4, &TMainForm::ReadAllActionExecute},
        {&TMainForm::WriteAllAction, "WriteAllAction", 5, &TMainForm::WriteAllActionExecute},
        {&TMainForm::DefaultAction, "DefaultAction", -1, &TMainForm::DefaultActionExecute},
        {&TMainForm::DefaultAllAction, "DefaultAllAction", -1, &TMainForm::DefaultAllActionExecute},
        {&TMainForm::SaveSettingsAction, "SaveSettingsAction", -1, &TMainForm::SaveSettingsActionExecute},
        {&TMainForm::LoadSettingsAction, "LoadSettingsAction", -1, &TMainForm::LoadSettingsActionExecute},
    };
    for (const TActionRow& row : rows) {
        auto* action = new QAction(BuiltInText(row.Name), this);
        action->setObjectName(QString::fromLatin1(row.Name));
        action->setToolTip(BuiltInText(row.Name, "Hint"));
        action->setStatusTip(action->toolTip());
        action->setProperty("ImageIndex", row.ImageIndex);
        if (row.ImageIndex >= 0)
            action->setIcon(ActionIcon(row.ImageIndex, style()));
        connect(action, &QAction::triggered, this, row.Execute);
        this->*row.Member = action;
    }
    // The firmware actions: captions of their own, no hints, no images.
    const std::pair<QAction * TMainForm::*, const char*> firmware[] = {
        {&TMainForm::UpdateFromFileAction, "UpdateFromFileAction"},
        {&TMainForm::UpdateFromExeAction, "UpdateFromExeAction"},
    };
    for (const auto& [member, name] : firmware) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setProperty("ImageIndex", -1);
        this->*member = action;
    }
    // The settings file's actions carry no images of their own; the tool bar
    // shows the standard ones.
    SaveSettingsAction->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    LoadSettingsAction->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    CompareSettingsAction = new QAction(QStringLiteral("Сравнить с файлом"), this);
    CompareSettingsAction->setObjectName(QStringLiteral("CompareSettingsAction"));
    CompareSettingsAction->setToolTip(QStringLiteral("Сравнить настройки на страницах с файлом"));
    CompareSettingsAction->setStatusTip(CompareSettingsAction->toolTip());
    CompareSettingsAction->setProperty("ImageIndex", -1);
    connect(CompareSettingsAction, &QAction::triggered, this, &TMainForm::CompareSettingsActionExecute);

    UpdateFromFileAction->setText(QStringLiteral("...из файла"));
    UpdateFromExeAction->setText(QStringLiteral("...встроенная"));
    connect(UpdateFromFileAction, &QAction::triggered, this, &TMainForm::UpdateFromFileActionExecute);
    connect(UpdateFromExeAction, &QAction::triggered, this, &TMainForm::UpdateFromExeActionExecute);

    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->addAction(ConnectAction);
    ToolBar1->addAction(DisconnectAction);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ReadAction);
    ToolBar1->addAction(WriteAction);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ReadAllAction);
    ToolBar1->addAction(WriteAllAction);
    ToolBar1->addSeparator();
    ToolBar1->addAction(SaveSettingsAction);
    ToolBar1->addAction(LoadSettingsAction);
}

void TMainForm::BuildMenu() {
    MConnect = menuBar()->addMenu(BuiltInText("MConnect"));
    MConnect->setObjectName(QStringLiteral("MConnect"));
    MConnect->addAction(ConnectAction);
    MConnect->addAction(DisconnectAction);

    MSettings = menuBar()->addMenu(BuiltInText("MSettings"));
    MSettings->setObjectName(QStringLiteral("MSettings"));
    MSettings->addAction(ReadAction);
    MSettings->addAction(WriteAction);
    MSettings->addSeparator()->setObjectName(QStringLiteral("MSSeparator1"));
    MSettings->addAction(ReadAllAction);
    MSettings->addAction(WriteAllAction);
    MSettings->addSeparator();
    MSettings->addAction(DefaultAction);
    MSettings->addAction(DefaultAllAction);
    MSettings->addSeparator();
    MSettings->addAction(SaveSettingsAction);
    MSettings->addAction(LoadSettingsAction);
    MSettings->addAction(CompareSettingsAction);

    MFirmware = menuBar()->addMenu(BuiltInText("MFirmware"));
    MFirmware->setObjectName(QStringLiteral("MFirmware"));
    MFirmware->addAction(UpdateFromFileAction);
    MFirmware->addAction(UpdateFromExeAction);
}

void TMainForm::BuildLayout() {
    auto* panel5 = new QWidget(this);
    panel5->setObjectName(QStringLiteral("Panel5"));

    // The page area: the page list, a splitter, the current page.
    auto* panel3 = new QWidget;
    panel3->setObjectName(QStringLiteral("Panel3"));
    PageList = new QListWidget(panel3);
    PageList->setObjectName(QStringLiteral("PageList"));
    PageList->setAccessibleName(QStringLiteral("Страницы настроек"));
    auto* panel3Layout = new QVBoxLayout(panel3);
    panel3Layout->setContentsMargins(0, 0, 0, 0);
    panel3Layout->addWidget(PageList);
    // The list cannot vanish behind the splitter: at least 10 wide.
    panel3->setMinimumWidth(10);

    Panel4 = new QStackedWidget;
    Panel4->setObjectName(QStringLiteral("Panel4"));

    Splitter2 = new QSplitter(Qt::Horizontal);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(5);
    Splitter2->addWidget(panel3);
    Splitter2->addWidget(Panel4);
    Splitter2->setCollapsible(0, false);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({185, 617});

    // The log area: the memo and, at its right, Clear, Save and Auto-scroll.
    auto* panel1 = new QWidget;
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setMinimumHeight(3);
    LogMemo = new QPlainTextEdit(panel1);
    LogMemo->setObjectName(QStringLiteral("LogMemo"));
    LogMemo->setReadOnly(true);
    LogMemo->setAccessibleName(QStringLiteral("Журнал обмена с панелью"));
    LogMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ClearLogButton = new QPushButton(BuiltInText("ClearLogButton"), panel1);
    ClearLogButton->setObjectName(QStringLiteral("ClearLogButton"));
    SaveLogButton = new QPushButton(BuiltInText("SaveLogButton"), panel1);
    SaveLogButton->setObjectName(QStringLiteral("SaveLogButton"));
    AutoscrollCheckBox = new QCheckBox(BuiltInText("AutoscrollCheckBox"), panel1);
    AutoscrollCheckBox->setObjectName(QStringLiteral("AutoscrollCheckBox"));
    auto* logButtons = new QVBoxLayout;
    logButtons->addWidget(ClearLogButton);
    logButtons->addWidget(SaveLogButton);
    logButtons->addWidget(AutoscrollCheckBox);
    logButtons->addStretch(1);
    auto* panel1Layout = new QHBoxLayout(panel1);
    panel1Layout->setContentsMargins(0, 0, 0, 0);
    panel1Layout->addWidget(LogMemo, 1);
    panel1Layout->addLayout(logButtons);

    Splitter1 = new QSplitter(Qt::Vertical);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->addWidget(Splitter2);
    Splitter1->addWidget(panel1);
    Splitter1->setCollapsible(1, false);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setSizes({250, 146});

    auto* panel5Layout = new QVBoxLayout(panel5);
    panel5Layout->setContentsMargins(0, 0, 0, 0);
    panel5Layout->addWidget(Splitter1);
    setCentralWidget(panel5);

    statusBar()->setObjectName(QStringLiteral("InfoBar"));
    for (int i = 0; i < 5; ++i) {
        InfoBarPanels[i] = new QLabel(this);
        InfoBarPanels[i]->setObjectName(QStringLiteral("InfoBarPanel%1").arg(i));
        InfoBarPanels[i]->setFixedWidth(kPanelWidths[i]);
        statusBar()->addWidget(InfoBarPanels[i]);
    }
    resize(807, 442);

    connect(PageList, &QListWidget::currentRowChanged, this, &TMainForm::PageListClick);
    connect(ClearLogButton, &QPushButton::clicked, this, [this] { Log->Clear(); });
    connect(SaveLogButton, &QPushButton::clicked, this, [this] { Log->SaveLog(this); });
    connect(AutoscrollCheckBox, &QCheckBox::toggled, this, [this](bool on) { Log->SetAutoScroll(on); });
}

void TMainForm::CreateFrames() {
    for (const TPageInfo& info : PageTable()) {
        TPageFrame* frame = info.Create(*this);
        // Pages keep their own values; the window state does not hold them.
        frame->setProperty(kNotStoredProperty, true);
        Panel4->addWidget(frame);
        FFramesContainer.push_back(frame);
        frame->Init();
    }
}

void TMainForm::FreeFrames() {
    FCurrentFrame = nullptr;
    while (!FFramesContainer.empty()) {
        delete FFramesContainer.back();
        FFramesContainer.pop_back();
    }
}

void TMainForm::ShowFrame(TPageFrame* frame) {
    Panel4->setCurrentWidget(frame);
    FCurrentFrame = frame;
}

void TMainForm::PageListClick() {
    const int row = PageList->currentRow();
    if (row < 0 || row >= int(FFramesContainer.size()))
        return;
    ShowFrame(FFramesContainer[size_t(row)]);
}

// ---- the operation state --------------------------------------------------

bool TMainForm::OperatingWithoutPanel() const {
    return !fSuspended.empty() && fSuspended.front() == TOperationState::Disconnected;
}

bool TMainForm::Connected() const {
    return fState == TOperationState::Connected || fState == TOperationState::BootLoader ||
           (IsOperation(fState) && !OperatingWithoutPanel());
}

bool TMainForm::Busy() const {
    return fState != TOperationState::Connected && fState != TOperationState::BootLoader &&
           fState != TOperationState::Disconnected;
}

void TMainForm::SetState(TOperationState state) {
    if (state == fState)
        return;
    fState = state;
    ApplyState();
    for (TPageFrame* frame : FFramesContainer)
        frame->HostStateChanged(state);
    emit StateChanged(state);
}

void TMainForm::ApplyState() {
    // The actions serve the tool bar and the menu alike, so nothing that is
    // disabled here can be started from either. The page list and the page
    // take input only when nothing runs.
    const bool idle = fState == TOperationState::Connected;
    // A panel in its boot loader takes nothing but another update.
    const bool bootLoader = fState == TOperationState::BootLoader;
    ConnectAction->setEnabled(fState == TOperationState::Disconnected);
    DisconnectAction->setEnabled(idle || bootLoader);
    for (QAction* a :
         {ReadAction, WriteAction, ReadAllAction, WriteAllAction, DefaultAction, DefaultAllAction})
        a->setEnabled(idle);
    // The settings file needs no panel.
    for (QAction* a : {SaveSettingsAction, LoadSettingsAction, CompareSettingsAction})
        a->setEnabled(idle || fState == TOperationState::Disconnected);
    UpdateFromFileAction->setEnabled(idle || bootLoader);
    // A program without built-in firmware has "no update" for its version.
    UpdateFromExeAction->setEnabled((idle || bootLoader) && !FInVer.contains(QLatin1String("no")));
    const bool pagesLive = idle || fState == TOperationState::Disconnected;
    PageList->setEnabled(pagesLive);
    Panel4->setEnabled(pagesLive);
}

bool TMainForm::BeginOperation(TOperationState state) {
    if (!IsOperation(state))
        return false;
    // From idle; or from inside the running operation's own steps, but never
    // from an event handled while that operation waits for the panel. The
    // firmware upload runs from the event loop between its commands, so
    // nothing called in between is one of its steps. A panel in its boot
    // loader takes only the upload.
    const bool fileOperation =
        fState == TOperationState::SavingSettings || fState == TOperationState::LoadingSettings;
    const bool nested = IsOperation(fState) && fState != TOperationState::UpdatingFirmware &&
                        !fileOperation && !fExchange->Waiting();
    const bool fromBootLoader =
        fState == TOperationState::BootLoader && state == TOperationState::UpdatingFirmware;
    // A settings file is saved or loaded from idle, with or without a panel,
    // never inside another operation.
    if (state == TOperationState::SavingSettings || state == TOperationState::LoadingSettings) {
        if (fState != TOperationState::Connected && fState != TOperationState::Disconnected)
            return false;
    } else if (fState != TOperationState::Connected && !fromBootLoader && !nested) {
        return false;
    }
    fSuspended.push_back(fState);
    SetState(state);
    return true;
}

void TMainForm::EndOperation() {
    if (fSuspended.empty())
        return;
    const TOperationState resumed = fSuspended.back();
    fSuspended.pop_back();
    // A lost line or a close during the operation has moved the state on;
    // it stays where it is.
    if (IsOperation(fState))
        SetState(resumed);
    else if (fState == TOperationState::Closing)
        ContinueClosing();
}

bool TMainForm::TStateExchange::DeviceCommandLst(const QString& ACommand, QStringList& Res,
                                                 uint32_t TimeOut) {
    if (!IsOperation(fWindow.fState))
        return false;
    return fWindow.fExchange->DeviceCommandLst(ACommand, Res, TimeOut);
}

bool TMainForm::TStateExchange::Uparam() const {
    return fWindow.fExchange->Uparam();
}

void TMainForm::TStateExchange::SetUparam(bool value) {
    fWindow.fExchange->SetUparam(value);
}

// ---- the pages' host ------------------------------------------------------

TPanelExchange& TMainForm::Exchange() {
    return fPageExchange;
}

bool TMainForm::isConnected() const {
    return fDevice->ComActive();
}

int TMainForm::DeviceRelease() const {
    return FVersion.Release;
}

void TMainForm::SetWakeUp(bool on) {
    // The upload alone talks to the panel until it ends: no "+v" between its
    // commands, whoever asks.
    fDevice->SetWakeUp(on && Connected() && fState != TOperationState::UpdatingFirmware);
}

void TMainForm::ShowErrorList(const QStringList& errors, TWorkMode mode) {
    // An operation the user broke off by closing the window reports nothing.
    if (fState == TOperationState::Closing)
        return;
    if (!errors.isEmpty())
        fRoundFailed = true;
    fErrorList->Show(errors, mode);
}

void TMainForm::ShowMessage(const QString& text) {
    if (fState != TOperationState::Closing)
        ShowMessageBox(this, TBoxKind::Plain, text);
}

void TMainForm::ShowError(const QString& text) {
    fRoundFailed = true;
    if (fState != TOperationState::Closing)
        ShowMessageBox(this, TBoxKind::Error, text);
}

bool TMainForm::Confirm(const QString& question) {
    if (fState == TOperationState::Closing)
        return false;
    return ShowMessageBox(this, TBoxKind::Question, question);
}

TAnswer TMainForm::Ask(const QString& question) {
    if (fState == TOperationState::Closing)
        return TAnswer::Cancel;
    return AskMessageBox(this, question);
}

QString TMainForm::ChooseFile(const TFileChoice& choice) {
    if (fState == TOperationState::Closing)
        return {};
    return ChooseFileName(this, choice);
}

void TMainForm::BeginBusy(const QString& text, bool cancellable) {
    if (!fBusyForm) {
        fBusyForm = new TBusyForm(this);
        // Cancel ends the wait in progress; the operation stops at its next
        // step, when it sees BusyCancelled.
        connect(fBusyForm, &TBusyForm::CancelPressed, this, [this] { fExchange->Abort(); });
    }
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    fBusyForm->Start(text, cancellable);
}

void TMainForm::SetBusyProgress(int value, int maximum) {
    if (fBusyForm)
        fBusyForm->SetProgress(value, maximum);
}

void TMainForm::SetBusyText(const QString& text) {
    if (fBusyForm)
        fBusyForm->SetText(text);
}

bool TMainForm::BusyCancelled() const {
    return fBusyForm && fBusyForm->Cancelled();
}

void TMainForm::EndBusy() {
    if (!fBusyForm || !fBusyForm->isVisible())
        return;
    fBusyForm->Stop();
    QGuiApplication::restoreOverrideCursor();
}

// ---- actions --------------------------------------------------------------

void TMainForm::RunOnPage(TOperationState state, void (TPageFrame::*op)()) {
    TOperationScope operation(*this, state);
    if (operation && FCurrentFrame)
        (FCurrentFrame->*op)();
}

void TMainForm::RunOnAllPages(TOperationState state, void (TPageFrame::*op)(), bool backToFirst) {
    TOperationScope operation(*this, state);
    if (!operation)
        return;
    fRoundFailed = false;
    for (TPageFrame* frame : FFramesContainer) {
        // A close or a lost line ends the round.
        if (fState != state)
            break;
        ShowFrame(frame);
        (frame->*op)();
    }
    if (backToFirst && !FFramesContainer.empty())
        ShowFrame(FFramesContainer.front());
}

void TMainForm::ReadActionExecute() {
    RunOnPage(TOperationState::Reading, &TPageFrame::ReadPage);
}

void TMainForm::WriteActionExecute() {
    RunOnPage(TOperationState::Writing, &TPageFrame::WritePage);
}

void TMainForm::DefaultActionExecute() {
    RunOnPage(TOperationState::Defaulting, &TPageFrame::SetDefault);
}

void TMainForm::ReadAllActionExecute() {
    RunOnAllPages(TOperationState::Reading, &TPageFrame::ReadPage, true);
}

void TMainForm::WriteAllActionExecute() {
    RunOnAllPages(TOperationState::Writing, &TPageFrame::WritePage, false);
}

void TMainForm::DefaultAllActionExecute() {
    if (fState != TOperationState::Connected)
        return;
    if (!fSettings->OfferSaveFirst(QStringLiteral("Настройки на всех страницах будут заменены значениями по "
                                                  "умолчанию. Сохранить текущие настройки в файл?")))
        return;
    RunOnAllPages(TOperationState::Defaulting, &TPageFrame::SetDefault, true);
}

void TMainForm::SaveSettingsActionExecute() {
    fSettings->Save();
}

void TMainForm::LoadSettingsActionExecute() {
    fSettings->Load();
}

void TMainForm::CompareSettingsActionExecute() {
    fSettings->Compare();
}

void TMainForm::UpdateFromFileActionExecute() {
    if (fState == TOperationState::Connected || fState == TOperationState::BootLoader)
        fFirmware->UpdateFromFile();
}

void TMainForm::UpdateFromExeActionExecute() {
    if (UpdateFromExeAction->isEnabled())
        fFirmware->UpdateFromBuiltIn(FVersion, FInVer);
}

// ---- connecting and disconnecting -----------------------------------------

void TMainForm::ConnectActionExecute() {
    if (fState != TOperationState::Disconnected)
        return;
    SetState(TOperationState::Connecting);
    auto* dialog = new TConnectForm(this);
    fConnectForm = dialog;
    RestoreForm(dialog);
    dialog->SetConnectEnabled(true);
    dialog->SetDevice(fDevice.get());
    dialog->Sequence().SetLink(&fExchange->OwedAnswers(), fTimings);
    connect(dialog, &TConnectForm::LogLine, this, [this](const QString& l) { Log->Append(l); });

    // A line lost on the way has closed the port: that is no connection.
    const bool accepted = dialog->exec() == QDialog::Accepted && fDevice->ComActive();
    if (accepted) {
        const TConnectSequence& s = dialog->Sequence();
        FModem = s.Modem();
        FPort = dialog->PortText();
        FVersion = {s.Ver(), s.Major(), s.Minor(), s.Release(), s.Memory()};
    }
    dialog->ResetDevice();
    SaveForm(dialog);
    delete dialog;
    fExchange->Attach();
    fExchange->SetModem(FModem);

    if (!accepted) {
        // A dialog closed while its sequence ran leaves nothing open behind.
        fDevice->SetComActive(false);
        if (fState == TOperationState::Closing)
            ContinueClosing();
        else
            SetState(TOperationState::Disconnected);
        return;
    }
    if (fState == TOperationState::Closing) {
        ContinueClosing();
        return;
    }
    if (IsBootLoader(FVersion)) {
        EnterBootLoaderState();
        return;
    }
    if (!IsCompatible(FVersion)) {
        SetPortPanel(FPort);
        ShowMessageBox(this, TBoxKind::Error, QStringLiteral("Несовместимая оболочка"));
        // The box waited for the user: the line may be gone meanwhile.
        if (fDevice->ComActive() && fState == TOperationState::Connecting)
            StartDisconnect();
        else if (fState == TOperationState::Connecting)
            FinishDisconnect();
        return;
    }
    ShowPanelIdentity();
    SetState(TOperationState::Connected);
    fDevice->SetWakeUp(true);
    for (TPageFrame* frame : FFramesContainer)
        frame->DevRelease(FVersion.Release);
}

void TMainForm::ShowPanelIdentity() {
    SetPortPanel(FPort);
    InfoBarPanels[PanelVersion]->setText(FVersion.Name);
    InfoBarPanels[PanelMemory]->setText(FVersion.Memory);
}

void TMainForm::EnterBootLoaderState() {
    // An update broke off: the panel waits in its boot loader and can only
    // be updated again. The connection stands for that alone.
    ShowPanelIdentity();
    QLabel* notice = InfoBarPanels[PanelNotice];
    notice->setText(QStringLiteral("Панель в загрузчике"));
    notice->setToolTip(QStringLiteral("Доступно только обновление прошивки (меню «Перепрошивка»)"));
    SetState(TOperationState::BootLoader);
    fDevice->SetWakeUp(true);
    ShowMessageBox(
        this, TBoxKind::Plain,
        QStringLiteral("Панель находится в загрузчике (%1): её прошивка не записана до конца, "
                       "настройки недоступны. Запустите обновление прошивки (меню «Перепрошивка»), "
                       "чтобы восстановить панель.")
            .arg(FVersion.Name));
}

void TMainForm::DisconnectActionExecute() {
    if (fState == TOperationState::Connected || fState == TOperationState::BootLoader)
        StartDisconnect();
}

void TMainForm::StartDisconnect() {
    fDevice->SetWakeUp(false);
    if (fState != TOperationState::Closing)
        SetState(TOperationState::Disconnecting);
    fDisconnect = new TDisconnectSequence(fDevice.get(), FModem, fExchange->OwedAnswers(), fTimings, this);
    connect(fDisconnect, &TDisconnectSequence::Done, this, [this] {
        fDisconnect->deleteLater();
        fDisconnect = nullptr;
        FinishDisconnect();
    });
    fDisconnect->Start();
}

void TMainForm::FinishDisconnect() {
    ClearStatusPanels();
    if (fState == TOperationState::Closing)
        ContinueClosing();
    else
        SetState(TOperationState::Disconnected);
    emit Disconnected();
}

void TMainForm::DeviceComCreateError(int ErrorCode) {
    // The port has just failed to open: errno still holds the system's
    // reason for it. A port another program holds is said in words: the
    // system's reason ("resource busy") does not tell the installer that.
    const int reason = errno;
    QString why = reason ? qt_error_string(reason) : TDevice::GetStrCreateError(ErrorCode);
    if (ErrorCode == ceBusy)
        why =
            TDevice::GetStrCreateError(ErrorCode) + QStringLiteral(" (закройте её или выберите другой порт)");
    ShowMessageBox(this, TBoxKind::Plain, QStringLiteral("Error open port"),
                   QStringLiteral("%1: %2").arg(fDevice->Port(), why));
}

void TMainForm::LineLost() {
    switch (fState) {
    case TOperationState::Disconnected:
    case TOperationState::Disconnecting: return; // the port is closed or closes anyway
    case TOperationState::Closing:
        fExchange->Abort();
        if (!fDisconnect)
            fDevice->SetComActive(false);
        ContinueClosing();
        return;
    case TOperationState::Connecting:
        // Lost while the dialog is open or just closing: stop its sequence
        // and let the code after the dialog find the port closed.
        if (fConnectForm)
            fConnectForm->CancelButtonClick();
        fDevice->SetComActive(false);
        break;
    default:
        // The port is gone (an adapter unplugged): nothing can be written
        // any more, so the disconnect is only local. The operation running
        // unwinds at once: its wait ends and every further request fails.
        fExchange->Abort();
        fDevice->SetWakeUp(false);
        fDevice->SetComActive(false);
        ClearStatusPanels();
        SetState(TOperationState::Disconnected);
        emit Disconnected();
        break;
    }
    const QString port = fDevice->Port();
    QTimer::singleShot(0, this,
                       [this, port] { ShowMessageBox(this, TBoxKind::Error, LineLostMessage(port)); });
}

void TMainForm::CallLost() {
    // The modem dropped a call that was up: for the installer it is the
    // panel lost as much as an unplugged adapter is. While connecting the
    // sequence judges the modem's lines itself (a failed dial is redialled),
    // and a disconnect ends the call anyway.
    switch (fState) {
    case TOperationState::Disconnected:
    case TOperationState::Disconnecting:
    case TOperationState::Connecting: return;
    default: LineLost(); break;
    }
}

void TMainForm::SetPortPanel(const QString& port) {
    // Long paths (an emulator's port under the runtime folder) are cut in
    // the middle, so that both the folder and the name's end stay visible;
    // the whole path is the tool tip.
    QLabel* panel = InfoBarPanels[PanelPort];
    const int room = panel->width() - 2 * panel->margin() - 4;
    panel->setText(panel->fontMetrics().elidedText(port, Qt::ElideMiddle, room));
    panel->setToolTip(port);
    panel->setAccessibleName(port);
}

void TMainForm::ClearStatusPanels() {
    for (int panel : {PanelPort, PanelNotice, PanelVersion, PanelMemory}) {
        InfoBarPanels[panel]->clear();
        InfoBarPanels[panel]->setToolTip(QString());
    }
}

// ---- closing --------------------------------------------------------------

bool TMainForm::ReadyToClose() const {
    return fSuspended.empty() && !fDisconnect && !fConnectForm && !fDevice->ComActive();
}

void TMainForm::ContinueClosing() {
    // Whatever runs is let to unwind first: an operation's wait ends at once
    // and its further requests fail; the connection dialog closes; a
    // connected panel is disconnected properly. Then the window closes.
    if (!fSuspended.empty() || fDisconnect || fConnectForm)
        return;
    if (fDevice->ComActive()) {
        StartDisconnect();
        return;
    }
    QTimer::singleShot(0, this, &QWidget::close);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (fState == TOperationState::Disconnected || (fState == TOperationState::Closing && ReadyToClose())) {
        FreeFrames();
        SaveForm(this);
        fErrorList->close();
        event->accept();
        return;
    }
    event->ignore();
    if (fState == TOperationState::Closing)
        return;
    // An upload is not broken off in the middle of a block: the installer is
    // asked first, and the window closes after the upload's end.
    if (fState == TOperationState::UpdatingFirmware && fFirmware->CloseRequested())
        return;
    const TOperationState was = fState;
    SetState(TOperationState::Closing);
    if (IsOperation(was))
        fExchange->Abort();
    else if (was == TOperationState::Connecting && fConnectForm)
        fConnectForm->reject();
    else if (was == TOperationState::Connected || was == TOperationState::BootLoader)
        ContinueClosing();
    // Disconnecting: the disconnect's end continues the close.
}
