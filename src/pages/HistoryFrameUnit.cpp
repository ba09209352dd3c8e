#include "HistoryFrameUnit.h"

#include "Accessibility.h"
#include "ArchivePanelDialog.h"
#include "HistoryArchiveLink.h"
#include "archive/JournalRecorder.h"
#include "archive/PanelArchive.h"
#include "history/HistoryExport.h"
#include "history/HistoryModel.h"
#include "history/JournalPages.h"
#include "history/JournalProgress.h"
#include "history/WakeUpSwitch.h"

#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The device's wake-up, switched through the page's host.
class THostWakeUp : public IWakeUpSwitch {
public:
    explicit THostWakeUp(IPageHost& host) : fHost(host) {}
    void SetWakeUp(bool on) override { fHost.SetWakeUp(on); }

private:
    IPageHost& fHost;
};

const QString kDefaultCount = QString::number(kDefaultRecordsPerPage);

// A typed records-per-page count that is a count (1 to 65535).
bool IsCount(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= kLastJournalIndex;
}

// Text that no further typing can make a count: anything but digits.
bool CannotBecomeCount(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isDigit() && !c.isSpace(); });
}

} // namespace

THistoryFrame::THistoryFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptHistory, parent),
      fReader(std::make_unique<TJournalReader>(host.Exchange(), FHistory)),
      fModel(new THistoryModel(FHistory, this)),
      fArchive(new THistoryArchiveLink(host, *fReader, FHistory, this)) {
    setObjectName(QStringLiteral("HistoryFrame"));
    // Typing into the filter box never waits for the search of a full
    // journal: the list shows the last text's result when it is ready.
    fModel->FilterInBackground(true);
    BuildControls();

    connect(fReader.get(), &TJournalReader::PageChanged, fModel, &THistoryModel::SetPage);
    connect(fReader.get(), &TJournalReader::ReadProgress, this, &THistoryFrame::ReadAllProgress);
    connect(fReader.get(), &TJournalReader::ReadFinished, this, &THistoryFrame::ReadAllFinished);
    // The busy indicator's Cancel ends the chunk in progress at once; the
    // read then ends as cancelled, keeping every record that came before.
    fReader->SetCancelSource([this] { return fReadingAll && fHost.BusyCancelled(); });
    connect(fModel, &QAbstractItemModel::modelReset, this, &THistoryFrame::ModelReset);
    connect(fArchive, &THistoryArchiveLink::ViewChanged, this, &THistoryFrame::ArchiveViewChanged);
    ModelReset();
}

THistoryFrame::~THistoryFrame() = default;

QString THistoryFrame::EraseBusyText() {
    return QStringLiteral("Очистка истории прибора: ожидание ответа панели (до %1 с)")
        .arg(ExchangeTimeout::Erase / 1000);
}

QString THistoryFrame::ReadAllBusyText() {
    return QStringLiteral("Чтение всего журнала прибора");
}

QString THistoryFrame::NothingToExport() {
    return QStringLiteral("Нет записей для экспорта");
}

QString THistoryFrame::NotOpened(const QString& path) {
    return QStringLiteral(
               "Файл записан: %1\nОткрыть его не удалось: в системе нет программы для файлов этого типа.")
        .arg(QDir::toNativeSeparators(path));
}

QString THistoryFrame::ExportFilter() {
    return QStringLiteral("Книга Excel — для просмотра в таблице (*.xlsx);;"
                          "CSV для программ — в таблице сообщение из цифр может стать числом (*.csv)");
}

QString THistoryFrame::NoPanel() {
    return QStringLiteral("Нет подключения к панели");
}

QString THistoryFrame::NewRecordsBusyText() {
    return QStringLiteral("Чтение новых записей журнала прибора");
}

QString THistoryFrame::ArchiveOff() {
    return QStringLiteral("Архив выключен (меню \"Настройки\", \"Вести архив панелей\")");
}

void THistoryFrame::BuildControls() {
    const auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    HistoryGroup = named(new QGroupBox(QStringLiteral("История"), this), "HistoryGroup");
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(HistoryGroup);

    BackBtn = named(new QPushButton(QStringLiteral("<< Назад"), HistoryGroup), "BackBtn");
    ForwardBtn = named(new QPushButton(QStringLiteral("Вперед >>"), HistoryGroup), "ForwardBtn");
    Label1 = named(new QLabel(QStringLiteral("Выводить по"), HistoryGroup), "Label1");
    RecordsCount = named(new QComboBox(HistoryGroup), "RecordsCount");
    RecordsCount->setEditable(true);
    RecordsCount->setInsertPolicy(QComboBox::NoInsert);
    RecordsCount->addItems({kDefaultCount, QStringLiteral("40"), QStringLiteral("50")});
    RecordsCount->setCurrentIndex(0);
    RecordsCount->setMinimumContentsLength(5);
    Label2 = named(new QLabel(QStringLiteral("записей"), HistoryGroup), "Label2");
    Label1->setBuddy(RecordsCount);
    ReadAllBtn = named(new QPushButton(QStringLiteral("Прочитать весь журнал"), HistoryGroup), "ReadAllBtn");
    NewRecordsBtn =
        named(new QPushButton(QStringLiteral("Прочитать новые записи"), HistoryGroup), "NewRecordsBtn");
    NewRecordsBtn->setToolTip(QStringLiteral("Только записи после последней сохранённой в архиве"));
    ArchiveBtn = named(new QPushButton(QStringLiteral("Архив..."), HistoryGroup), "ArchiveBtn");
    ArchiveBtn->setToolTip(QStringLiteral("Журнал панели из архива, без подключения"));
    ArchiveLabel = named(new QLabel(HistoryGroup), "ArchiveLabel");
    ArchiveLabel->setTextFormat(Qt::PlainText);
    // A long panel and run never widen the page.
    ArchiveLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ArchiveLabel->hide();
    // Not the log's harmless "Очистить": this one erases the panel's journal.
    ClearBtn = named(new QPushButton(QStringLiteral("Очистить журнал панели…"), HistoryGroup), "ClearBtn");
    ClearBtn->setToolTip(QStringLiteral("Стереть все записи журнала событий в панели (после вопроса). "
                                        "Стёртые записи не вернуть: сначала сохраните их экспортом."));

    FilterLabel = named(new QLabel(QStringLiteral("Фильтр:"), HistoryGroup), "FilterLabel");
    FilterEdit = named(new QLineEdit(HistoryGroup), "FilterEdit");
    FilterEdit->setPlaceholderText(QStringLiteral("событие, код, раздел, шлейф или посылка"));
    FilterEdit->setClearButtonEnabled(true);
    FilterLabel->setBuddy(FilterEdit);
    ExportPage =
        named(new QPushButton(QStringLiteral("Экспорт в Excel открытой страницы истории"), HistoryGroup),
              "ExportPage");
    ExportAllPages = named(
        new QPushButton(QStringLiteral("Экспорт в Excel истории, прочитанной в данном сеансе"), HistoryGroup),
        "ExportAllPages");

    // Rows, so that the page fits beside the page list at the window's
    // first size: the page on show; the filter and the export of what is
    // shown; the whole journal and the export of all that is read; the
    // archive. The erase goes under the list.
    auto* pagingRow = new QHBoxLayout;
    pagingRow->addWidget(BackBtn);
    pagingRow->addWidget(ForwardBtn);
    pagingRow->addSpacing(12);
    pagingRow->addWidget(Label1);
    pagingRow->addWidget(RecordsCount);
    pagingRow->addWidget(Label2);
    pagingRow->addStretch(1);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(FilterLabel);
    filterRow->addWidget(FilterEdit, 1);
    filterRow->addWidget(ExportPage);
    auto* journalRow = new QHBoxLayout;
    journalRow->addWidget(ReadAllBtn);
    journalRow->addStretch(1);
    journalRow->addWidget(ExportAllPages);

    HistoryView = named(new QTableView(HistoryGroup), "HistoryView");
    HistoryView->setAccessibleName(QStringLiteral("Записи истории"));
    HistoryView->setModel(fModel);
    HistoryView->setShowGrid(true);
    HistoryView->setSelectionBehavior(QAbstractItemView::SelectRows);
    HistoryView->setSelectionMode(QAbstractItemView::SingleSelection);
    HistoryView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    HistoryView->setWordWrap(false);
    HistoryView->verticalHeader()->hide();
    HistoryView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    HistoryView->verticalHeader()->setDefaultSectionSize(HistoryView->fontMetrics().height() + 6);
    HistoryView->horizontalHeader()->setHighlightSections(false);
    HistoryView->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    // Said in the list's place when a read found the journal empty.
    EmptyNote = named(new QLabel(QStringLiteral("Журнал панели пуст: записей нет"), HistoryGroup), "EmptyNote");
    EmptyNote->setAlignment(Qt::AlignCenter);
    EmptyNote->hide();

    // A fourth row for the archive: the new records, an archived journal
    // and which one is on show.
    auto* archiveRow = new QHBoxLayout;
    archiveRow->addWidget(NewRecordsBtn);
    archiveRow->addWidget(ArchiveBtn);
    archiveRow->addWidget(ArchiveLabel, 1);

    auto* groupLayout = new QVBoxLayout(HistoryGroup);
    groupLayout->addLayout(pagingRow);
    groupLayout->addLayout(filterRow);
    groupLayout->addLayout(journalRow);
    groupLayout->addLayout(archiveRow);
    groupLayout->addWidget(EmptyNote);
    groupLayout->addWidget(HistoryView, 1);
    // The erase of the panel's journal stands apart, under the list, away
    // from the buttons that only read and show.
    auto* eraseRow = new QHBoxLayout;
    eraseRow->addStretch(1);
    eraseRow->addWidget(ClearBtn);
    groupLayout->addLayout(eraseRow);
    NameGroupBoxes(this);

    connect(BackBtn, &QPushButton::clicked, this, &THistoryFrame::BackBtnClick);
    connect(ForwardBtn, &QPushButton::clicked, this, &THistoryFrame::ForwardBtnClick);
    connect(ExportPage, &QPushButton::clicked, this, &THistoryFrame::ExportPageClick);
    connect(ExportAllPages, &QPushButton::clicked, this, &THistoryFrame::ExportAllPagesClick);
    connect(ClearBtn, &QPushButton::clicked, this, &THistoryFrame::ClearBtnClick);
    connect(ReadAllBtn, &QPushButton::clicked, this, &THistoryFrame::ReadAllBtnClick);
    connect(NewRecordsBtn, &QPushButton::clicked, this, &THistoryFrame::NewRecordsBtnClick);
    connect(ArchiveBtn, &QPushButton::clicked, this, &THistoryFrame::ArchiveBtnClick);
    connect(RecordsCount, &QComboBox::editTextChanged, this, &THistoryFrame::RecordsCountChange);
    connect(RecordsCount->lineEdit(), &QLineEdit::editingFinished, this, &THistoryFrame::RecordsCountEdited);
    connect(FilterEdit, &QLineEdit::textChanged, this, &THistoryFrame::FilterChanged);
}

void THistoryFrame::Init() {
    EnableButtons(true);
}

// ---- the page contract ----------------------------------------------------

void THistoryFrame::ReadPage() {
    RunOperation(wmRead, [this](QStringList& errors) {
        EnableButtons(false);
        fArchive->BeforePanelRead();
        const TJournalResult result = fReader->ReadPage();
        errors = result.Errors;
        ShowEmpty(result);
        EnableButtons(true);
    });
    TellArchiveError();
}

void THistoryFrame::WritePage() {}

void THistoryFrame::SetDefault() {
    RecordsCount->setCurrentIndex(0);
    RecordsCount->setEditText(kDefaultCount);
    fReader->SetDefault();
}

void THistoryFrame::SetSettings(const QStringList&) {}

void THistoryFrame::DevRelease(int) {
    EnableButtons(fEnabled);
}

void THistoryFrame::HostStateChanged(TOperationState state) {
    fHostState = state;
    fHostStateKnown = true;
    EnableButtons(fEnabled);
}

bool THistoryFrame::PanelReady() const {
    if (!fHost.isConnected())
        return false;
    return !fHostStateKnown || fHostState == TOperationState::Connected || IsOperation(fHostState);
}

void THistoryFrame::EnableButtons(bool enable) {
    fEnabled = enable;
    const bool paging = enable && !fModel->Filtering() && fModel->rowCount() > 0;
    const bool panel = enable && PanelReady();
    BackBtn->setEnabled(paging);
    ForwardBtn->setEnabled(paging);
    ExportPage->setEnabled(enable);
    ExportAllPages->setEnabled(enable);
    ClearBtn->setEnabled(panel);
    ReadAllBtn->setEnabled(panel);
    NewRecordsBtn->setEnabled(panel && fArchive->Available());
    ArchiveBtn->setEnabled(enable && fHost.PanelArchive() && !fReadingAll);
    RecordsCount->setEnabled(enable);
}

// ---- paging ---------------------------------------------------------------

void THistoryFrame::BackBtnClick() {
    Page(&TJournalReader::Back);
}

void THistoryFrame::ForwardBtnClick() {
    Page(&TJournalReader::Forward);
}

void THistoryFrame::Page(TJournalResult (TJournalReader::*step)(TJournalSource)) {
    // The buttons stay live while another of the page's exchanges waits;
    // a filtered list has no pages.
    if (FMode != wmNull || fReadingAll || fModel->Filtering())
        return;
    if (!PanelReady() || fArchive->Viewing()) {
        // What is stored can be paged through without a panel; an archived
        // run is not the connected panel's journal.
        ((*fReader).*step)(TJournalSource::Store);
        return;
    }
    {
        TOperationScope reading(fHost, TOperationState::ReadingJournal);
        if (!reading)
            return;
        FMode = wmRead;
        EnableButtons(false);
        fArchive->BeforePanelRead();
        const TJournalResult result = ((*fReader).*step)(TJournalSource::Panel);
        ShowEmpty(result);
        EnableButtons(true);
        if (!result.Errors.isEmpty())
            fHost.ShowErrorList(result.Errors, wmRead);
        FMode = wmNull;
    }
    TellArchiveError();
}

void THistoryFrame::RecordsCountChange(const QString& text) {
    if (IsCount(text)) {
        fReader->SetRecordsPerPage(text);
    } else if (CannotBecomeCount(text)) {
        // Letters: back to the first item at once.
        RecordsCountEdited();
    }
    // An empty box, zero or a number too big may still be typed into a
    // count: it goes back to the first item when the editing ends.
}

void THistoryFrame::RecordsCountEdited() {
    if (IsCount(RecordsCount->currentText()))
        return;
    const QSignalBlocker quiet(RecordsCount);
    RecordsCount->setCurrentIndex(0);
    RecordsCount->setEditText(kDefaultCount);
    fReader->SetRecordsPerPage(kDefaultCount);
}

// ---- the whole journal ----------------------------------------------------

void THistoryFrame::ReadAllBtnClick() {
    StartLongRead(ReadAllBusyText(), [this] { return fReader->StartReadAll(); });
}

void THistoryFrame::NewRecordsBtnClick() {
    if (!fArchive->Available()) {
        fHost.ShowMessage(ArchiveOff());
        return;
    }
    StartLongRead(NewRecordsBusyText(), [this] {
        TJournalRecorder* recorder = fArchive->Recorder();
        // Without the archive there is nothing to be new against.
        return recorder && fReader->StartReadFrom([recorder](int) { return recorder->FirstNewIndex(); });
    });
}

void THistoryFrame::StartLongRead(const QString& busyText, const std::function<bool()>& start) {
    if (FMode != wmNull || fReadingAll)
        return;
    if (!PanelReady()) {
        fHost.ShowMessage(NoPanel());
        return;
    }
    // The read runs from the event loop, chunk by chunk; the operation and
    // the busy indicator last until it has finished.
    if (!fHost.BeginOperation(TOperationState::ReadingJournal))
        return;
    FMode = wmRead;
    fReadingAll = true;
    fBusyText = busyText;
    EnableButtons(false);
    fHost.BeginBusy(busyText, true);
    fArchive->BeforePanelRead();
    if (!start()) {
        TJournalResult busy;
        busy.Busy = true;
        ReadAllFinished(busy);
    }
}

void THistoryFrame::ReadAllProgress(int done, int total, qint64 msLeft) {
    if (!fReadingAll)
        return;
    fHost.SetBusyProgress(done, total);
    fHost.SetBusyText(fBusyText + u'\n' + JournalProgressText(done, total, msLeft));
}

void THistoryFrame::ReadAllFinished(const TJournalResult& result) {
    if (!fReadingAll)
        return;
    fReadingAll = false;
    fHost.EndBusy();
    FMode = wmNull;
    fHost.EndOperation();
    ShowEmpty(result);
    EnableButtons(true);
    if (!result.Errors.isEmpty())
        fHost.ShowErrorList(result.Errors, wmRead);
    TellArchiveError();
}

// ---- the archive ------------------------------------------------------------

void THistoryFrame::TellArchiveError() {
    if (const QString error = fArchive->TakeError(); !error.isEmpty())
        fHost.ShowError(QStringLiteral("Архив не сохранил прочитанное: %1").arg(error));
}

void THistoryFrame::ArchiveBtnClick() {
    TPanelArchive* archive = fHost.PanelArchive();
    if (!archive || FMode != wmNull || fReadingAll)
        return;
    if (!archive->Enabled()) {
        fHost.ShowMessage(ArchiveOff());
        return;
    }
    TArchivePanelDialog dialog(*archive, fHost, this);
    if (dialog.exec() != QDialog::Accepted || dialog.PanelId() == 0)
        return;
    if (!fArchive->View(dialog.PanelId(), dialog.Object(), dialog.Run()))
        fHost.ShowError(fArchive->TakeError());
}

void THistoryFrame::ArchiveViewChanged() {
    ArchiveLabel->setText(fArchive->ViewText());
    ArchiveLabel->setVisible(fArchive->Viewing());
    EnableButtons(fEnabled);
}

void THistoryFrame::ShowEmpty(const TJournalResult& result) {
    EmptyNote->setVisible(result.Empty && result.Errors.isEmpty());
}

// ---- the erase ------------------------------------------------------------

void THistoryFrame::ClearBtnClick() {
    if (FMode != wmNull || fReadingAll)
        return;
    if (!PanelReady()) {
        fHost.ShowMessage(NoPanel());
        return;
    }
    if (!fHost.Confirm(EraseJournalQuestion))
        return;
    TOperationScope erasing(fHost, TOperationState::Erasing);
    if (!erasing)
        return;
    FMode = wmWrite;
    EnableButtons(false);
    TJournalResult result;
    {
        // The panel cannot stop an erase once begun: no Cancel. The wake-up
        // command would only queue up behind the erase's long answer.
        TBusyScope busy(fHost, EraseBusyText());
        THostWakeUp wakeUp(fHost);
        result = fReader->Erase(wakeUp);
    }
    EnableButtons(true);
    if (!result.Errors.isEmpty())
        fHost.ShowErrorList(result.Errors, wmWrite);
    FMode = wmNull;
}

// ---- the store follows the panel --------------------------------------------

void THistoryFrame::ForgetJournal() {
    fArchive->Forget();
    fReader->Forget();
}

void THistoryFrame::JournalErased() {
    if (fArchive->Viewing())
        fArchive->EndView();
    else
        fReader->JournalErased();
}

// ---- export ---------------------------------------------------------------

void THistoryFrame::ExportPageClick() {
    Export(fModel->ShownRows());
}

void THistoryFrame::ExportAllPagesClick() {
    Export(ExportRowList(FHistory, -1, -1));
}

void THistoryFrame::Export(const std::vector<int>& rows) {
    if (rows.empty()) {
        fHost.ShowMessage(NothingToExport());
        return;
    }
    TFileChoice choice;
    choice.Save = true;
    choice.Caption = QStringLiteral("Экспорт истории");
    choice.Filter = ExportFilter();
    choice.DefaultName =
        DefaultExportFileName(ExportObjectText(FHistory), QDate::currentDate(), TExportFormat::Xlsx);
    choice.DefaultSuffix = QStringLiteral("xlsx");
    const QString path = fHost.ChooseFile(choice);
    if (path.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const TExportResult result = ExportHistory(FHistory, rows, path);
    QGuiApplication::restoreOverrideCursor();
    if (!result.Ok) {
        fHost.ShowError(result.Error);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        fHost.ShowMessage(NotOpened(path));
}

// ---- the list -------------------------------------------------------------

void THistoryFrame::FilterChanged(const QString& text) {
    fModel->SetFilter(text);
    // Paging is off from the first key, before the list changes.
    EnableButtons(fEnabled);
}

void THistoryFrame::ModelReset() {
    HistoryView->resizeColumnsToContents();
    EnableButtons(fEnabled);
}
