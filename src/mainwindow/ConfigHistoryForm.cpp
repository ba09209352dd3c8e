#include "ConfigHistoryForm.h"

#include "SettingsCompareForm.h"
#include "archive/PanelArchive.h"
#include "pages/PageHost.h"
#include "pages/SettingsDifferenceModel.h"
#include "pages/SettingsPages.h"
#include "pages/WriteComparison.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString LocalTime(const QDateTime& when) {
    return when.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

} // namespace

TConfigHistoryForm::TConfigHistoryForm(TPanelArchive& archive, IPageHost& host,
                                       std::vector<TPageModel*> pages, const QString& object, QWidget* parent)
    : QDialog(parent), fArchive(archive), fHost(host), fPages(std::move(pages)) {
    setObjectName(QStringLiteral("ConfigHistoryForm"));
    setWindowTitle(QStringLiteral("История настроек"));
    PanelLabel = new QLabel(QStringLiteral("Панель (номер объекта):"), this);
    PanelCombo = new QComboBox(this);
    PanelCombo->setObjectName(QStringLiteral("PanelCombo"));
    PanelLabel->setBuddy(PanelCombo);
    ConfigTable = new QTableWidget(0, 4, this);
    ConfigTable->setObjectName(QStringLiteral("ConfigTable"));
    ConfigTable->setAccessibleName(QStringLiteral("Настройки панели в архиве"));
    ConfigTable->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Время"),
                                            QStringLiteral("Действие"), QStringLiteral("Пользователь")});
    ConfigTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ConfigTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ConfigTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ConfigTable->verticalHeader()->hide();
    ConfigTable->horizontalHeader()->setStretchLastSection(true);
    CompareBtn = new QPushButton(QStringLiteral("Сравнить"), this);
    CompareBtn->setObjectName(QStringLiteral("CompareButton"));
    CompareBtn->setToolTip(QStringLiteral("Одни настройки — со страницами, двое — между собой"));
    LoadBtn = new QPushButton(QStringLiteral("Загрузить в страницы"), this);
    LoadBtn->setObjectName(QStringLiteral("LoadButton"));
    CloseBtn = new QPushButton(QStringLiteral("Закрыть"), this);
    CloseBtn->setObjectName(QStringLiteral("CloseButton"));

    auto* panelRow = new QHBoxLayout;
    panelRow->addWidget(PanelLabel);
    panelRow->addWidget(PanelCombo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CompareBtn);
    buttons->addWidget(LoadBtn);
    buttons->addStretch(1);
    buttons->addWidget(CloseBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panelRow);
    layout->addWidget(ConfigTable, 1);
    layout->addLayout(buttons);
    resize(600, 360);

    if (fArchive.Open()) {
        if (const auto panels = fArchive.Archive().Panels())
            fPanels = *panels;
        else
            fHost.ShowError(fArchive.Archive().Error());
    } else if (!fArchive.Error().isEmpty()) {
        fHost.ShowError(fArchive.Error());
    }
    for (const TArchivePanel& panel : fPanels)
        PanelCombo->addItem(panel.Object, panel.Id);
    const int chosen = PanelCombo->findText(object);
    PanelCombo->setCurrentIndex(chosen >= 0 ? chosen : 0);

    connect(PanelCombo, &QComboBox::currentIndexChanged, this, &TConfigHistoryForm::PanelChosen);
    connect(ConfigTable, &QTableWidget::itemSelectionChanged, this, &TConfigHistoryForm::SelectionChanged);
    connect(CompareBtn, &QPushButton::clicked, this, &TConfigHistoryForm::CompareClicked);
    connect(LoadBtn, &QPushButton::clicked, this, &TConfigHistoryForm::LoadClicked);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    PanelChosen();
}

QString TConfigHistoryForm::Describe(const TArchivedConfig& config) {
    return QStringLiteral("настройки %1 (%2, %3, %4)")
        .arg(config.Number)
        .arg(LocalTime(config.SavedAt), ConfigDirectionText(config.Direction), config.User);
}

void TConfigHistoryForm::PanelChosen() {
    fConfigs.clear();
    ConfigTable->setRowCount(0);
    if (PanelCombo->currentIndex() >= 0 && fArchive.Open()) {
        if (const auto configs = fArchive.Configs().List(PanelCombo->currentData().toLongLong()))
            fConfigs = *configs;
        else
            fHost.ShowError(fArchive.Configs().Error());
    }
    ConfigTable->setRowCount(int(fConfigs.size()));
    for (int row = 0; row < fConfigs.size(); ++row) {
        const TArchivedConfig& c = fConfigs.at(row);
        const QStringList cells{QString::number(c.Number), LocalTime(c.SavedAt),
                                ConfigDirectionText(c.Direction), c.User};
        for (int column = 0; column < cells.size(); ++column)
            ConfigTable->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    ConfigTable->resizeColumnsToContents();
    if (!fConfigs.isEmpty())
        ConfigTable->selectRow(int(fConfigs.size()) - 1);
    SelectionChanged();
}

QList<int> TConfigHistoryForm::ChosenRows() const {
    QList<int> rows;
    for (const QModelIndex& index : ConfigTable->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TConfigHistoryForm::SelectionChanged() {
    const qsizetype chosen = ChosenRows().size();
    CompareBtn->setEnabled(chosen == 1 || chosen == 2);
    LoadBtn->setEnabled(chosen == 1);
}

void TConfigHistoryForm::CompareClicked() {
    const QList<int> rows = ChosenRows();
    if (rows.size() == 1) {
        const TArchivedConfig& config = fConfigs.at(rows.first());
        TSettingsCompareForm form(Describe(config),
                                  CompareWithFile(fHost, fPages, TComparedSide::Written, config.Lines), this);
        const bool same = form.Model()->rowCount() == 0;
        form.SetTexts(
            QStringLiteral("Сравнение с архивом"),
            same ? QStringLiteral("%1 совпадают с настройками на страницах.").arg(Describe(config))
                 : QStringLiteral("Отличия настроек на страницах от архива, %1. Загрузка заменит значения "
                                  "на всех страницах настроек.")
                       .arg(Describe(config)),
            same ? QString() : QStringLiteral("Загрузить эти настройки"));
        if (form.exec() == QDialog::Accepted)
            LoadPageSettings(fPages, config.Lines);
    } else if (rows.size() == 2) {
        const TArchivedConfig& older = fConfigs.at(rows.first());
        const TArchivedConfig& newer = fConfigs.at(rows.last());
        TSettingsCompareForm form(
            Describe(newer),
            CompareFiles(fHost, fPages, older.Lines, newer.Lines), this);
        form.SetTexts(QStringLiteral("Сравнение настроек из архива"),
                      QStringLiteral("Слева %1, справа %2.").arg(Describe(older), Describe(newer)),
                      QString());
        form.exec();
    }
}

void TConfigHistoryForm::LoadClicked() {
    const QList<int> rows = ChosenRows();
    if (rows.size() != 1)
        return;
    LoadPageSettings(fPages, fConfigs.at(rows.first()).Lines);
    accept();
}
