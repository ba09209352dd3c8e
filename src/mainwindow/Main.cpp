#include "Main.h"

#include "ConnectFormUnit.h"
#include "ErrorListFormUnit.h"
#include "LogUtils.h"
#include "MessageBoxes.h"
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

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
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
enum { PanelPort = 0, PanelVersion = 2, PanelMemory = 3 };
constexpr int kPanelWidths[5] = {150, 150, 150, 150, 50};
} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), fDevice(std::make_unique<TDevice>()),
      fExchange(std::make_unique<TCommandExchange>(fDevice.get())), Log(std::make_unique<TLog>()) {
    setObjectName(QStringLiteral("MainForm"));
    // The link: 19200 baud, 8 data bits, no parity, one stop bit; the first
    // wake-up of a run after 20 s.
    fDevice->SetWakeUpInterval(20000);
    fDevice->OnComCreateError = [this](TDevice*, int code) { DeviceComCreateError(code); };
    fDevice->OnLineLost = [this](TDevice*) { LineLost(); };
    fExchange->Attach();

    BuildActions();
    BuildMenu();
    BuildLayout();
    // The error list window lives beside the main window, not inside it.
    fErrorList = std::make_unique<TErrorListForm>();

    Log->SetLogObject(LogMemo);
    Log->SetAutoScroll(AutoscrollCheckBox->isChecked());
    connect(fExchange.get(), &TCommandExchange::LogLine, this, [this](const QString& l) { Log->Append(l); });

    FGlobalLoadSettingsFlag =
        CheckSettingsVersion(GetFileVersion(), [this] { ResetCaptions(this, PageNames()); });
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
    SetConnectedState(false);
    CreateFrames();
    if (!FFramesContainer.empty())
        ShowFrame(FFramesContainer.front());
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
        const char* Icon; // from the icon theme, with a style icon to fall back on
        QStyle::StandardPixmap Fallback;
        void (TMainForm::*Execute)();
    };
    static const TActionRow rows[] = {
        {&TMainForm::ConnectAction, "ConnectAction", 0, "network-connect", QStyle::SP_DialogYesButton,
         &TMainForm::ConnectActionExecute},
        {&TMainForm::DisconnectAction, "DisconnectAction", 1, "network-disconnect", QStyle::SP_DialogNoButton,
         &TMainForm::DisconnectActionExecute},
        {&TMainForm::ReadAction, "ReadAction", 2, "go-down", QStyle::SP_ArrowDown,
         &TMainForm::ReadActionExecute},
        {&TMainForm::WriteAction, "WriteAction", 3, "go-up", QStyle::SP_ArrowUp,
         &TMainForm::WriteActionExecute},
        {&TMainForm::ReadAllAction, "ReadAllAction", 4, "go-bottom", QStyle::SP_MediaSeekBackward,
         &TMainForm::ReadAllActionExecute},
        {&TMainForm::WriteAllAction, "WriteAllAction", 5, "go-top", QStyle::SP_MediaSeekForward,
         &TMainForm::WriteAllActionExecute},
        {&TMainForm::DefaultAction, "DefaultAction", -1, nullptr, {}, &TMainForm::DefaultActionExecute},
        {&TMainForm::DefaultAllAction,
         "DefaultAllAction",
         -1,
         nullptr,
         {},
         &TMainForm::DefaultAllActionExecute},
    };
    for (const TActionRow& row : rows) {
        auto* action = new QAction(BuiltInText(row.Name), this);
        action->setObjectName(QString::fromLatin1(row.Name));
        action->setToolTip(BuiltInText(row.Name, "Hint"));
        action->setStatusTip(action->toolTip());
        action->setProperty("ImageIndex", row.ImageIndex);
        if (row.Icon)
            action->setIcon(
                QIcon::fromTheme(QString::fromLatin1(row.Icon), style()->standardIcon(row.Fallback)));
        connect(action, &QAction::triggered, this, row.Execute);
        this->*row.Member = action;
    }

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
}

void TMainForm::BuildLayout() {
    auto* panel5 = new QWidget(this);
    panel5->setObjectName(QStringLiteral("Panel5"));

    // The page area: the page list, a splitter, the current page.
    auto* panel3 = new QWidget;
    panel3->setObjectName(QStringLiteral("Panel3"));
    PageList = new QListWidget(panel3);
    PageList->setObjectName(QStringLiteral("PageList"));
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

// ---- the pages' host ----------------------------------------------------

TPanelExchange& TMainForm::Exchange() {
    return *fExchange;
}

bool TMainForm::isConnected() const {
    return fDevice->ComActive();
}

void TMainForm::DisableControls() {
    ++fBusy;
    ApplyControlsState();
}

void TMainForm::EnableControls() {
    if (fBusy > 0)
        --fBusy;
    ApplyControlsState();
    // A close asked for during the operation happens once it has unwound.
    if (fBusy == 0 && fCloseRequested)
        QTimer::singleShot(0, this, &QWidget::close);
}

void TMainForm::ShowErrorList(const QStringList& errors, TWorkMode mode) {
    if (fCloseRequested)
        return;
    fErrorList->Show(errors, mode);
}

void TMainForm::SetWakeUp(bool on) {
    fDevice->SetWakeUp(on);
}

void TMainForm::ShowMessage(const QString& text) {
    ShowMessageBox(this, TBoxKind::Plain, text);
}

// ---- actions ------------------------------------------------------------

void TMainForm::SetConnectedState(bool Connected) {
    fActionsConnected = Connected;
    ApplyControlsState();
}

void TMainForm::ApplyControlsState() {
    // While an operation runs nothing may start a second one: every action,
    // in the tool bar and in the menu, the page list and the page itself.
    const bool idle = fBusy == 0;
    ConnectAction->setEnabled(idle && !fActionsConnected);
    for (QAction* a : {DisconnectAction, ReadAction, WriteAction, ReadAllAction, WriteAllAction,
                       DefaultAction, DefaultAllAction})
        a->setEnabled(idle && fActionsConnected);
    PageList->setEnabled(idle);
    Panel4->setEnabled(idle);
}

void TMainForm::RunOnPage(TPageFrame* frame, void (TPageFrame::*op)()) {
    if (!frame)
        return;
    DisableControls();
    (frame->*op)();
    EnableControls();
}

void TMainForm::RunOnAllPages(void (TPageFrame::*op)(), bool backToFirst) {
    if (Busy())
        return;
    DisableControls();
    for (TPageFrame* frame : FFramesContainer) {
        if (fCloseRequested)
            break;
        ShowFrame(frame);
        RunOnPage(frame, op);
    }
    if (backToFirst && !FFramesContainer.empty())
        ShowFrame(FFramesContainer.front());
    EnableControls();
}

void TMainForm::ReadActionExecute() {
    if (!Busy())
        RunOnPage(FCurrentFrame, &TPageFrame::ReadPage);
}

void TMainForm::WriteActionExecute() {
    if (!Busy())
        RunOnPage(FCurrentFrame, &TPageFrame::WritePage);
}

void TMainForm::DefaultActionExecute() {
    if (!Busy())
        RunOnPage(FCurrentFrame, &TPageFrame::SetDefault);
}

void TMainForm::ReadAllActionExecute() {
    RunOnAllPages(&TPageFrame::ReadPage, true);
}

void TMainForm::WriteAllActionExecute() {
    RunOnAllPages(&TPageFrame::WritePage, false);
}

void TMainForm::DefaultAllActionExecute() {
    RunOnAllPages(&TPageFrame::SetDefault, true);
}

// ---- connecting and disconnecting ---------------------------------------

void TMainForm::ConnectActionExecute() {
    if (Busy() || FConnected)
        return;
    DisableControls();
    auto* dialog = new TConnectForm(this);
    RestoreForm(dialog);
    dialog->SetConnectEnabled(true);
    dialog->SetDevice(fDevice.get());
    dialog->Sequence().SetLink(&fExchange->OwedAnswers(), fTimings);
    connect(dialog, &TConnectForm::LogLine, this, [this](const QString& l) { Log->Append(l); });

    const bool ok = dialog->exec() == QDialog::Accepted;
    bool drop = !ok;
    if (ok) {
        const TConnectSequence& s = dialog->Sequence();
        FConnected = true;
        FModem = s.Modem();
        FVersion = {s.Ver(), s.Major(), s.Minor(), s.Release(), s.Memory()};
        if (!IsCompatible(FVersion)) {
            ShowMessageBox(this, TBoxKind::Error, QStringLiteral("Несовместимая оболочка"));
            drop = true;
        }
        InfoBarPanels[PanelPort]->setText(dialog->PortText());
        InfoBarPanels[PanelVersion]->setText(FVersion.Name);
        InfoBarPanels[PanelMemory]->setText(FVersion.Memory);
    }
    dialog->ResetDevice();
    SaveForm(dialog);
    delete dialog;

    fExchange->Attach();
    fExchange->SetModem(FModem);
    EnableControls();
    SetConnectedState(true);
    if (drop) {
        // A dialog closed while its sequence ran leaves nothing open behind.
        if (!FConnected)
            fDevice->SetComActive(false);
        DisconnectActionExecute();
    } else {
        fDevice->SetWakeUp(true);
    }
}

void TMainForm::DisconnectActionExecute() {
    if (fDisconnect)
        return;
    fDevice->SetWakeUp(false);
    if (!FConnected) {
        FinishDisconnect();
        return;
    }
    DisableControls();
    fDisconnect = new TDisconnectSequence(fDevice.get(), FModem, fExchange->OwedAnswers(), fTimings, this);
    connect(fDisconnect, &TDisconnectSequence::Done, this, [this] {
        fDisconnect->deleteLater();
        FConnected = false;
        FinishDisconnect();
        EnableControls();
    });
    fDisconnect->Start();
}

void TMainForm::FinishDisconnect() {
    for (int panel : {PanelPort, PanelVersion, PanelMemory})
        InfoBarPanels[panel]->clear();
    SetConnectedState(false);
    emit Disconnected();
}

void TMainForm::DeviceComCreateError(int) {
    ShowMessageBox(this, TBoxKind::Plain, QStringLiteral("Error open port"));
}

void TMainForm::LineLost() {
    if (!FConnected || fDisconnect)
        return;
    // The port is gone (an adapter unplugged): nothing can be written any
    // more, so the disconnect is only local.
    const QString port = InfoBarPanels[PanelPort]->text();
    fExchange->Abort();
    fDevice->SetWakeUp(false);
    fDevice->SetComActive(false);
    FConnected = false;
    FinishDisconnect();
    QTimer::singleShot(0, this,
                       [this, port] { ShowMessageBox(this, TBoxKind::Error, LineLostMessage(port)); });
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (Busy()) {
        // Let the running operation unwind first: its waits end at once and
        // every further request fails; the close follows.
        fCloseRequested = true;
        fExchange->SetBlocked(true);
        fExchange->Abort();
        event->ignore();
        return;
    }
    if (FConnected) {
        fCloseRequested = true;
        DisconnectActionExecute();
        event->ignore();
        return;
    }
    FreeFrames();
    SaveForm(this);
    fErrorList->close();
    event->accept();
}
