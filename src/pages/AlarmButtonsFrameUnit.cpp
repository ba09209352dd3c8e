#include "AlarmButtonsFrameUnit.h"

#include "Accessibility.h"
#include "HexValues.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

constexpr int AlarmTypeRowsVisible = 25;
// The closed list shows this many characters of its item; the open list
// is as wide as its longest item.
constexpr int AlarmTypeShownChars = 16;
constexpr int HoldTimeShownChars = 4;
// Left and right of an item's text in an open list.
constexpr int ListItemMargins = 16;

QString CodeText(int code) {
    return QStringLiteral("%1").arg(code, 4, 10, QLatin1Char('0'));
}

// The hold time the panel keeps, in seconds ("6", "0,5"): it counts half
// seconds.
QString HoldSecondsText(const QString& raw) {
    const int halves = HexValue(raw);
    if (halves < 0)
        return raw;
    return halves % 2 == 0 ? QString::number(halves / 2) : QStringLiteral("%1,5").arg(halves / 2);
}

// Opens a list as a drop-down of its maxVisibleItems rows; some styles
// (Fusion among them) would open the 431 alarm types as tall as the screen.
class TDropDownListStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TAlarmButtonsFrame::TAlarmButtonsFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptAlarmButtons, parent), fPage(new TAlarmButtonsPage(host)) {
    setObjectName(QStringLiteral("AlarmButtonsFrame"));
    SetPageModel(fPage);
    fDropDownStyle = new TDropDownListStyle;
    fShowing = true;
    BuildControls();
    fShowing = false;
    // Freed after the lists that use it (children go in the order they came).
    fDropDownStyle->setParent(this);
    ShowState();
    connect(fPage, &TPageModel::ValuesChanged, this, &TAlarmButtonsFrame::ShowState);
}

void TAlarmButtonsFrame::BuildControls() {
    AlarmButtonsSetGroup = new QGroupBox(QStringLiteral("Настройка тревожных кнопок"), this);
    AlarmButtonsSetGroup->setObjectName(QStringLiteral("AlarmButtonsSetGroup"));
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(AlarmButtonsSetGroup);

    ArarmButton1Box = BuildButtonBox(1, QStringLiteral("ArarmButton1Box"));
    GroupBox1 = BuildButtonBox(2, QStringLiteral("GroupBox1"));

    HoldTimeLabel = new QLabel(TAlarmButtonsPage::HoldTimeCaption(), AlarmButtonsSetGroup);
    HoldTimeLabel->setObjectName(QStringLiteral("HoldTimeLabel"));
    HoldTimeCombo = new QComboBox(AlarmButtonsSetGroup);
    HoldTimeCombo->setObjectName(QStringLiteral("HoldTimeCombo"));
    HoldTimeCombo->addItems(HoldTimeCaptions());
    // Room for a hold time kept from the panel ("127,5") as well as the items.
    HoldTimeCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    HoldTimeCombo->setMinimumContentsLength(HoldTimeShownChars);
    HoldTimeLabel->setBuddy(HoldTimeCombo);
    HoldTimeUnitLabel = new QLabel(QStringLiteral("сек."), AlarmButtonsSetGroup);
    HoldTimeUnitLabel->setObjectName(QStringLiteral("HoldTimeUnitLabel"));
    auto* holdLayout = new QHBoxLayout;
    holdLayout->addWidget(HoldTimeLabel);
    holdLayout->addWidget(HoldTimeCombo);
    holdLayout->addWidget(HoldTimeUnitLabel);
    holdLayout->addStretch();

    AKBAlarmMessage = new QCheckBox(TAlarmButtonsPage::AkbMessageCaption(), AlarmButtonsSetGroup);
    AKBAlarmMessage->setObjectName(QStringLiteral("AKBAlarmMessage"));

    auto* setLayout = new QGridLayout(AlarmButtonsSetGroup);
    setLayout->addWidget(ArarmButton1Box, 0, 0);
    setLayout->addWidget(GroupBox1, 0, 1);
    setLayout->addLayout(holdLayout, 1, 0, 1, 2);
    setLayout->addWidget(AKBAlarmMessage, 2, 0, 1, 2);
    setLayout->setRowStretch(3, 1);
    setLayout->setColumnStretch(0, 1);
    setLayout->setColumnStretch(1, 1);

    NameGroupBoxes(this);

    // An item the user chooses replaces what was kept.
    connect(HoldTimeCombo, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (!fShowing)
            fPage->ChooseHoldTime(item);
    });
    connect(AKBAlarmMessage, &QCheckBox::toggled, this, [this](bool on) {
        if (!fShowing)
            fPage->SetAkbMessage(on);
    });
    for (int n = 1; n <= AlarmButtonCount; ++n)
        EnableCheck1Click(n);
}

QGroupBox* TAlarmButtonsFrame::BuildButtonBox(int n, const QString& name) {
    const std::size_t i = std::size_t(n - 1);
    const auto named = [n](auto* w, const char* stem) {
        w->setObjectName(QLatin1String(stem) + QString::number(n));
        return w;
    };
    auto* box = new QGroupBox(TAlarmButtonsPage::ButtonCaption(n), AlarmButtonsSetGroup);
    box->setObjectName(name);

    EnableCheck[i] = named(new QCheckBox(TAlarmButtonsPage::EnableCaption(), box), "EnableCheck");
    AlarmTypeLabel[i] = named(new QLabel(TAlarmButtonsPage::AlarmTypeCaption(), box), "AlarmTypeLabel");
    AlarmTypeCombo[i] = named(new QComboBox(box), "AlarmTypeCombo");
    AlarmTypeCombo[i]->setMaxVisibleItems(AlarmTypeRowsVisible);
    AlarmTypeCombo[i]->setStyle(fDropDownStyle);
    AlarmTypeCombo[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    AlarmTypeCombo[i]->setMinimumContentsLength(AlarmTypeShownChars);
    AlarmTypeCombo[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    AlarmTypeLabel[i]->setBuddy(AlarmTypeCombo[i]);
    SectionLabel[i] = named(new QLabel(TAlarmButtonsPage::SectionCaption(), box), "SectionLabel");
    SectionSpin[i] = named(new QSpinBox(box), "SectionSpin");
    SectionSpin[i]->setRange(0, SectionMax);
    SectionLabel[i]->setBuddy(SectionSpin[i]);
    LoopLabel[i] = named(new QLabel(TAlarmButtonsPage::LoopCaption(), box), "LoopLabel");
    LoopSpin[i] = named(new QSpinBox(box), "LoopSpin");
    LoopSpin[i]->setRange(0, LoopMax);
    LoopLabel[i]->setBuddy(LoopSpin[i]);

    auto* layout = new QGridLayout(box);
    layout->addWidget(EnableCheck[i], 0, 0, 1, 2);
    layout->addWidget(AlarmTypeLabel[i], 1, 0, 1, 2);
    layout->addWidget(AlarmTypeCombo[i], 2, 0, 1, 2);
    layout->addWidget(SectionLabel[i], 3, 0);
    layout->addWidget(SectionSpin[i], 3, 1, Qt::AlignLeft);
    layout->addWidget(LoopLabel[i], 4, 0);
    layout->addWidget(LoopSpin[i], 4, 1, Qt::AlignLeft);
    layout->setColumnStretch(1, 1);

    connect(EnableCheck[i], &QCheckBox::toggled, this, [this, n](bool on) {
        EnableCheck1Click(n);
        if (!fShowing)
            fPage->SetEnabled(n, on);
    });
    // An item the user chooses replaces what was kept.
    connect(AlarmTypeCombo[i], &QComboBox::currentIndexChanged, this, [this, n](int item) {
        if (!fShowing)
            fPage->ChooseAlarmType(n, item);
    });
    connect(SectionSpin[i], &QSpinBox::valueChanged, this, [this, n](int section) {
        if (!fShowing)
            fPage->SetSection(n, section);
    });
    connect(LoopSpin[i], &QSpinBox::valueChanged, this, [this, n](int loop) {
        if (!fShowing)
            fPage->SetLoop(n, loop);
    });
    return box;
}

void TAlarmButtonsFrame::Init() {
    TPageFrame::Init();
    const TAlarmTypeItems& types = fPage->AlarmTypes();
    if (AlarmTypeCombo[0]->count() != types.size()) {
        fShowing = true;
        // The widest text, measured once per font (the lists share theirs).
        std::optional<QFontMetrics> measured;
        int widest = 0;
        for (QComboBox* combo : AlarmTypeCombo) {
            combo->clear();
            const QFontMetrics metrics = combo->view()->fontMetrics();
            const bool measure = !measured || *measured != metrics;
            if (measure)
                widest = 0;
            for (const TAlarmTypeItem& item : types) {
                combo->addItem(item.Caption, item.Code);
                if (measure)
                    widest = std::max(widest, metrics.horizontalAdvance(item.Caption));
            }
            measured = metrics;
            // The open list shows whole texts, however narrow the box.
            QAbstractItemView* view = combo->view();
            view->setMinimumWidth(widest + ListItemMargins + view->verticalScrollBar()->sizeHint().width() +
                                  2 * view->frameWidth());
        }
        fShowing = false;
    }
    ShowState();
}

void TAlarmButtonsFrame::ShowState() {
    const bool nested = fShowing;
    fShowing = true;
    const TAlarmButtonsState& state = fPage->State();
    for (int n = 1; n <= AlarmButtonCount; ++n) {
        const std::size_t i = std::size_t(n - 1);
        const TAlarmButton& b = state.Buttons[i];
        EnableCheck[i]->setChecked(b.Enabled);
        const bool listed = b.Item >= 0 && b.Item < AlarmTypeCombo[i]->count();
        AlarmTypeCombo[i]->setCurrentIndex(listed ? b.Item : -1);
        ShowAlarmTypeHint(n);
        SectionSpin[i]->setValue(b.Section);
        LoopSpin[i]->setValue(b.Loop);
    }
    const bool listed = state.HoldTime >= 0 && state.HoldTime < HoldTimeCombo->count();
    HoldTimeCombo->setCurrentIndex(listed ? state.HoldTime : -1);
    ShowHoldTimeHint();
    AKBAlarmMessage->setChecked(state.AkbMessage);
    fShowing = nested;
}

void TAlarmButtonsFrame::ShowAlarmTypeHint(int n) {
    QComboBox* combo = AlarmTypeCombo[std::size_t(n - 1)];
    const TAlarmButton& button = fPage->State().Buttons[std::size_t(n - 1)];
    const std::optional<int> kept = button.Item < 0 ? button.KeptCode : std::nullopt;
    if (!kept) {
        // The closed list may be too narrow for a long text.
        combo->setPlaceholderText({});
        combo->setToolTip(combo->currentText());
        return;
    }
    const QString code = CodeText(*kept);
    combo->setPlaceholderText(QStringLiteral("Код %1 (нет в списке)").arg(code));
    combo->setToolTip(QStringLiteral("Панель хранит событие с кодом %1, которого нет в списке.\n"
                                     "Оно будет записано обратно без изменений, пока не выбран "
                                     "другой вид тревоги.")
                          .arg(code));
}

void TAlarmButtonsFrame::ShowHoldTimeHint() {
    const TAlarmButtonsState& state = fPage->State();
    const std::optional<QString> kept = state.HoldTime < 0 ? state.KeptHoldTime : std::nullopt;
    if (!kept) {
        HoldTimeCombo->setPlaceholderText({});
        HoldTimeCombo->setToolTip({});
        return;
    }
    const QString seconds = HoldSecondsText(*kept);
    HoldTimeCombo->setPlaceholderText(seconds);
    HoldTimeCombo->setToolTip(QStringLiteral("Панель хранит время удержания %1 (%2 сек.), которого нет в "
                                             "списке.\nОно будет записано обратно без изменений, пока не "
                                             "выбрано другое время.")
                                  .arg(*kept, seconds));
}

void TAlarmButtonsFrame::EnableCheck1Click(int n) {
    if (n < 1 || n > AlarmButtonCount)
        return;
    const std::size_t i = std::size_t(n - 1);
    const bool on = EnableCheck[i]->isChecked();
    AlarmTypeCombo[i]->setEnabled(on);
    SectionSpin[i]->setEnabled(on);
    LoopSpin[i]->setEnabled(on);
}
