#include "ArchivePanelDialog.h"

#include "PageHost.h"
#include "archive/PanelArchive.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QString LocalTime(const QDateTime& when) {
    return when.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}
} // namespace

TArchivePanelDialog::TArchivePanelDialog(TPanelArchive& archive, IPageHost& host, QWidget* parent)
    : QDialog(parent), fArchive(archive), fHost(host) {
    setObjectName(QStringLiteral("ArchivePanelDialog"));
    setWindowTitle(QStringLiteral("Архив"));
    PathLabel =
        new QLabel(QStringLiteral("Файл архива: %1").arg(QDir::toNativeSeparators(archive.Path())), this);
    PathLabel->setObjectName(QStringLiteral("PathLabel"));
    PathLabel->setTextFormat(Qt::PlainText);
    PanelTable = new QTableWidget(0, 6, this);
    PanelTable->setObjectName(QStringLiteral("PanelTable"));
    PanelTable->setAccessibleName(QStringLiteral("Панели в архиве"));
    PanelTable->setHorizontalHeaderLabels({QStringLiteral("Объект"), QStringLiteral("Версия"),
                                           QStringLiteral("Память"), QStringLiteral("Подключение"),
                                           QStringLiteral("Записей журнала"), QStringLiteral("Настроек")});
    PanelTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    PanelTable->setSelectionMode(QAbstractItemView::SingleSelection);
    PanelTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PanelTable->verticalHeader()->hide();
    RunLabel = new QLabel(QStringLiteral("Серия журнала:"), this);
    RunCombo = new QComboBox(this);
    RunCombo->setObjectName(QStringLiteral("RunCombo"));
    RunLabel->setBuddy(RunCombo);
    ShowButton = new QPushButton(QStringLiteral("Показать"), this);
    ShowButton->setObjectName(QStringLiteral("ShowButton"));
    ShowButton->setDefault(true);
    RemoveButton = new QPushButton(QStringLiteral("Удалить из архива"), this);
    RemoveButton->setObjectName(QStringLiteral("RemoveButton"));
    CloseButton = new QPushButton(QStringLiteral("Закрыть"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));

    auto* runRow = new QHBoxLayout;
    runRow->addWidget(RunLabel);
    runRow->addWidget(RunCombo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(RemoveButton);
    buttons->addStretch(1);
    buttons->addWidget(ShowButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PathLabel);
    layout->addWidget(PanelTable, 1);
    layout->addLayout(runRow);
    layout->addLayout(buttons);
    resize(720, 360);

    connect(PanelTable, &QTableWidget::itemSelectionChanged, this, &TArchivePanelDialog::PanelChosen);
    connect(ShowButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(RemoveButton, &QPushButton::clicked, this, &TArchivePanelDialog::RemoveClicked);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

QString TArchivePanelDialog::RemoveQuestion(const TArchivePanel& panel) {
    return QStringLiteral(
               "Удалить из архива панель %1: записей журнала %2, настроек %3? Удалённое не вернуть.")
        .arg(panel.Object)
        .arg(panel.Records)
        .arg(panel.Configurations);
}

void TArchivePanelDialog::Refresh() {
    fPanels.clear();
    PanelTable->setRowCount(0);
    if (fArchive.Open()) {
        if (const auto panels = fArchive.Archive().Panels())
            fPanels = *panels;
        else
            fHost.ShowError(fArchive.Archive().Error());
    } else if (!fArchive.Error().isEmpty()) {
        fHost.ShowError(fArchive.Error());
    }
    PanelTable->setRowCount(int(fPanels.size()));
    for (int row = 0; row < fPanels.size(); ++row) {
        const TArchivePanel& p = fPanels.at(row);
        const QStringList cells{p.Object,
                                p.VersionLine,
                                p.Memory,
                                LocalTime(p.LastSeen),
                                QStringLiteral("%1 (серий %2)").arg(p.Records).arg(p.Runs),
                                QString::number(p.Configurations)};
        for (int column = 0; column < cells.size(); ++column)
            PanelTable->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    PanelTable->resizeColumnsToContents();
    if (!fPanels.isEmpty())
        PanelTable->selectRow(0);
    PanelChosen();
}

const TArchivePanel* TArchivePanelDialog::Chosen() const {
    const int row = PanelTable->currentRow();
    return row >= 0 && row < fPanels.size() && PanelTable->selectionModel()->hasSelection() ? &fPanels.at(row)
                                                                                            : nullptr;
}

void TArchivePanelDialog::PanelChosen() {
    RunCombo->clear();
    const TArchivePanel* panel = Chosen();
    if (panel && fArchive.Open()) {
        const QList<int> runs = fArchive.Journal().Runs(panel->Id).value_or(QList<int>{});
        // The newest run first.
        for (auto it = runs.crbegin(); it != runs.crend(); ++it)
            RunCombo->addItem(QString::number(*it), *it);
    }
    ShowButton->setEnabled(RunCombo->count() > 0);
    RemoveButton->setEnabled(panel != nullptr);
    RunCombo->setEnabled(RunCombo->count() > 0);
}

void TArchivePanelDialog::RemoveClicked() {
    const TArchivePanel* panel = Chosen();
    if (!panel || !fHost.Confirm(RemoveQuestion(*panel)))
        return;
    if (!fArchive.Archive().RemovePanel(panel->Object))
        fHost.ShowError(fArchive.Archive().Error());
    Refresh();
}

qint64 TArchivePanelDialog::PanelId() const {
    const TArchivePanel* panel = Chosen();
    return panel ? panel->Id : 0;
}

QString TArchivePanelDialog::Object() const {
    const TArchivePanel* panel = Chosen();
    return panel ? panel->Object : QString();
}

int TArchivePanelDialog::Run() const {
    return RunCombo->currentData().toInt();
}
