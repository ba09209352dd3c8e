#include "SettingsCompareForm.h"

#include "pages/SettingsDifferenceModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TSettingsCompareForm::TSettingsCompareForm(const QString& path, std::vector<TSettingsDifference> rows,
                                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SettingsCompareForm"));
    setWindowTitle(QStringLiteral("Сравнение с файлом"));
    const bool same = rows.empty();
    fModel = new TSettingsDifferenceModel(std::move(rows), this);

    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    SummaryLabel->setWordWrap(true);
    SummaryLabel->setTextFormat(Qt::PlainText);
    SummaryLabel->setText(
        same ? QStringLiteral("Настройки в файле %1 совпадают с настройками на страницах.").arg(path)
             : QStringLiteral("Файл %1 отличается от настроек на страницах (%2). Загрузка файла заменит "
                              "значения на всех страницах настроек.")
                   .arg(path)
                   .arg(fModel->rowCount()));

    DifferencesView = new QTableView(this);
    DifferencesView->setObjectName(QStringLiteral("DifferencesView"));
    DifferencesView->setAccessibleName(QStringLiteral("Различия между страницами и файлом"));
    DifferencesView->setModel(fModel);
    DifferencesView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DifferencesView->setSelectionBehavior(QAbstractItemView::SelectRows);
    DifferencesView->setSelectionMode(QAbstractItemView::SingleSelection);
    DifferencesView->setWordWrap(false);
    DifferencesView->verticalHeader()->hide();
    DifferencesView->horizontalHeader()->setStretchLastSection(true);
    DifferencesView->resizeColumnsToContents();

    auto* buttons = new QDialogButtonBox(this);
    LoadFileButton = buttons->addButton(QStringLiteral("Загрузить этот файл"), QDialogButtonBox::AcceptRole);
    LoadFileButton->setObjectName(QStringLiteral("LoadFileButton"));
    // A file that holds what the pages hold has nothing to load.
    LoadFileButton->setEnabled(!same);
    CloseButton = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SummaryLabel);
    layout->addWidget(DifferencesView, 1);
    layout->addWidget(buttons);
    resize(720, 420);
}

void TSettingsCompareForm::SetTexts(const QString& title, const QString& summary,
                                    const QString& loadCaption) {
    setWindowTitle(title);
    SummaryLabel->setText(summary);
    LoadFileButton->setText(loadCaption);
    LoadFileButton->setVisible(!loadCaption.isEmpty());
    if (loadCaption.isEmpty())
        LoadFileButton->setEnabled(false);
}
