#include "AlarmButtonsState.h"

#include "SettingsLookup.h"
#include "panel/ValueShapes.h"

#include <algorithm>

namespace {

TAlarmButton* Button(TAlarmButtonsState& state, int n) {
    return n >= 1 && n <= AlarmButtonCount ? &state.Buttons[std::size_t(n - 1)] : nullptr;
}

QString Line(const QString& key, int value) {
    return key + QLatin1Char('=') + QString::number(value);
}

// An item number as the settings file may give it: -1 for no selection,
// else one of the list's items.
bool ItemFits(int item, int count) {
    return item >= -1 && item < count;
}

} // namespace

QString AlarmButtonKey(const char* stem, int n) {
    return QLatin1String(stem) + QString::number(n);
}
QString HoldTimeKey() {
    return QStringLiteral("HoldTime");
}
QString AkbMessageKey() {
    return QStringLiteral("AKBmessage");
}
QString AlarmCodeKey(int n) {
    return AlarmButtonKey("AlarmCode", n);
}
QString HoldTimeKeptKey() {
    return QStringLiteral("HoldTimeKept");
}

void ResetAlarmButtons(TAlarmButtonsState& state) {
    state = TAlarmButtonsState{};
    state.AkbMessage = true;
}

void ApplyReactionFlags(TAlarmButtonsState& state, const QString& value) {
    const TReactionFlags flags = DecodeReactionFlags(value);
    state.Buttons[0].Enabled = flags.Button1;
    state.Buttons[1].Enabled = flags.Button2;
    state.AkbMessage = flags.AkbMessage;
}

bool ApplyButtonValue(TAlarmButtonsState& state, int n, const QString& value, const TAlarmTypeItems& items) {
    TAlarmButton* button = Button(state, n);
    if (!button)
        return false;
    const TButtonValueRead read = DecodeButtonValue(value);
    switch (read.Kind) {
    case TButtonRead::Short: return true;
    case TButtonRead::Malformed: return false;
    case TButtonRead::Value: break;
    }
    const int item = AlarmTypeIndexOf(items, read.Value.Code);
    button->Item = item;
    button->KeptCode = item < 0 ? std::optional<int>(read.Value.Code) : std::nullopt;
    button->Section = std::clamp(read.Value.Section, 0, SectionMax);
    button->Loop = std::clamp(read.Value.Loop, 0, LoopMax);
    return true;
}

bool ApplyHoldTime(TAlarmButtonsState& state, const QString& value) {
    const THoldTimeValueRead read = DecodeHoldTime(value);
    switch (read.Kind) {
    case THoldTimeRead::Malformed: return false;
    case THoldTimeRead::Kept:
        state.HoldTime = -1;
        state.KeptHoldTime = read.Raw;
        return true;
    case THoldTimeRead::Item: break;
    }
    state.HoldTime = read.Item;
    state.KeptHoldTime.reset();
    return true;
}

void ChooseAlarmType(TAlarmButtonsState& state, int n, int item, const TAlarmTypeItems& items) {
    TAlarmButton* button = Button(state, n);
    if (!button || item < 0 || item >= items.size())
        return;
    button->Item = item;
    button->KeptCode.reset();
}

void ChooseHoldTime(TAlarmButtonsState& state, int item) {
    if (item < 0 || item >= HoldTimeCount)
        return;
    state.HoldTime = item;
    state.KeptHoldTime.reset();
}

QString ReactionFlagsWriteValue(const TAlarmButtonsState& state) {
    return EncodeReactionFlags({state.Buttons[0].Enabled, state.Buttons[1].Enabled, state.AkbMessage});
}

QString ButtonWriteValue(const TAlarmButtonsState& state, int n, const TAlarmTypeItems& items) {
    if (n < 1 || n > AlarmButtonCount)
        return {};
    const TAlarmButton& button = state.Buttons[std::size_t(n - 1)];
    std::optional<int> code = button.KeptCode;
    if (button.Item >= 0 && button.Item < items.size())
        code = items[button.Item].Code;
    if (!code)
        return {};
    return EncodeButtonValue({*code, button.Section, button.Loop});
}

QString HoldTimeWriteValue(const TAlarmButtonsState& state) {
    if (state.HoldTime >= 0 && state.HoldTime < HoldTimeCount)
        return EncodeHoldTime(state.HoldTime);
    return state.KeptHoldTime.value_or(QString());
}

std::vector<TPageCommand> AlarmButtonsWrites(const TAlarmButtonsState& state, const TAlarmTypeItems& items) {
    using namespace AlarmButtonsWire;
    const auto write = [](const QString& command, const QString& value, const QString& error) {
        return TPageCommand{value.isEmpty() ? QString() : command + value, error};
    };
    return {
        write(ReactionCommand, ReactionFlagsWriteValue(state), ReactionError),
        write(ButtonCommand(1), ButtonWriteValue(state, 1, items), ButtonError(1)),
        write(ButtonCommand(2), ButtonWriteValue(state, 2, items), ButtonError(2)),
        write(HoldTimeCommand, HoldTimeWriteValue(state), HoldTimeError),
    };
}

QStringList AlarmButtonsSettings(const TAlarmButtonsState& state) {
    QStringList lines;
    for (int n = 1; n <= AlarmButtonCount; ++n) {
        const TAlarmButton& button = state.Buttons[std::size_t(n - 1)];
        lines.append(Line(AlarmButtonKey("Enable", n), button.Enabled ? 1 : 0));
        lines.append(Line(AlarmButtonKey("Alarm", n), button.Item));
        lines.append(Line(AlarmButtonKey("Section", n), button.Section));
        lines.append(Line(AlarmButtonKey("Loop", n), button.Loop));
        if (button.Item < 0 && button.KeptCode)
            lines.append(AlarmCodeKey(n) + QLatin1Char('=') +
                         QStringLiteral("%1").arg(*button.KeptCode, 4, 10, QLatin1Char('0')));
    }
    lines.append(Line(HoldTimeKey(), state.HoldTime));
    if (state.HoldTime < 0 && state.KeptHoldTime)
        lines.append(HoldTimeKeptKey() + QLatin1Char('=') + *state.KeptHoldTime);
    lines.append(Line(AkbMessageKey(), state.AkbMessage ? 1 : 0));
    return lines;
}

bool LoadAlarmButtonsSettings(TAlarmButtonsState& state, const QStringList& lines, int alarmTypeCount,
                              QStringList* refused) {
    TAlarmButtonsState loaded;
    QStringList notTaken;
    // A number the page has no place for: the nearest it has (no selection
    // for a list), and the file's line told.
    const auto settle = [&](const QString& key, int& value, bool fits, int taken) {
        if (fits)
            return;
        notTaken.append(key + QLatin1Char('=') + SettingsValue(lines, key));
        value = taken;
    };
    bool complete = true;
    for (int n = 1; complete && n <= AlarmButtonCount; ++n) {
        TAlarmButton& button = loaded.Buttons[std::size_t(n - 1)];
        int enabled = 0;
        complete = SettingsInt(lines, AlarmButtonKey("Enable", n), enabled) &&
                   SettingsInt(lines, AlarmButtonKey("Alarm", n), button.Item) &&
                   SettingsInt(lines, AlarmButtonKey("Section", n), button.Section) &&
                   SettingsInt(lines, AlarmButtonKey("Loop", n), button.Loop);
        if (!complete)
            break;
        button.Enabled = enabled != 0;
        settle(AlarmButtonKey("Alarm", n), button.Item, ItemFits(button.Item, alarmTypeCount), -1);
        settle(AlarmButtonKey("Section", n), button.Section,
               button.Section >= 0 && button.Section <= SectionMax,
               std::clamp(button.Section, 0, SectionMax));
        settle(AlarmButtonKey("Loop", n), button.Loop, button.Loop >= 0 && button.Loop <= LoopMax,
               std::clamp(button.Loop, 0, LoopMax));
        // The code of a button's value as the panel gives it: four digits.
        if (const QString code = SettingsValue(lines, AlarmCodeKey(n));
            button.Item < 0 && code.size() == 4 &&
            std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            button.KeptCode = code.toInt();
    }
    int akb = 0;
    complete = complete && SettingsInt(lines, HoldTimeKey(), loaded.HoldTime) &&
               SettingsInt(lines, AkbMessageKey(), akb);
    if (!complete) {
        ResetAlarmButtons(state);
        if (refused)
            refused->clear();
        return false;
    }
    settle(HoldTimeKey(), loaded.HoldTime, ItemFits(loaded.HoldTime, HoldTimeCount), -1);
    // Only a value of the panel's form is taken (it goes to the panel as
    // it stands); one an item stands for selects that item.
    if (const QString kept = SettingsValue(lines, HoldTimeKeptKey());
        loaded.HoldTime < 0 && ValueFitsShape(AlarmButtonsWire::HoldTimeCommand, kept))
        ApplyHoldTime(loaded, kept);
    loaded.AkbMessage = akb != 0;
    state = loaded;
    if (refused)
        *refused = notTaken;
    return true;
}
