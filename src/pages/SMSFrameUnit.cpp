#include "SMSFrameUnit.h"

#include "Accessibility.h"
#include "CellEditDelegate.h"
#include "SMSCodec.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kNumberColumn = 0;
constexpr int kPurposeColumn = 1;
constexpr int kTextColumn = 2;

// The SMS text file's dialogs offer every file and add no extension.
TFileChoice SMSFileChoice(bool save, const QString& caption) {
    TFileChoice choice;
    choice.Save = save;
    choice.Caption = caption;
    return choice;
}

} // namespace

TSMSFrame::TSMSFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptSMS, parent), fPage(new TSMSPage(host)) {
    setObjectName(QStringLiteral("SMSFrame"));
    SetPageModel(fPage);
    BuildControls();
    for (int r = 1; r <= SMSCount; ++r)
        ShowText(r);
    connect(fPage, &TPageModel::FieldChanged, this, [this](const TPageField* field) {
        for (int r = 1; r <= SMSCount; ++r) {
            if (field == fPage->Text(r))
                ShowText(r);
        }
    });
    connect(SMSGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == kTextColumn)
            TakeText(item->row() + 1, item->text());
    });
    CellDelegate->OnTyped = [this](const QModelIndex& index, const QString& text) {
        if (index.column() == kTextColumn)
            TakeText(index.row() + 1, text);
    };
}

void TSMSFrame::BuildControls() {
    SMSSetGroup = new QGroupBox(QStringLiteral("Настройки СМС"), this);
    SMSSetGroup->setObjectName(QStringLiteral("SMSSetGroup"));
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(SMSSetGroup);

    // The heading row is the grid's header; the number and the purpose
    // columns are fixed, only the texts are edited, in place.
    SMSGrid = new QTableWidget(SMSCount, 3, SMSSetGroup);
    SMSGrid->setObjectName(QStringLiteral("SMSGrid"));
    SMSGrid->setAccessibleName(QStringLiteral("Тексты СМС"));
    SMSGrid->setHorizontalHeaderLabels(SMSGridHeader());
    SMSGrid->verticalHeader()->hide();
    SMSGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SMSGrid->horizontalHeader()->setStretchLastSection(false);
    SMSGrid->horizontalHeader()->setSectionsClickable(false);
    SMSGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SMSGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SMSGrid->setShowGrid(true);
    CellDelegate = new TCellEditDelegate(SMSGrid);
    SMSGrid->setItemDelegate(CellDelegate);
    SMSGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    SMSGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    for (int row = 0; row < SMSCount; ++row) {
        for (int column : {kNumberColumn, kPurposeColumn}) {
            auto* fixed = new QTableWidgetItem;
            fixed->setFlags(Qt::ItemIsEnabled);
            fixed->setBackground(palette().button());
            fixed->setForeground(palette().buttonText());
            SMSGrid->setItem(row, column, fixed);
        }
        SMSGrid->item(row, kNumberColumn)->setTextAlignment(Qt::AlignCenter);
        SMSGrid->setItem(row, kTextColumn, new QTableWidgetItem);
    }
    // Every row in sight, no scrolling.
    SMSGrid->setFixedHeight(SMSGrid->horizontalHeader()->sizeHint().height() +
                            SMSCount * SMSGrid->verticalHeader()->defaultSectionSize() +
                            2 * SMSGrid->frameWidth());
    SMSGrid->viewport()->installEventFilter(this);

    TranslateButton = new QPushButton(QStringLiteral("Перевести СМС на латиницу"), SMSSetGroup);
    TranslateButton->setObjectName(QStringLiteral("TranslateButton"));
    LoadButton = new QPushButton(QStringLiteral("Загрузить СМС"), SMSSetGroup);
    LoadButton->setObjectName(QStringLiteral("LoadButton"));
    SaveButton = new QPushButton(QStringLiteral("Сохранить СМС"), SMSSetGroup);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(TranslateButton);
    buttons->addStretch();
    buttons->addWidget(LoadButton);
    buttons->addWidget(SaveButton);
    auto* groupLayout = new QVBoxLayout(SMSSetGroup);
    groupLayout->addWidget(SMSGrid);
    groupLayout->addLayout(buttons);
    groupLayout->addStretch();

    NameGroupBoxes(this);
    connect(TranslateButton, &QPushButton::clicked, this, &TSMSFrame::TranslateButtonClick);
    connect(LoadButton, &QPushButton::clicked, this, &TSMSFrame::LoadButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TSMSFrame::SaveButtonClick);
}

void TSMSFrame::FillGrid() {
    SMSGrid->setHorizontalHeaderLabels(SMSGridHeader());
    for (int r = 1; r <= SMSCount; ++r) {
        SMSGrid->item(r - 1, kNumberColumn)->setText(QString::number(r));
        SMSGrid->item(r - 1, kPurposeColumn)->setText(SMSPurpose(r));
    }
}

void TSMSFrame::Init() {
    FillGrid();
    TPageFrame::Init();
    FrameResize();
}

void TSMSFrame::SetDefault() {
    FillGrid();
    TPageFrame::SetDefault();
    FrameResize();
}

void TSMSFrame::FrameResize() {
    SMSGrid->setColumnWidth(kNumberColumn, SMSNumberColumnWidth);
    const int text = SMSTextColumnWidth(SMSGrid->viewport()->width());
    SMSGrid->setColumnWidth(kPurposeColumn, text);
    SMSGrid->setColumnWidth(kTextColumn, text);
}

bool TSMSFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SMSGrid->viewport() && event->type() == QEvent::Resize)
        FrameResize();
    return TPageFrame::eventFilter(watched, event);
}

void TSMSFrame::EndCellEdit() const {
    CellDelegate->FinishEdit();
}

QString TSMSFrame::Text(int r) const {
    EndCellEdit();
    return fPage->TextOf(r);
}

void TSMSFrame::WritePage() {
    // The page has what is being typed already; the editor closes as it
    // would when the user leaves the cell.
    EndCellEdit();
    TPageFrame::WritePage();
}

void TSMSFrame::ShowText(int r) {
    if (fTaking)
        return;
    QTableWidgetItem* item = SMSGrid->item(r - 1, kTextColumn);
    if (!item)
        return;
    fShowing = true;
    // An editor left open would put its text back over this one when it
    // closes.
    EndCellEdit();
    item->setText(fPage->TextOf(r));
    fShowing = false;
}

void TSMSFrame::TakeText(int r, const QString& text) {
    if (fShowing || !fPage->Text(r))
        return;
    fTaking = true;
    fPage->EditText(*fPage->Text(r), text);
    fTaking = false;
}

void TSMSFrame::TranslateButtonClick() {
    // The buttons stay live while this page waits for the panel.
    if (Mode() != wmNull)
        return;
    fPage->Transliterate();
}

void TSMSFrame::LoadButtonClick() {
    if (Mode() != wmNull)
        return;
    const QString path = fHost.ChooseFile(SMSFileChoice(false, LoadButton->text()));
    if (!path.isEmpty())
        fPage->LoadTextFile(path);
}

void TSMSFrame::SaveButtonClick() {
    if (Mode() != wmNull)
        return;
    const QString path = fHost.ChooseFile(SMSFileChoice(true, SaveButton->text()));
    if (!path.isEmpty())
        fPage->SaveTextFile(path);
}
