#include "ChannelsFrameUnit.h"

#include "Accessibility.h"
#include "ChannelIcons.h"
#include "FieldBindings.h"
#include "KeyFilter.h"
#include "RedWhenInvalid.h"
#include "TypedText.h"
#include "panel/PanelExchange.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

const QString OK = QStringLiteral("OK");
const QString PhoneChars = QStringLiteral("0123456789+");

// The header's sections: caption and the width it starts with.
struct TSection {
    const char* Caption;
    int Width;
};
constexpr TSection Sections[] = {{"Порядок", 100}, {"Телефон", 300}, {"Тип передачи данных", 400}};
enum { scOrder, scPhone, scChannel };

// Room between a column's edge and its controls.
constexpr int Gap = 5;

bool PhoneAsTyped(const QString& text) {
    return TypedTextAllowed(text, PhoneChars, TDirectionRec::kPhoneMax);
}

} // namespace

TChannelsFrame::TChannelsFrame(IPageHost& host, QWidget* parent) : TPageFrame(host, ptChannels, parent) {
    setObjectName(QStringLiteral("ChannelsFrame"));
    // The controls' change handlers stay quiet while they are being built.
    fShowing = true;
    BuildControls();
    DescribeParams();
    fShowing = false;
    LayoutColumns();
    ShowState();
}

QString TChannelsFrame::EraseBusyText() {
    return QStringLiteral("Очистка истории прибора: ожидание ответа панели (до %1 с)")
        .arg(ChannelsWire::EraseTimeOut / 1000);
}

void TChannelsFrame::BuildControls() {
    const auto named = [](auto* w, const QString& name) {
        w->setObjectName(name);
        return w;
    };

    ScrollBox = named(new QScrollArea(this), QStringLiteral("ScrollBox"));
    ScrollBox->setFrameShape(QFrame::NoFrame);
    ScrollBox->setWidgetResizable(true);
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(ScrollBox);

    ChannelsGroupBox =
        named(new QGroupBox(QStringLiteral("Телефоны ПЦН")), QStringLiteral("ChannelsGroupBox"));
    ScrollBox->setWidget(ChannelsGroupBox);

    GPRSOnlineCheckBox = named(new QCheckBox(QStringLiteral("Включить GPRS-online"), ChannelsGroupBox),
                               QStringLiteral("GPRSOnlineCheckBox"));

    HeaderSections = new QStandardItemModel(0, int(std::size(Sections)), this);
    HeaderControl1 =
        named(new QHeaderView(Qt::Horizontal, ChannelsGroupBox), QStringLiteral("HeaderControl1"));
    HeaderControl1->setModel(HeaderSections);
    HeaderControl1->setDefaultAlignment(Qt::AlignCenter);
    HeaderControl1->setSectionsClickable(false);
    HeaderControl1->setStretchLastSection(false);
    HeaderControl1->setSectionResizeMode(QHeaderView::Interactive);
    HeaderControl1->setMinimumSectionSize(2 * Gap);
    for (int s = 0; s < int(std::size(Sections)); ++s)
        HeaderSections->setHeaderData(s, Qt::Horizontal, QString::fromUtf8(Sections[s].Caption));
    HeaderControl1->setFixedHeight(HeaderControl1->sizeHint().height());

    PPanel = named(new QWidget(ChannelsGroupBox), QStringLiteral("PPanel"));
    BuildRows();

    MoveGroup = named(new QGroupBox(QStringLiteral("Тип перехода по направлениям"), ChannelsGroupBox),
                      QStringLiteral("MoveGroup"));
    MoveButtons = new QButtonGroup(MoveGroup);
    auto* moveLayout = new QVBoxLayout(MoveGroup);
    const QString moveItems[] = {
        QStringLiteral(
            "Оставаться в текущем направлении до передачи всех событий и не переходить на следующее"),
        QStringLiteral(
            "Переходить на следующее направление в случае невозможности передачи события в текущем"),
    };
    for (int id = 0; id < int(std::size(moveItems)); ++id) {
        auto* item =
            named(new QRadioButton(moveItems[id], MoveGroup), QStringLiteral("MoveGroupItem%1").arg(id));
        MoveButtons->addButton(item, id);
        moveLayout->addWidget(item);
    }

    auto* groupLayout = new QVBoxLayout(ChannelsGroupBox);
    groupLayout->addWidget(GPRSOnlineCheckBox);
    groupLayout->addWidget(HeaderControl1);
    groupLayout->addWidget(PPanel);
    groupLayout->addWidget(MoveGroup);
    groupLayout->addStretch(1);

    NameGroupBoxes(this);

    connect(GPRSOnlineCheckBox, &QCheckBox::toggled, this, &TChannelsFrame::GPRSOnlineCheckBoxClick);
    connect(HeaderControl1, &QHeaderView::sectionResized, this, &TChannelsFrame::LayoutColumns);
    connect(MoveButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !fShowing)
            fState.Move = id;
    });
}

void TChannelsFrame::BuildRows() {
    for (int i = 0; i < kRows; ++i) {
        const int r = i + 1;
        Label[i] = new QLabel(DirectionLabel(1), PPanel);
        Label[i]->setObjectName(QStringLiteral("Label%1").arg(r));
        Label[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        PhoneEdit[i] = new QLineEdit(PPanel);
        PhoneEdit[i]->setObjectName(QStringLiteral("PhoneEdit%1").arg(r));
        PhoneEdit[i]->setAccessibleName(QStringLiteral("Телефон %1").arg(r));
        PhoneEdit[i]->setAutoFillBackground(true);
        TKeyFilter::Install(PhoneEdit[i], PhoneChars, TDirectionRec::kPhoneMax);
        // A phone from a file may be longer than the panel keeps, or hold
        // characters that cannot be typed: it is written cut to 30.
        RedWhenInvalid(PhoneEdit[i], PhoneAsTyped);
        Label[i]->setBuddy(PhoneEdit[i]);

        ChannelCombo[i] = new QComboBox(PPanel);
        ChannelCombo[i]->setObjectName(QStringLiteral("ChannelCombo%1").arg(r));
        ChannelCombo[i]->setAccessibleName(QStringLiteral("Тип передачи данных %1").arg(r));
        ChannelCombo[i]->setIconSize(QSize(16, 16));
        ChannelCombo[i]->setProperty("Row", r);

        connect(PhoneEdit[i], &QLineEdit::textChanged, this,
                [this, r](const QString& text) { PhoneEdit1Change(r, text); });
        connect(ChannelCombo[i], &QComboBox::currentIndexChanged, this,
                [this, r](int item) { ChannelCombo1Change(r, item); });
    }
    for (int i = 0; i < kLinks; ++i) {
        const int k = i + 1;
        LogicPanel[i] = new QWidget(PPanel);
        LogicPanel[i]->setObjectName(QStringLiteral("LogicPanel%1").arg(k));
        LogicAND[i] = new QRadioButton(QStringLiteral("И"), LogicPanel[i]);
        LogicAND[i]->setObjectName(QStringLiteral("LogicAND%1").arg(k));
        LogicAND[i]->setAccessibleName(QStringLiteral("И между строками %1 и %2").arg(k).arg(k + 1));
        LogicOR[i] = new QRadioButton(QStringLiteral("ИЛИ"), LogicPanel[i]);
        LogicOR[i]->setObjectName(QStringLiteral("LogicOR%1").arg(k));
        LogicOR[i]->setAccessibleName(QStringLiteral("ИЛИ между строками %1 и %2").arg(k).arg(k + 1));
        LogicOR[i]->setChecked(true);
        for (QRadioButton* b : {LogicAND[i], LogicOR[i]})
            b->resize(b->sizeHint());
        connect(LogicAND[i], &QRadioButton::toggled, this,
                [this, k](bool checked) { LogicAND1Click(k, checked); });
    }

    // Every list is filled once to learn how wide the widest caption is.
    FillChannelLists();
    int comboWidth = 0;
    for (const TChannelTable table : {TChannelTable::A, TChannelTable::C}) {
        ChannelCombo[0]->clear();
        for (const TChannelItem& item : ChannelItems(table))
            ChannelCombo[0]->addItem(ChannelIcon(item.Image), item.Caption);
        comboWidth = std::max(comboWidth, ChannelCombo[0]->sizeHint().width());
    }
    fShownTable.reset();

    fRowHeight = std::max(ChannelCombo[0]->sizeHint().height(), PhoneEdit[0]->sizeHint().height()) + 2;
    fLinkHeight = std::max(LogicAND[0]->sizeHint().height(), LogicOR[0]->sizeHint().height());

    // The columns start at their own widths, but never narrower than what
    // they show.
    const int labelWidth = Label[0]->fontMetrics().horizontalAdvance(DirectionLabel(8)) + 2 * Gap;
    const int minimum[] = {labelWidth, 0, comboWidth + Gap};
    for (int s = 0; s < int(std::size(Sections)); ++s)
        HeaderControl1->resizeSection(s, std::max(Sections[s].Width, minimum[s]));
}

void TChannelsFrame::DescribeParams() {
    using namespace ChannelsWire;
    fOnlineParam = &fParams.Param({
        .Command = GprsOnlineCommand,
        .ReadName = GprsOnlineReadError,
        .Decode =
            [this](const QString& value) {
                // A value that is no number is a failed read, listed.
                const std::optional<bool> on = ApplyGprsOnlineValue(value);
                if (!on)
                    return false;
                SetGprsOnline(fState, *on);
                ShowState();
                return true;
            },
        .WriteName = GprsOnlineWriteError,
    });
    for (int i = 0; i < kRows; ++i) {
        fEntryParams[i] = &fParams.Param({
            .Command = EntryReadCommand(i),
            .ReadName = EntryReadError(i),
            .WriteName = EntryWriteError(i),
            .DecodeAnswer =
                [this, i](const QStringList& lines) {
                    const std::optional<TDirectionRec> rec = ParseDirectionAnswer(lines);
                    if (!rec)
                        return false;
                    FDirection[i] = *rec;
                    return true;
                },
        });
    }
    fMoveParam = &fParams.Param({
        .Command = MoveCommand,
        .ReadName = MoveError,
        .Decode =
            [this](const QString& value) {
                fState.Move = ApplyMoveValue(value);
                return true;
            },
    });
}

void TChannelsFrame::Init() {
    LayoutColumns();
    ShowState();
}

void TChannelsFrame::LayoutColumns() {
    const auto left = [this](int s) { return HeaderControl1->sectionPosition(s) + Gap; };
    const auto width = [this](int s) { return std::max(0, HeaderControl1->sectionSize(s) - Gap); };
    const int editHeight = PhoneEdit[0]->sizeHint().height();
    int y = 0;
    for (int i = 0; i < kRows; ++i) {
        Label[i]->setGeometry(left(scOrder), y, width(scOrder), fRowHeight);
        PhoneEdit[i]->setGeometry(left(scPhone), y + (fRowHeight - editHeight) / 2, width(scPhone),
                                  editHeight);
        ChannelCombo[i]->setGeometry(left(scChannel), y, width(scChannel), fRowHeight);
        y += fRowHeight;
        if (i == kLinks)
            break;
        LogicPanel[i]->setGeometry(left(scPhone), y, width(scPhone), fLinkHeight);
        const int middle = width(scPhone) / 2;
        LogicAND[i]->move(middle - LogicAND[i]->width() - Gap, 0);
        LogicOR[i]->move(middle + Gap, 0);
        y += fLinkHeight;
    }
    PPanel->setFixedSize(HeaderControl1->length() + Gap, y);
    HeaderControl1->setMinimumWidth(HeaderControl1->length());
}

void TChannelsFrame::FillChannelLists() {
    if (fShownTable == fState.Table)
        return;
    const QList<TChannelItem>& items = ChannelItems(fState.Table);
    for (QComboBox* combo : ChannelCombo) {
        combo->clear();
        for (const TChannelItem& item : items)
            combo->addItem(ChannelIcon(item.Image), item.Caption);
    }
    fShownTable = fState.Table;
}

void TChannelsFrame::ShowState() {
    // The controls' change handlers see fShowing and leave the state alone.
    const bool nested = fShowing;
    fShowing = true;
    FillChannelLists();
    for (int i = 0; i < kRows; ++i) {
        const TChannelRow& row = fState.Rows[i];
        ChannelCombo[i]->setCurrentIndex(row.Item >= 0 && row.Item < ChannelCombo[i]->count() ? row.Item
                                                                                              : -1);
        if (PhoneEdit[i]->text() != row.Phone)
            Bind(PhoneEdit[i]).SetText(row.Phone);
    }
    GPRSOnlineCheckBox->setChecked(fState.GprsOnline);
    for (int i = 0; i < kLinks; ++i)
        (fState.LinkAnd[i] ? LogicAND[i] : LogicOR[i])->setChecked(true);
    if (QAbstractButton* move = MoveButtons->button(fState.Move))
        move->setChecked(true);
    NumberDirections();
    fShowing = nested;
}

void TChannelsFrame::NumberDirections() {
    const TRowDirections numbers = RowDirections(fState);
    for (int r = 1; r <= kRows; ++r)
        MarkRow(r, numbers[r - 1]);
}

void TChannelsFrame::MarkRow(int r, int n) {
    const TRgb colour = DirectionColour(n);
    QLineEdit* edit = PhoneEdit[r - 1];
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QColor(colour.R, colour.G, colour.B));
    edit->setPalette(palette);
    Label[r - 1]->setText(DirectionLabel(n));
}

void TChannelsFrame::GPRSOnlineCheckBoxClick(bool checked) {
    if (fShowing)
        return;
    SetGprsOnline(fState, checked);
    ShowState();
}

void TChannelsFrame::ChannelCombo1Change(int r, int item) {
    if (fShowing)
        return;
    ChooseChannel(fState, r, item);
    ShowState();
}

void TChannelsFrame::LogicAND1Click(int k, bool checked) {
    if (fShowing)
        return;
    fState.LinkAnd[k - 1] = checked;
    NumberDirections();
}

void TChannelsFrame::PhoneEdit1Change(int r, const QString& text) {
    if (!fShowing)
        fState.Rows[r - 1].Phone = text;
}

void TChannelsFrame::DevRelease(int Release) {
    SetDevRelease(fState, Release);
    ShowState();
}

void TChannelsFrame::ReadPage() {
    RunOperation(wmRead, [this](QStringList& errors) {
        TPanelExchange& exchange = fHost.Exchange();
        // The switch first: the lists follow it before the entries go in.
        TParamTable::ReadParam(exchange, *fOnlineParam, errors);
        // An entry the panel does not give leaves its row as it stands; its
        // direction number takes part in the links as the row has it now.
        const TChannelRows shown = fState.Rows;
        FDirection = CollectDirections(fState);
        std::array<bool, kRows> read{};
        for (int i = 0; i < kRows; ++i)
            read[i] = TParamTable::ReadParam(exchange, *fEntryParams[i], errors);
        ShowDirections(fState, FDirection);
        for (int i = 0; i < kRows; ++i) {
            if (!read[i])
                fState.Rows[i] = shown[i];
        }
        TParamTable::ReadParam(exchange, *fMoveParam, errors);
        ShowState();
    });
}

bool TChannelsFrame::EraseHistory() {
    TOperationScope erasing(fHost, TOperationState::Erasing);
    if (!erasing)
        return false;
    QStringList failed;
    {
        // The panel cannot stop an erase once begun: no Cancel. The wake-up
        // command would only queue up behind the erase's long answer.
        TBusyScope busy(fHost, EraseBusyText());
        fHost.SetWakeUp(false);
        fHost.Exchange().SendParamToDevice(ChannelsWire::EraseCommand, failed, ChannelsWire::EraseError, OK,
                                           ChannelsWire::EraseTimeOut);
        fHost.SetWakeUp(true);
    }
    // Told at once; the write goes on.
    if (!failed.isEmpty())
        fHost.ShowErrorList(failed, wmWrite);
    return true;
}

void TChannelsFrame::WritePage() {
    RunOperation(wmWrite, [this](QStringList& errors) {
        if (!fHost.Confirm(ChannelsWire::EraseQuestion))
            return;
        if (!EraseHistory())
            return;
        PackRows(fState);
        ShowState();
        TPanelExchange& exchange = fHost.Exchange();
        for (const TPageCommand& write : ChannelsWrites(fState)) {
            if (write.Line.isEmpty())
                errors.append(write.ErrorName);
            else
                exchange.SendParamToDevice(write.Line, errors, write.ErrorName, OK, ExchangeTimeout::Param);
        }
    });
}

QString TChannelsFrame::WriteQuestion() const {
    return ChannelsWire::EraseQuestion;
}

void TChannelsFrame::SetDefault() {
    ResetChannels(fState);
    ShowState();
}

void TChannelsFrame::GetSettings(QStringList& List) {
    List = ChannelsSettings(fState);
}

void TChannelsFrame::SetSettings(const QStringList& List) {
    LoadChannelsSettings(fState, List);
    ShowState();
}

QString TChannelsFrame::SettingsCaption(const QString& key) const {
    const auto is = [&key](const QString& k) { return key.compare(k, Qt::CaseInsensitive) == 0; };
    for (int r = 1; r <= kRows; ++r) {
        if (is(ChannelsPhoneKey(r)))
            return ControlCaption(PhoneEdit[r - 1]);
        if (is(ChannelsComboKey(r)))
            return ControlCaption(ChannelCombo[r - 1]);
    }
    // A link is a pair of switches, И and ИЛИ.
    for (int k = 1; k <= kLinks; ++k) {
        if (is(ChannelsLinkKey(k)))
            return QStringLiteral("%1/%2 между строками %3 и %4")
                .arg(LogicAND[k - 1]->text(), LogicOR[k - 1]->text())
                .arg(k)
                .arg(k + 1);
    }
    if (is(ChannelsOnlineKey()))
        return ControlCaption(GPRSOnlineCheckBox);
    if (is(ChannelsMoveKey()))
        return ControlCaption(MoveGroup);
    return TPageFrame::SettingsCaption(key);
}
