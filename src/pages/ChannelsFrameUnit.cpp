#include "ChannelsFrameUnit.h"

#include "Accessibility.h"
#include "ChannelIcons.h"
#include "FieldBindings.h"
#include "KeyFilter.h"
#include "RedWhenInvalid.h"
#include "TypedText.h"

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

TChannelsFrame::TChannelsFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptChannels, parent), fPage(new TChannelsPage(host)) {
    setObjectName(QStringLiteral("ChannelsFrame"));
    SetPageModel(fPage);
    // The controls' change handlers stay quiet while they are being built.
    fShowing = true;
    BuildControls();
    fShowing = false;
    LayoutColumns();
    ShowState();
    connect(fPage, &TPageModel::ValuesChanged, this, &TChannelsFrame::ShowState);
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

    GPRSOnlineCheckBox = named(new QCheckBox(TChannelsPage::GprsOnlineCaption(), ChannelsGroupBox),
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

    MoveGroup =
        named(new QGroupBox(TChannelsPage::MoveCaption(), ChannelsGroupBox), QStringLiteral("MoveGroup"));
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
            fPage->SetMove(id);
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
        PhoneEdit[i]->setAccessibleName(TChannelsPage::PhoneCaption(r));
        PhoneEdit[i]->setAutoFillBackground(true);
        TKeyFilter::Install(PhoneEdit[i], PhoneChars, TDirectionRec::kPhoneMax);
        // A phone from a file may be longer than the panel keeps, or hold
        // characters that cannot be typed: it is written cut to 30.
        RedWhenInvalid(PhoneEdit[i], PhoneAsTyped);
        Label[i]->setBuddy(PhoneEdit[i]);

        ChannelCombo[i] = new QComboBox(PPanel);
        ChannelCombo[i]->setObjectName(QStringLiteral("ChannelCombo%1").arg(r));
        ChannelCombo[i]->setAccessibleName(TChannelsPage::ChannelCaption(r));
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
        LogicAND[i] = new QRadioButton(TChannelsPage::AndCaption(), LogicPanel[i]);
        LogicAND[i]->setObjectName(QStringLiteral("LogicAND%1").arg(k));
        LogicAND[i]->setAccessibleName(QStringLiteral("И между строками %1 и %2").arg(k).arg(k + 1));
        LogicOR[i] = new QRadioButton(TChannelsPage::OrCaption(), LogicPanel[i]);
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

void TChannelsFrame::Init() {
    TPageFrame::Init();
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
    const TChannelTable table = fPage->State().Table;
    if (fShownTable == table)
        return;
    const QList<TChannelItem>& items = ChannelItems(table);
    for (QComboBox* combo : ChannelCombo) {
        combo->clear();
        for (const TChannelItem& item : items)
            combo->addItem(ChannelIcon(item.Image), item.Caption);
    }
    fShownTable = table;
}

void TChannelsFrame::ShowState() {
    // The controls' change handlers see fShowing and leave the state alone.
    const bool nested = fShowing;
    fShowing = true;
    FillChannelLists();
    const TChannelsState& state = fPage->State();
    for (int i = 0; i < kRows; ++i) {
        const TChannelRow& row = state.Rows[i];
        ChannelCombo[i]->setCurrentIndex(row.Item >= 0 && row.Item < ChannelCombo[i]->count() ? row.Item
                                                                                              : -1);
        if (PhoneEdit[i]->text() != row.Phone)
            Bind(PhoneEdit[i]).SetText(row.Phone);
    }
    GPRSOnlineCheckBox->setChecked(state.GprsOnline);
    for (int i = 0; i < kLinks; ++i)
        (state.LinkAnd[i] ? LogicAND[i] : LogicOR[i])->setChecked(true);
    if (QAbstractButton* move = MoveButtons->button(state.Move))
        move->setChecked(true);
    NumberDirections();
    fShowing = nested;
}

void TChannelsFrame::NumberDirections() {
    const TRowDirections numbers = RowDirections(fPage->State());
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
    if (!fShowing)
        fPage->SetGprsOnline(checked);
}

void TChannelsFrame::ChannelCombo1Change(int r, int item) {
    if (!fShowing)
        fPage->ChooseChannel(r, item);
}

void TChannelsFrame::LogicAND1Click(int k, bool checked) {
    if (!fShowing)
        fPage->SetLink(k, checked);
}

void TChannelsFrame::PhoneEdit1Change(int r, const QString& text) {
    if (!fShowing)
        fPage->SetPhone(r, text);
}
