#include "SMSFrameUnit.h"

#include "Accessibility.h"
#include "CellEditDelegate.h"
#include "KeptValue.h"
#include "SMSCodec.h"
#include "SMSTextFile.h"
#include "StringFuncs.h"

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

TSMSFrame::TSMSFrame(IPageHost& host, QWidget* parent) : TPageFrame(host, ptSMS, parent) {
    setObjectName(QStringLiteral("SMSFrame"));
    BuildControls();
    DescribeParams();
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

void TSMSFrame::DescribeParams() {
    for (int r = 1; r <= SMSCount; ++r) {
        TPageField& text = fParams.Text(QStringLiteral("SMS%1").arg(r),
                                        {
                                            .GetText = [this, r] { return Text(r); },
                                            .SetText = [this, r](const QString& t) { SetText(r, t); },
                                        },
                                        SMSPurpose(r));
        // The grid's text column, in the row of its number and purpose.
        text.Caption =
            QStringLiteral("%1 %2 (%3)").arg(SMSGridHeader().at(kTextColumn)).arg(r).arg(SMSPurpose(r));
        fParams.TextParam(SMSReadCommand(r), SMSReadErrorName(r), text, SMSWriteErrorName(r));
    }
}

void TSMSFrame::FillGrid() {
    SMSGrid->setHorizontalHeaderLabels(SMSGridHeader());
    for (int r = 1; r <= SMSCount; ++r) {
        SMSGrid->item(r - 1, kNumberColumn)->setText(QString::number(r));
        SMSGrid->item(r - 1, kPurposeColumn)->setText(SMSPurpose(r));
    }
}

void TSMSFrame::Init() {
    SetDefault();
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
    const QTableWidgetItem* item = SMSGrid->item(r - 1, kTextColumn);
    return item ? item->text() : QString();
}

void TSMSFrame::SetText(int r, const QString& text) const {
    EndCellEdit();
    if (QTableWidgetItem* item = SMSGrid->item(r - 1, kTextColumn))
        item->setText(text);
}

void TSMSFrame::WritePage() {
    RunOperation(wmWrite, [this](QStringList& errors) {
        TPanelExchange& exchange = fHost.Exchange();
        for (const TPageParam& p : fParams.Params()) {
            const QString text = p.Encode().value_or(QString());
            if (!text.isEmpty()) {
                TParamTable::WriteParam(exchange, p, errors);
                continue;
            }
            // An empty text makes the write the read command: the panel
            // answers with the text it keeps, and has not taken the empty
            // one.
            QStringList answer;
            const qsizetype before = errors.size();
            exchange.ReadParamFromDevice(p.WriteCommandName(), answer, errors, p.WriteErrorName(),
                                         QStringLiteral("OK"), p.TimeOut);
            if (errors.size() != before)
                continue;
            if (const std::optional<QString> kept = KeptValueAfterWrite(text, answer))
                errors.append(KeptValueErrorName(p.WriteErrorName(), *kept));
        }
    });
}

void TSMSFrame::TranslateButtonClick() {
    // The buttons stay live while this page waits for the panel.
    if (FMode != wmNull)
        return;
    for (int r = 1; r <= SMSCount; ++r)
        SetText(r, TranslitToLatin(Text(r)));
}

void TSMSFrame::LoadButtonClick() {
    if (FMode != wmNull)
        return;
    const QString path = fHost.ChooseFile(SMSFileChoice(false, LoadButton->text()));
    if (path.isEmpty())
        return;
    const TSMSFileResult file = ReadSMSFile(path);
    if (!file.Ok) {
        fHost.ShowError(file.Error);
        return;
    }
    for (int r = 1; r <= SMSCount; ++r)
        SetText(r, file.Texts.at(r - 1));
}

void TSMSFrame::SaveButtonClick() {
    if (FMode != wmNull)
        return;
    QStringList texts;
    for (int r = 1; r <= SMSCount; ++r)
        texts.append(Text(r));
    const QString path = fHost.ChooseFile(SMSFileChoice(true, SaveButton->text()));
    if (path.isEmpty())
        return;
    QString error;
    if (!WriteSMSFile(path, texts, &error))
        fHost.ShowError(error);
}
