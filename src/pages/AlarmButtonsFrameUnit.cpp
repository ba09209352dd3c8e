#include "AlarmButtonsFrameUnit.h"

#include "Accessibility.h"
#include "HexValues.h"
#include "history/CidEventTable.h"

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
    : TPageFrame(host, ptAlarmButtons, parent) {
    setObjectName(QStringLiteral("AlarmButtonsFrame"));
    fDropDownStyle = new TDropDownListStyle;
    BuildControls();
    // Freed after the lists that use it (children go in the order they came).
    fDropDownStyle->setParent(this);
    DescribeParams();
}

void TAlarmButtonsFrame::BuildControls() {
    AlarmButtonsSetGroup = new QGroupBox(QStringLiteral("Настройка тревожных кнопок"), this);
    AlarmButtonsSetGroup->setObjectName(QStringLiteral("AlarmButtonsSetGroup"));
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(AlarmButtonsSetGroup);

    ArarmButton1Box =
        BuildButtonBox(1, QStringLiteral("ArarmButton1Box"), QStringLiteral("Тревожная кнопка 1"));
    GroupBox1 = BuildButtonBox(2, QStringLiteral("GroupBox1"), QStringLiteral("Тревожная кнопка 2"));

    HoldTimeLabel = new QLabel(QStringLiteral("Время удержания тревожной кнопки до передачи сообщения:"),
                               AlarmButtonsSetGroup);
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

    AKBAlarmMessage =
        new QCheckBox(QStringLiteral("Генерировать сообщение \"Разряд АКБ\"."), AlarmButtonsSetGroup);
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

    connect(HoldTimeCombo, &QComboBox::currentIndexChanged, this, [this](int item) {
        // An item chosen (by the user or the page) replaces what was kept.
        if (item >= 0)
            FKeptHoldTime.reset();
        ShowHoldTimeHint();
    });
    for (int n = 1; n <= AlarmButtonCount; ++n)
        EnableCheck1Click(n);
}

QGroupBox* TAlarmButtonsFrame::BuildButtonBox(int n, const QString& name, const QString& title) {
    const std::size_t i = std::size_t(n - 1);
    const auto named = [n](auto* w, const char* stem) {
        w->setObjectName(QLatin1String(stem) + QString::number(n));
        return w;
    };
    auto* box = new QGroupBox(title, AlarmButtonsSetGroup);
    box->setObjectName(name);

    EnableCheck[i] = named(new QCheckBox(QStringLiteral("Включить"), box), "EnableCheck");
    AlarmTypeLabel[i] = named(new QLabel(QStringLiteral("Вид тревоги:"), box), "AlarmTypeLabel");
    AlarmTypeCombo[i] = named(new QComboBox(box), "AlarmTypeCombo");
    AlarmTypeCombo[i]->setMaxVisibleItems(AlarmTypeRowsVisible);
    AlarmTypeCombo[i]->setStyle(fDropDownStyle);
    AlarmTypeCombo[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    AlarmTypeCombo[i]->setMinimumContentsLength(AlarmTypeShownChars);
    AlarmTypeCombo[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    AlarmTypeLabel[i]->setBuddy(AlarmTypeCombo[i]);
    SectionLabel[i] = named(new QLabel(QStringLiteral("Номер раздела:"), box), "SectionLabel");
    SectionSpin[i] = named(new QSpinBox(box), "SectionSpin");
    SectionSpin[i]->setRange(0, SectionMax);
    SectionLabel[i]->setBuddy(SectionSpin[i]);
    LoopLabel[i] = named(new QLabel(QStringLiteral("Номер шлейфа:"), box), "LoopLabel");
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

    connect(EnableCheck[i], &QCheckBox::toggled, this, [this, n] { EnableCheck1Click(n); });
    connect(AlarmTypeCombo[i], &QComboBox::currentIndexChanged, this, [this, n, i](int item) {
        // An item chosen (by the user or the page) replaces what was kept.
        if (item >= 0)
            FKeptCode[i].reset();
        ShowAlarmTypeHint(n);
    });
    return box;
}

void TAlarmButtonsFrame::DescribeParams() {
    using namespace AlarmButtonsWire;
    // Nothing to send (a list without selection and nothing kept) lists the
    // parameter as failed.
    const auto sent = [](const QString& value) {
        return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
    };
    fParams.Param({
        .Command = ReactionCommand,
        .ReadName = ReactionError,
        .Decode =
            [this](const QString& value) {
                return ShowRead([&](TAlarmButtonsState& s) {
                    ApplyReactionFlags(s, value);
                    return true;
                });
            },
        .Encode = [this, sent] { return sent(ReactionFlagsWriteValue(State())); },
    });
    for (int n = 1; n <= AlarmButtonCount; ++n) {
        fParams.Param({
            .Command = ButtonCommand(n),
            .ReadName = ButtonError(n),
            .Decode =
                [this, n](const QString& value) {
                    return ShowRead(
                        [&](TAlarmButtonsState& s) { return ApplyButtonValue(s, n, value, fAlarmTypes); });
                },
            .Encode = [this, n, sent] { return sent(ButtonWriteValue(State(), n, fAlarmTypes)); },
        });
    }
    fParams.Param({
        .Command = HoldTimeCommand,
        .ReadName = HoldTimeError,
        .Decode =
            [this](const QString& value) {
                return ShowRead([&](TAlarmButtonsState& s) { return ApplyHoldTime(s, value); });
            },
        .Encode = [this, sent] { return sent(HoldTimeWriteValue(State())); },
    });
}

void TAlarmButtonsFrame::Init() {
    if (fAlarmTypes.isEmpty()) {
        fAlarmTypes = BuildAlarmTypeItems(TCidEventTable::Builtin().Lines());
        // The widest text, measured once per font (the lists share theirs).
        std::optional<QFontMetrics> measured;
        int widest = 0;
        for (QComboBox* combo : AlarmTypeCombo) {
            combo->clear();
            const QFontMetrics metrics = combo->view()->fontMetrics();
            const bool measure = !measured || *measured != metrics;
            if (measure)
                widest = 0;
            for (const TAlarmTypeItem& item : fAlarmTypes) {
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
    }
    for (QComboBox* combo : AlarmTypeCombo)
        combo->setCurrentIndex(0);
}

TAlarmButtonsState TAlarmButtonsFrame::State() const {
    TAlarmButtonsState state;
    for (std::size_t i = 0; i < AlarmButtonCount; ++i) {
        TAlarmButton& b = state.Buttons[i];
        b.Enabled = EnableCheck[i]->isChecked();
        b.Item = AlarmTypeCombo[i]->currentIndex();
        b.KeptCode = b.Item < 0 ? FKeptCode[i] : std::nullopt;
        b.Section = SectionSpin[i]->value();
        b.Loop = LoopSpin[i]->value();
    }
    state.HoldTime = HoldTimeCombo->currentIndex();
    state.KeptHoldTime = state.HoldTime < 0 ? FKeptHoldTime : std::nullopt;
    state.AkbMessage = AKBAlarmMessage->isChecked();
    return state;
}

void TAlarmButtonsFrame::Show(const TAlarmButtonsState& state) {
    for (int n = 1; n <= AlarmButtonCount; ++n) {
        const std::size_t i = std::size_t(n - 1);
        const TAlarmButton& b = state.Buttons[i];
        EnableCheck[i]->setChecked(b.Enabled);
        const bool listed = b.Item >= 0 && b.Item < AlarmTypeCombo[i]->count();
        AlarmTypeCombo[i]->setCurrentIndex(listed ? b.Item : -1);
        FKeptCode[i] = listed ? std::nullopt : b.KeptCode;
        ShowAlarmTypeHint(n);
        SectionSpin[i]->setValue(b.Section);
        LoopSpin[i]->setValue(b.Loop);
    }
    const bool listed = state.HoldTime >= 0 && state.HoldTime < HoldTimeCombo->count();
    HoldTimeCombo->setCurrentIndex(listed ? state.HoldTime : -1);
    FKeptHoldTime = listed ? std::nullopt : state.KeptHoldTime;
    ShowHoldTimeHint();
    AKBAlarmMessage->setChecked(state.AkbMessage);
}

bool TAlarmButtonsFrame::ShowRead(const std::function<bool(TAlarmButtonsState&)>& apply) {
    TAlarmButtonsState state = State();
    if (!apply(state))
        return false;
    Show(state);
    return true;
}

void TAlarmButtonsFrame::ShowAlarmTypeHint(int n) {
    QComboBox* combo = AlarmTypeCombo[std::size_t(n - 1)];
    const std::optional<int>& kept = FKeptCode[std::size_t(n - 1)];
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
    if (!FKeptHoldTime) {
        HoldTimeCombo->setPlaceholderText({});
        HoldTimeCombo->setToolTip({});
        return;
    }
    const QString seconds = HoldSecondsText(*FKeptHoldTime);
    HoldTimeCombo->setPlaceholderText(seconds);
    HoldTimeCombo->setToolTip(QStringLiteral("Панель хранит время удержания %1 (%2 сек.), которого нет в "
                                             "списке.\nОно будет записано обратно без изменений, пока не "
                                             "выбрано другое время.")
                                  .arg(*FKeptHoldTime, seconds));
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

void TAlarmButtonsFrame::SetDefault() {
    TAlarmButtonsState state;
    ResetAlarmButtons(state);
    Show(state);
}

void TAlarmButtonsFrame::GetSettings(QStringList& List) {
    List = AlarmButtonsSettings(State());
}

void TAlarmButtonsFrame::SetSettings(const QStringList& List) {
    // The whole file is checked first: a missing or malformed value, or an
    // item past the end of its list, puts the page on its defaults instead.
    TAlarmButtonsState state;
    if (LoadAlarmButtonsSettings(state, List, int(fAlarmTypes.size())))
        Show(state);
    else
        SetDefault();
}

QString TAlarmButtonsFrame::SettingsCaption(const QString& key) const {
    const auto is = [&key](const QString& k) { return key.compare(k, Qt::CaseInsensitive) == 0; };
    // A button's controls are named alike in both boxes: the box tells them apart.
    for (int n = 1; n <= AlarmButtonCount; ++n) {
        const std::size_t i = std::size_t(n - 1);
        const std::pair<const char*, const QWidget*> controls[] = {
            {"Enable", EnableCheck[i]},
            {"Alarm", AlarmTypeCombo[i]},
            {"Section", SectionSpin[i]},
            {"Loop", LoopSpin[i]},
        };
        for (const auto& [stem, control] : controls) {
            if (is(AlarmButtonKey(stem, n))) {
                const auto* box = qobject_cast<const QGroupBox*>(control->parentWidget());
                const QString own = ControlCaption(control);
                return box ? box->title() + QStringLiteral(": ") + own : own;
            }
        }
    }
    if (is(HoldTimeKey()))
        return ControlCaption(HoldTimeCombo);
    if (is(AkbMessageKey()))
        return ControlCaption(AKBAlarmMessage);
    return TPageFrame::SettingsCaption(key);
}
