#include "Main.h"

#include "ActionIcons.h"
#include "BusyForm.h"
#include "ConnectFormUnit.h"
#include "ErrorListFormUnit.h"
#include "GuideForm.h"
#include "HelpTexts.h"
#include "OperationOutcome.h"
#include "serial/PortOpenError.h"
#include "FileChoice.h"
#include "FirmwareActions.h"
#include "LogUtils.h"
#include "MainCaptions.h"
#include "MessageBoxes.h"
#include "SettingsActions.h"
#include "archive/PanelArchive.h"
#include "firmware/UpdateFirmware.h"
#include "pages/HistoryFrameUnit.h"
#include "pages/PageFrame.h"
#include "pages/PageTable.h"
#include "pages/SettingsPages.h"
#include "panel/CommandExchange.h"
#include "panel/StateRules.h"
#include "prefs/ComponentKind.h"
#include "prefs/FileUtils.h"
#include "prefs/SaveLoadSettings.h"
#include "serial/Device.h"
#include "version.h"

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
#include <QSettings>
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
    : QMainWindow(parent), fSession(std::make_unique<TPanelSession>()), Log(std::make_unique<TLog>()),
      fFirmware(std::make_unique<TFirmwareActions>(*this, this)),
      fSettings(std::make_unique<TSettingsActions>(*this, FFramesContainer, this)),
      fArchive(std::make_unique<TPanelArchive>()) {
    setObjectName(QStringLiteral("MainForm"));
    // The archive's switch lives beside the version stamp, not in a window's
    // group, so that a new version keeps it.
    fArchive->SetEnabled(
        QSettings(kSettingsOrganization, kSettingsApplication).value(kArchiveValue, true).toBool());
    connect(fSession.get(), &TPanelSession::StateChanged, this, &TMainForm::StateChangedTo);
    connect(fSession.get(), &TPanelSession::PortFailed, this, &TMainForm::ShowPortError);
    connect(fSession.get(), &TPanelSession::Lost, this, &TMainForm::ShowLost);
    connect(fSession.get(), &TPanelSession::Disconnected, this, [this] {
        ClearStatusPanels();
        emit Disconnected();
    });
    // The History page's store is the connected panel's journal: another
    // connection starts it afresh, and an erase the panel took (from any
    // page) empties it.
    connect(fSession.get(), &TPanelSession::Connected, this, [this] {
        fArchive->NewConnection(Version());
        if (THistoryFrame* history = HistoryPage())
            history->ForgetJournal();
    });
    connect(fSession.get(), &TPanelSession::JournalErased, this, [this] {
        if (THistoryFrame* history = HistoryPage())
            history->JournalErased();
    });
    // Closing: once everything has unwound, the window closes.
    connect(fSession.get(), &TPanelSession::CloseReady, this,
            [this] { QTimer::singleShot(0, this, &QWidget::close); });
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
        if (State() != TOperationState::Connected)
            return true;
        return SettingsActions().OfferSaveFirst(TFirmwareActions::SafetyCopyQuestion(), [this] {
            const TOperationResult read =
                RunOnAllPages(TOperationState::Reading, &TPageFrame::ReadPage, true);
            if (State() != TOperationState::Connected)
                return false;
            // A page not read keeps what it held before: such a copy is no
            // copy of the panel, and is kept only when the user says so.
            switch (read.Status) {
            case TOperationResult::Done: return true;
            case TOperationResult::Failed: return Confirm(TFirmwareActions::IncompleteCopyQuestion());
            default: return false;
            }
        });
    });

    BuildActions();
    BuildMenu();
    BuildLayout();

    Log->SetLogObject(LogMemo);
    Log->SetAutoScroll(AutoscrollCheckBox->isChecked());
    connect(fSession.get(), &TPanelSession::LogLine, this, [this](const QString& l) { Log->Append(l); });
    connect(fSettings.get(), &TSettingsActions::LogLine, this, [this](const QString& l) { Log->Append(l); });

    FGlobalLoadSettingsFlag = CheckSettingsVersion(
        GetFileVersion(), [this] { ResetCaptions(this, BuiltInCaptions(), PageNames()); });
    FInVer = GetBuiltInVersion();
    setWindowTitle(QStringLiteral("Программа настройки Tarvik-1 %1 %2")
                       .arg(QStringLiteral("ver %1").arg(QStringLiteral(TARVIK_VERSION)),
                            QStringLiteral("Update: %1").arg(FInVer)));
    if (FGlobalLoadSettingsFlag)
        RestoreForm(this);
    AddMnemonics();
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
        ShowFrame(FrameAt(0));
        PageList->setCurrentRow(0);
    }
}

TMainForm::~TMainForm() {
    // The pages and the actions go first; the session's signals reach the
    // window no more.
    fSession->disconnect(this);
}

void TMainForm::SetLinkTimings(const TLinkTimings& timings) {
    fSession->SetLinkTimings(timings);
}

TErrorListForm* TMainForm::ErrorListForm() const {
    // The error list window lives beside the main window, not inside it;
    // made when first needed.
    if (!fErrorList)
        fErrorList = std::make_unique<TErrorListForm>();
    return fErrorList.get();
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
            action->setIcon(ActionIcon(row.ImageIndex));
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
    // The settings file's actions: a diskette and a folder, as the desktop
    // shows saving and opening.
    SaveSettingsAction->setIcon(SaveFileIcon());
    LoadSettingsAction->setIcon(OpenFileIcon());
    CompareSettingsAction = new QAction(QStringLiteral("Сравнить с файлом"), this);
    CompareSettingsAction->setObjectName(QStringLiteral("CompareSettingsAction"));
    CompareSettingsAction->setToolTip(QStringLiteral("Сравнить настройки на страницах с файлом"));
    CompareSettingsAction->setStatusTip(CompareSettingsAction->toolTip());
    CompareSettingsAction->setProperty("ImageIndex", -1);
    connect(CompareSettingsAction, &QAction::triggered, this, &TMainForm::CompareSettingsActionExecute);
    ConfigHistoryAction = new QAction(QStringLiteral("История настроек"), this);
    ConfigHistoryAction->setObjectName(QStringLiteral("ConfigHistoryAction"));
    ConfigHistoryAction->setToolTip(
        QStringLiteral("Настройки, прочитанные из панели и записанные в неё, из архива"));
    ConfigHistoryAction->setStatusTip(ConfigHistoryAction->toolTip());
    ConfigHistoryAction->setProperty("ImageIndex", -1);
    connect(ConfigHistoryAction, &QAction::triggered, this, &TMainForm::ConfigHistoryActionExecute);
    ArchiveEnabledAction = new QAction(QStringLiteral("Вести архив панелей"), this);
    ArchiveEnabledAction->setObjectName(QStringLiteral("ArchiveEnabledAction"));
    ArchiveEnabledAction->setToolTip(
        QStringLiteral("Сохранять прочитанный журнал и настройки каждой панели в архиве"));
    ArchiveEnabledAction->setStatusTip(ArchiveEnabledAction->toolTip());
    ArchiveEnabledAction->setProperty("ImageIndex", -1);
    ArchiveEnabledAction->setCheckable(true);
    ArchiveEnabledAction->setChecked(fArchive->Enabled());
    connect(ArchiveEnabledAction, &QAction::toggled, this, &TMainForm::ArchiveEnabledActionExecute);

    // The usual keys: F5 reads the page on show, Ctrl+S and Ctrl+O the
    // settings file, Ctrl+Q quits, F1 the user's guide.
    ReadAction->setShortcut(QKeySequence(Qt::Key_F5));
    SaveSettingsAction->setShortcut(QKeySequence::Save);
    LoadSettingsAction->setShortcut(QKeySequence::Open);
    QuitAction = new QAction(QStringLiteral("Вы&ход"), this);
    QuitAction->setObjectName(QStringLiteral("QuitAction"));
    QuitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QuitAction->setMenuRole(QAction::QuitRole);
    connect(QuitAction, &QAction::triggered, this, &QWidget::close);
    GuideAction = new QAction(QStringLiteral("&Руководство пользователя"), this);
    GuideAction->setObjectName(QStringLiteral("GuideAction"));
    GuideAction->setShortcut(QKeySequence(Qt::Key_F1));
    connect(GuideAction, &QAction::triggered, this, &TMainForm::GuideActionExecute);
    AboutAction = new QAction(QStringLiteral("&О программе"), this);
    AboutAction->setObjectName(QStringLiteral("AboutAction"));
    AboutAction->setMenuRole(QAction::AboutRole);
    connect(AboutAction, &QAction::triggered, this, &TMainForm::AboutActionExecute);
    for (QAction* a : {QuitAction, GuideAction, AboutAction})
        a->setProperty("ImageIndex", -1);

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
    MSettings->addSeparator();
    MSettings->addAction(ConfigHistoryAction);
    MSettings->addAction(ArchiveEnabledAction);

    MFirmware = menuBar()->addMenu(BuiltInText("MFirmware"));
    MFirmware->setObjectName(QStringLiteral("MFirmware"));
    MFirmware->addAction(UpdateFromFileAction);
    MFirmware->addAction(UpdateFromExeAction);

    MConnect->addSeparator();
    MConnect->addAction(QuitAction);

    MHelp = menuBar()->addMenu(QStringLiteral("Спр&авка"));
    MHelp->setObjectName(QStringLiteral("MHelp"));
    MHelp->addAction(GuideAction);
    MHelp->addAction(AboutAction);
}

void TMainForm::AddMnemonics() {
    // Alt and a letter open a menu; the letters are marked in the captions
    // whatever captions the stored state brought back.
    const std::pair<QMenu*, QChar> menus[] = {
        {MConnect, QChar(u'С')}, {MSettings, QChar(u'Н')}, {MFirmware, QChar(u'П')}};
    for (const auto& [menu, letter] : menus) {
        const QString title = menu->title();
        const qsizetype at = title.indexOf(letter, 0, Qt::CaseInsensitive);
        if (!title.contains(QLatin1Char('&')) && at >= 0)
            menu->setTitle(QString(title).insert(at, QLatin1Char('&')));
    }
}

void TMainForm::GuideActionExecute() {
    if (!fGuide) {
        fGuide = new TGuideForm(this);
        fGuide->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    const QString file = GuideFile();
    if (!fGuide->Open(file))
        Log->Append(QStringLiteral("Руководство пользователя не найдено"));
    fGuide->show();
    fGuide->raise();
}

void TMainForm::AboutActionExecute() {
    ShowAbout(this, QStringLiteral("О программе"), AboutText());
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
    OutcomeLabel = new QLabel(this);
    OutcomeLabel->setObjectName(QStringLiteral("OutcomeLabel"));
    statusBar()->addPermanentWidget(OutcomeLabel, 1);
    fOutcomeTimer.setSingleShot(true);
    connect(&fOutcomeTimer, &QTimer::timeout, this, [this] {
        OutcomeLabel->clear();
        OutcomeLabel->setAccessibleName(QString());
    });
    resize(807, 442);

    connect(PageList, &QListWidget::currentRowChanged, this, &TMainForm::PageListClick);
    connect(ClearLogButton, &QPushButton::clicked, this, [this] { Log->Clear(); });
    connect(SaveLogButton, &QPushButton::clicked, this, [this] { Log->SaveLog(this); });
    connect(AutoscrollCheckBox, &QCheckBox::toggled, this, [this](bool on) { Log->SetAutoScroll(on); });
}

void TMainForm::CreateFrames() {
    // Only the first page is built before the window shows: building the
    // others (their long lists measured and laid out) would keep it waiting.
    FFramesContainer.assign(PageTable().size(), nullptr);
}

TPageFrame* TMainForm::FrameAt(size_t place) {
    TPageFrame*& frame = FFramesContainer.at(place);
    if (frame)
        return frame;
    frame = PageTable().at(place).Create(*this);
    // Pages keep their own values; the window state does not hold them.
    frame->setProperty(kNotStoredProperty, true);
    Panel4->addWidget(frame);
    frame->Init();
    // A page changed and not written is marked in the list.
    if (TPageModel* model = frame->PageModel()) {
        connect(model, &TPageModel::ChangeStateChanged, this,
                [this, place](bool changed) { MarkChanged(place, changed); });
        MarkChanged(place, model->Changed());
    }
    if (fToldRelease)
        frame->DevRelease(*fToldRelease);
    if (fToldState)
        frame->HostStateChanged(*fToldState);
    return frame;
}

const std::vector<TPageFrame*>& TMainForm::Frames() {
    for (size_t place = 0; place < FFramesContainer.size(); ++place)
        FrameAt(place);
    return FFramesContainer;
}

TSettingsActions& TMainForm::SettingsActions() {
    Frames();
    return *fSettings;
}

void TMainForm::FreeFrames() {
    FCurrentFrame = nullptr;
    while (!FFramesContainer.empty()) {
        delete FFramesContainer.back();
        FFramesContainer.pop_back();
    }
}

// Not built, the page holds no journal yet.
THistoryFrame* TMainForm::HistoryPage() const {
    for (TPageFrame* frame : FFramesContainer) {
        if (auto* history = qobject_cast<THistoryFrame*>(frame))
            return history;
    }
    return nullptr;
}

void TMainForm::ShowFrame(TPageFrame* frame) {
    Panel4->setCurrentWidget(frame);
    FCurrentFrame = frame;
    // The list marks the page on show, whoever brought it up.
    const auto at = std::find(FFramesContainer.begin(), FFramesContainer.end(), frame);
    if (at != FFramesContainer.end() && PageList->currentRow() != int(at - FFramesContainer.begin())) {
        const QSignalBlocker quiet(PageList);
        PageList->setCurrentRow(int(at - FFramesContainer.begin()));
    }
}

void TMainForm::PageListClick() {
    const int row = PageList->currentRow();
    if (row < 0 || row >= int(FFramesContainer.size()))
        return;
    ShowFrame(FrameAt(size_t(row)));
}

// ---- the operation state --------------------------------------------------

bool TMainForm::Connected() const {
    return fSession->HasPanel();
}

bool TMainForm::Busy() const {
    return !fSession->Idle();
}

void TMainForm::StateChangedTo(TOperationState state) {
    ApplyState();
    // While something runs the log's end stays in view; after, the user's
    // choice holds again.
    Log->SetAutoScroll(IsOperation(state) || AutoscrollCheckBox->isChecked());
    fToldState = state;
    for (TPageFrame* frame : FFramesContainer) {
        if (frame)
            frame->HostStateChanged(state);
    }
    emit StateChanged(state);
}

void TMainForm::ApplyState() {
    // The actions serve the tool bar and the menu alike, so nothing that is
    // disabled here can be started from either. The page list and the page
    // take input only when nothing runs.
    const TStateActions enabled = StateRule(State()).Enables;
    ConnectAction->setEnabled(enabled.testFlag(TStateAction::Connect));
    DisconnectAction->setEnabled(enabled.testFlag(TStateAction::Disconnect));
    for (QAction* a :
         {ReadAction, WriteAction, ReadAllAction, WriteAllAction, DefaultAction, DefaultAllAction})
        a->setEnabled(enabled.testFlag(TStateAction::PageOperations));
    for (QAction* a : {SaveSettingsAction, LoadSettingsAction, CompareSettingsAction, ConfigHistoryAction,
                       ArchiveEnabledAction})
        a->setEnabled(enabled.testFlag(TStateAction::SettingsFile));
    const bool firmware = enabled.testFlag(TStateAction::FirmwareUpdate);
    UpdateFromFileAction->setEnabled(firmware);
    // A program without built-in firmware has "no update" for its version.
    UpdateFromExeAction->setEnabled(firmware && !FInVer.contains(QLatin1String("no")));
    const bool pagesLive = enabled.testFlag(TStateAction::PageInput);
    PageList->setEnabled(pagesLive);
    Panel4->setEnabled(pagesLive);
}

bool TMainForm::BeginOperation(TOperationState state) {
    return fSession->BeginOperation(state);
}

void TMainForm::EndOperation() {
    fSession->EndOperation();
}

// ---- the pages' host ------------------------------------------------------

TPanelExchange& TMainForm::Exchange() {
    return fSession->Exchange();
}

bool TMainForm::isConnected() const {
    return fSession->Device().ComActive();
}

int TMainForm::DeviceRelease() const {
    return fSession->Panel().Version.Release;
}

void TMainForm::SetWakeUp(bool on) {
    fSession->SetWakeUp(on);
}

void TMainForm::ShowErrorList(const QStringList& errors, TWorkMode mode) {
    if (!errors.isEmpty())
        ++fFailuresTold;
    // The names are what the page's operation came to, whatever is shown.
    if (!errors.isEmpty())
        fSession->ReportFailure(errors);
    TPanelExchange& exchange = fSession->Exchange();
    QList<TErrorEntry> entries;
    for (const QString& name : errors)
        entries.append({name, exchange.FailReason(name)});
    exchange.ForgetFailReasons();
    // An operation the user broke off by closing the window reports nothing.
    if (State() == TOperationState::Closing)
        return;
    // A round over every page lists each page's failures under its name.
    const QString page = FCurrentFrame ? PageName(FCurrentFrame->Tag()) : QString();
    ErrorListForm()->Show(page, entries, mode, fRoundListed);
    fRoundListed = fInRound;
}

void TMainForm::ShowMessage(const QString& text) {
    if (State() != TOperationState::Closing)
        ShowMessageBox(this, TBoxKind::Plain, text);
}

void TMainForm::ShowError(const QString& text) {
    ++fFailuresTold;
    fSession->ReportFailure({text});
    if (State() != TOperationState::Closing)
        ShowMessageBox(this, TBoxKind::Error, text);
}

bool TMainForm::Confirm(const QString& question) {
    if (State() == TOperationState::Closing)
        return false;
    if (fAnswered.contains(question))
        return fAnswered.value(question);
    return ShowMessageBox(this, TBoxKind::Question, question);
}

TAnswer TMainForm::Ask(const QString& question) {
    if (State() == TOperationState::Closing)
        return TAnswer::Cancel;
    return AskMessageBox(this, question);
}

QString TMainForm::ChooseFile(const TFileChoice& choice) {
    if (State() == TOperationState::Closing)
        return {};
    return ChooseFileName(this, choice);
}

void TMainForm::BeginBusy(const QString& text, bool cancellable) {
    if (!fBusyForm) {
        fBusyForm = new TBusyForm(this);
        // Cancel ends the wait in progress; the operation stops at its next
        // step, when it sees BusyCancelled.
        connect(fBusyForm, &TBusyForm::CancelPressed, this, [this] { fSession->CancelWait(); });
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

TOperationResult TMainForm::RunOnPage(TOperationState state, void (TPageFrame::*op)()) {
    if (!fSession->BeginOperation(state))
        return {TOperationResult::Refused, {}};
    fSession->Exchange().ForgetFailReasons();
    fRoundListed = false;
    if (FCurrentFrame) {
        const int told = fFailuresTold;
        (FCurrentFrame->*op)();
        if (state == TOperationState::Reading && fFailuresTold == told)
            NoteObjectRead(FCurrentFrame);
    }
    const TOperationResult result = fSession->EndOperation();
    ShowOutcome(OperationOutcomeText(state, FCurrentFrame ? 1 : 0, result));
    return result;
}

TOperationResult TMainForm::RunOnAllPages(TOperationState state, void (TPageFrame::*op)(), bool backToFirst) {
    if (!fSession->BeginOperation(state))
        return {TOperationResult::Refused, {}};
    fSession->Exchange().ForgetFailReasons();
    fRoundListed = false;
    fInRound = true;
    int pages = 0;
    bool pagesFailed = false;
    for (size_t place = 0; place < FFramesContainer.size(); ++place) {
        // A close or a lost line ends the round.
        if (State() != state)
            break;
        TPageFrame* frame = FrameAt(place);
        ShowFrame(frame);
        const int told = fFailuresTold;
        (frame->*op)();
        ++pages;
        if (fFailuresTold != told && frame->Tag() != ptHistory)
            pagesFailed = true;
        else if (state == TOperationState::Reading)
            NoteObjectRead(frame);
    }
    fInRound = false;
    if (backToFirst && !FFramesContainer.empty())
        ShowFrame(FrameAt(0));
    const TOperationResult result = fSession->EndOperation();
    ShowOutcome(OperationOutcomeText(state, pages, result));
    KeepConfiguration(state, result, pagesFailed || size_t(pages) != FFramesContainer.size());
    return result;
}

void TMainForm::ShowOutcome(const QString& text) {
    // Said for a few seconds beside the panel's identity, which stays.
    if (text.isEmpty() || State() == TOperationState::Closing)
        return;
    OutcomeLabel->setText(text);
    OutcomeLabel->setAccessibleName(text);
    fOutcomeTimer.start(kOutcomeShownMs);
}

QString TMainForm::Outcome() const {
    return OutcomeLabel->text();
}


void TMainForm::NoteObjectRead(TPageFrame* frame) {
    if (frame->Tag() != ptCommon)
        return;
    QStringList lines;
    frame->GetSettings(lines);
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("Object=")))
            fArchive->SetConnectedObject(line.mid(7));
    }
}

void TMainForm::KeepConfiguration(TOperationState state, const TOperationResult& result, bool pagesFailed) {
    if (!fArchive->Enabled() || pagesFailed ||
        (state != TOperationState::Reading && state != TOperationState::Writing))
        return;
    // A write the panel did not take, or an operation broken off, is no
    // configuration of the panel.
    if (result.Status != TOperationResult::Done && result.Status != TOperationResult::Failed)
        return;
    const QStringList lines = SettingsLines(CollectPageSettings(SettingsPages(Frames())));
    const TConfigDirection direction =
        state == TOperationState::Reading ? TConfigDirection::Read : TConfigDirection::Written;
    if (!fArchive->KeepConfiguration(lines, direction, Exchange(), ExchangeTimeout::Param))
        ShowError(QStringLiteral("Архив не сохранил настройки: %1").arg(fArchive->Error()));
}

void TMainForm::ConfigHistoryActionExecute() {
    if (!fArchive->Enabled()) {
        ShowMessage(THistoryFrame::ArchiveOff());
        return;
    }
    fSettings->ConfigHistory(*fArchive, Connected() ? fArchive->ConnectedObject() : QString());
}

void TMainForm::ArchiveEnabledActionExecute(bool on) {
    fArchive->SetEnabled(on);
    QSettings(kSettingsOrganization, kSettingsApplication).setValue(kArchiveValue, on);
    for (TPageFrame* frame : FFramesContainer) {
        if (frame)
            frame->HostStateChanged(State());
    }
}

void TMainForm::ReadActionExecute() {
    if (!UnwrittenEditsMayGo({FCurrentFrame}))
        return;
    RunOnPage(TOperationState::Reading, &TPageFrame::ReadPage);
}

void TMainForm::WriteActionExecute() {
    RunOnPage(TOperationState::Writing, &TPageFrame::WritePage);
}

void TMainForm::DefaultActionExecute() {
    RunOnPage(TOperationState::Defaulting, &TPageFrame::SetDefault);
}

void TMainForm::ReadAllActionExecute() {
    if (!UnwrittenEditsMayGo(FFramesContainer))
        return;
    RunOnAllPages(TOperationState::Reading, &TPageFrame::ReadPage, true);
}

void TMainForm::WriteAllActionExecute() {
    if (!StateRule(State()).Enables.testFlag(TStateAction::PageOperations))
        return;
    // The pages' questions come before anything is sent; each page's write
    // then takes the answer given.
    fAnswered.clear();
    for (TPageFrame* frame : Frames()) {
        const QString question = frame->WriteQuestion();
        if (!question.isEmpty() && !fAnswered.contains(question))
            fAnswered.insert(question, Confirm(question));
    }
    RunOnAllPages(TOperationState::Writing, &TPageFrame::WritePage, false);
    fAnswered.clear();
}

void TMainForm::DefaultAllActionExecute() {
    if (!StateRule(State()).Enables.testFlag(TStateAction::PageOperations))
        return;
    if (!SettingsActions().OfferSaveFirst(QStringLiteral("Настройки на всех страницах будут заменены значениями по "
                                                  "умолчанию. Сохранить текущие настройки в файл?")))
        return;
    RunOnAllPages(TOperationState::Defaulting, &TPageFrame::SetDefault, true);
}

void TMainForm::SaveSettingsActionExecute() {
    SettingsActions().Save();
}

void TMainForm::LoadSettingsActionExecute() {
    if (!UnwrittenEditsMayGo(FFramesContainer))
        return;
    SettingsActions().Load();
}

void TMainForm::CompareSettingsActionExecute() {
    SettingsActions().Compare();
}

void TMainForm::UpdateFromFileActionExecute() {
    if (StateRule(State()).Enables.testFlag(TStateAction::FirmwareUpdate))
        fFirmware->UpdateFromFile();
}

void TMainForm::UpdateFromExeActionExecute() {
    if (UpdateFromExeAction->isEnabled())
        fFirmware->UpdateFromBuiltIn(Version(), FInVer);
}

// ---- connecting and disconnecting -----------------------------------------

void TMainForm::ConnectActionExecute() {
    if (!fSession->BeginConnecting())
        return;
    auto* dialog = new TConnectForm(this);
    fConnectForm = dialog;
    RestoreForm(dialog);
    dialog->SetConnectEnabled(true);
    dialog->SetSession(fSession.get());
    // Accepted once the session has a panel; closed by the user, or by a
    // loss in the moment of the connection, without one.
    dialog->exec();
    SaveForm(dialog);
    delete dialog;
    // A dialog closed while its sequence ran leaves nothing open behind.
    fSession->EndConnecting();
    ShowConnection();
}

void TMainForm::ShowConnection() {
    switch (State()) {
    case TOperationState::Connected:
        ShowPanelIdentity();
        fToldRelease = Version().Release;
        for (TPageFrame* frame : FFramesContainer) {
            if (frame)
                frame->DevRelease(*fToldRelease);
        }
        break;
    case TOperationState::BootLoader: EnterBootLoaderState(); break;
    case TOperationState::Incompatible:
        SetPortPanel(fSession->Panel().Port);
        ShowMessageBox(this, TBoxKind::Error, QStringLiteral("Несовместимая оболочка"));
        // The box waited for the user: the line may be gone meanwhile, or
        // the window closing.
        fSession->Disconnect();
        break;
    default: break;
    }
}

void TMainForm::ShowPanelIdentity() {
    SetPortPanel(fSession->Panel().Port);
    InfoBarPanels[PanelVersion]->setText(Version().Name);
    InfoBarPanels[PanelMemory]->setText(Version().Memory);
}

void TMainForm::EnterBootLoaderState() {
    // An update broke off: the panel waits in its boot loader and can only
    // be updated again. The connection stands for that alone.
    ShowPanelIdentity();
    QLabel* notice = InfoBarPanels[PanelNotice];
    notice->setText(QStringLiteral("Панель в загрузчике"));
    notice->setToolTip(QStringLiteral("Доступно только обновление прошивки (меню «Перепрошивка»)"));
    ShowMessageBox(
        this, TBoxKind::Plain,
        QStringLiteral("Панель находится в загрузчике (%1): её прошивка не записана до конца, "
                       "настройки недоступны. Запустите обновление прошивки (меню «Перепрошивка»), "
                       "чтобы восстановить панель.")
            .arg(Version().Name));
}

void TMainForm::DisconnectActionExecute() {
    if (!StateRule(State()).Enables.testFlag(TStateAction::Disconnect))
        return;
    if (!UnwrittenEditsMayGo(FFramesContainer))
        return;
    fSession->Disconnect();
}

bool TMainForm::UnwrittenEditsMayGo(const std::vector<TPageFrame*>& pages) {
    // Only a connected panel can take the edits; without one there is
    // nothing to offer but the settings file, which stays at hand.
    if (State() != TOperationState::Connected)
        return true;
    std::vector<TPageFrame*> changed;
    QStringList names;
    for (TPageFrame* frame : pages) {
        if (frame && frame->PageModel() && frame->PageModel()->Changed()) {
            changed.push_back(frame);
            names << QStringLiteral("«%1»").arg(PageName(frame->Tag()));
        }
    }
    if (changed.empty())
        return true;
    const QString question =
        changed.size() == 1
            ? QStringLiteral("Изменения на странице %1 не записаны в панель. Записать их?").arg(names.first())
            : QStringLiteral("Изменения на страницах %1 не записаны в панель. Записать их?").arg(names.join(", "));
    switch (AskUnwrittenBox(this, question)) {
    case TAnswer::Cancel: return false;
    case TAnswer::No: return true;
    case TAnswer::Yes: break;
    }
    // Written first; a page the panel did not take keeps its edits, and
    // what was asked for does not happen.
    for (TPageFrame* frame : changed) {
        ShowFrame(frame);
        if (!RunOnPage(TOperationState::Writing, &TPageFrame::WritePage).Ok() || frame->PageModel()->Changed())
            return false;
    }
    return true;
}

void TMainForm::MarkChanged(size_t place, bool changed) {
    QListWidgetItem* item = PageList->item(int(place));
    if (!item)
        return;
    QFont font = item->font();
    font.setBold(changed);
    item->setFont(font);
    const QString note = changed ? QStringLiteral("Изменено и не записано в панель") : QString();
    item->setToolTip(note);
    item->setData(Qt::AccessibleDescriptionRole, note);
}

void TMainForm::ShowPortError(const QString& port, int code, int osError) {
    // What is wrong with the port and what to do about it, in words: the
    // system's terse reason ("resource busy") tells the installer little.
    QString why = PortOpenReason(code, osError);
    if (!why.isEmpty())
        why[0] = why[0].toUpper();
    ShowMessageBox(this, TBoxKind::Error, QStringLiteral("Не удалось открыть порт %1").arg(port), why);
}

void TMainForm::ShowLost(const QString& message) {
    // Told once whatever ran has unwound.
    QTimer::singleShot(0, this, [this, message] { ShowMessageBox(this, TBoxKind::Error, message); });
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
        InfoBarPanels[panel]->setAccessibleName(QString());
    }
}

// ---- closing --------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* event) {
    // Edits a connected panel could still take are not dropped unasked.
    if (!fConnectForm && State() == TOperationState::Connected && !UnwrittenEditsMayGo(FFramesContainer)) {
        event->ignore();
        return;
    }
    if (!fConnectForm && fSession->ReadyToClose()) {
        FreeFrames();
        SaveForm(this);
        if (fErrorList)
            fErrorList->close();
        event->accept();
        return;
    }
    event->ignore();
    const TOperationState state = State();
    if (state == TOperationState::Closing)
        return;
    // An upload is not broken off in the middle of a block: the installer is
    // asked first, and the window closes after the upload's end.
    if (state == TOperationState::UpdatingFirmware && fFirmware->CloseRequested())
        return;
    // Whatever runs is let to unwind first: an operation's wait ends at once
    // and its further requests fail; the connection dialog closes; a
    // connected panel is disconnected properly. Then the window closes.
    fSession->Close();
    if (fConnectForm)
        fConnectForm->reject();
}
