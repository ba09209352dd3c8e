#include "AlarmButtonsPage.h"

#include "PlainCaption.h"
#include "history/CidEventTable.h"

#include <algorithm>

QString TAlarmButtonsPage::ButtonCaption(int n) {
    return QStringLiteral("Тревожная кнопка %1").arg(n);
}
QString TAlarmButtonsPage::EnableCaption() {
    return QStringLiteral("Включить");
}
QString TAlarmButtonsPage::AlarmTypeCaption() {
    return QStringLiteral("Вид тревоги:");
}
QString TAlarmButtonsPage::SectionCaption() {
    return QStringLiteral("Номер раздела:");
}
QString TAlarmButtonsPage::LoopCaption() {
    return QStringLiteral("Номер шлейфа:");
}
QString TAlarmButtonsPage::HoldTimeCaption() {
    return QStringLiteral("Время удержания тревожной кнопки до передачи сообщения:");
}
QString TAlarmButtonsPage::AkbMessageCaption() {
    return QStringLiteral("Генерировать сообщение \"Разряд АКБ\".");
}

TAlarmButtonsPage::TAlarmButtonsPage(IPageHost& host, QObject* parent)
    : TPageModel(host, ptAlarmButtons, parent) {
    // No alarm type list yet.
    for (TAlarmButton& button : fState.Buttons)
        button.Item = -1;

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
                return ApplyRead([&](TAlarmButtonsState& s) {
                    ApplyReactionFlags(s, value);
                    return true;
                });
            },
        .Encode = [this, sent] { return sent(ReactionFlagsWriteValue(fState)); },
    });
    for (int n = 1; n <= AlarmButtonCount; ++n) {
        fParams.Param({
            .Command = ButtonCommand(n),
            .ReadName = ButtonError(n),
            .Decode =
                [this, n](const QString& value) {
                    return ApplyRead(
                        [&](TAlarmButtonsState& s) { return ApplyButtonValue(s, n, value, fAlarmTypes); });
                },
            .Encode = [this, n, sent] { return sent(ButtonWriteValue(fState, n, fAlarmTypes)); },
        });
    }
    fParams.Param({
        .Command = HoldTimeCommand,
        .ReadName = HoldTimeError,
        .Decode =
            [this](const QString& value) {
                return ApplyRead([&](TAlarmButtonsState& s) { return ::ApplyHoldTime(s, value); });
            },
        .Encode = [this, sent] { return sent(HoldTimeWriteValue(fState)); },
    });
}

void TAlarmButtonsPage::Init() {
    if (fAlarmTypes.isEmpty())
        fAlarmTypes = BuildAlarmTypeItems(TCidEventTable::Builtin().Lines());
    TAlarmButtonsState state = fState;
    for (int n = 1; n <= AlarmButtonCount; ++n)
        ::ChooseAlarmType(state, n, 0, fAlarmTypes);
    SetState(state);
}

void TAlarmButtonsPage::SetDefault() {
    TAlarmButtonsState state;
    ResetAlarmButtons(state);
    SetState(state);
    SetChanged(true);
}

QStringList TAlarmButtonsPage::Settings() const {
    return AlarmButtonsSettings(fState);
}

void TAlarmButtonsPage::LoadSettings(const QStringList& lines) {
    TAlarmButtonsState state;
    QStringList refused;
    if (LoadAlarmButtonsSettings(state, lines, int(fAlarmTypes.size()), &refused))
        SetState(state);
    else
        SetDefault();
    SetLoadRefused(refused);
    SetChanged(false);
}

QString TAlarmButtonsPage::SettingsCaption(const QString& key) const {
    const auto is = [&key](const QString& k) { return key.compare(k, Qt::CaseInsensitive) == 0; };
    // A button's controls are named alike for both buttons: the button tells
    // them apart.
    for (int n = 1; n <= AlarmButtonCount; ++n) {
        const std::pair<const char*, QString> controls[] = {
            {"Enable", EnableCaption()},
            {"Alarm", AlarmTypeCaption()},
            {"Section", SectionCaption()},
            {"Loop", LoopCaption()},
        };
        for (const auto& [stem, caption] : controls) {
            if (is(AlarmButtonKey(stem, n)))
                return ButtonCaption(n) + QStringLiteral(": ") + PlainCaption(caption);
        }
        if (is(AlarmCodeKey(n)))
            return ButtonCaption(n) + QStringLiteral(": ") + PlainCaption(AlarmTypeCaption()) +
                   QStringLiteral(" (код панели)");
    }
    if (is(HoldTimeKey()))
        return PlainCaption(HoldTimeCaption());
    if (is(HoldTimeKeptKey()))
        return PlainCaption(HoldTimeCaption()) + QStringLiteral(" (значение панели)");
    if (is(AkbMessageKey()))
        return PlainCaption(AkbMessageCaption());
    return TPageModel::SettingsCaption(key);
}

void TAlarmButtonsPage::SetEnabled(int n, bool on) {
    if (n >= 1 && n <= AlarmButtonCount)
        Edit([&](TAlarmButtonsState& s) { s.Buttons[size_t(n - 1)].Enabled = on; });
}

void TAlarmButtonsPage::ChooseAlarmType(int n, int item) {
    Edit([&](TAlarmButtonsState& s) { ::ChooseAlarmType(s, n, item, fAlarmTypes); });
}

void TAlarmButtonsPage::SetSection(int n, int section) {
    if (n >= 1 && n <= AlarmButtonCount)
        Edit([&](TAlarmButtonsState& s) {
            s.Buttons[size_t(n - 1)].Section = std::clamp(section, 0, SectionMax);
        });
}

void TAlarmButtonsPage::SetLoop(int n, int loop) {
    if (n >= 1 && n <= AlarmButtonCount)
        Edit([&](TAlarmButtonsState& s) { s.Buttons[size_t(n - 1)].Loop = std::clamp(loop, 0, LoopMax); });
}

void TAlarmButtonsPage::ChooseHoldTime(int item) {
    Edit([&](TAlarmButtonsState& s) { ::ChooseHoldTime(s, item); });
}

void TAlarmButtonsPage::SetAkbMessage(bool on) {
    Edit([&](TAlarmButtonsState& s) { s.AkbMessage = on; });
}

bool TAlarmButtonsPage::ApplyRead(const std::function<bool(TAlarmButtonsState&)>& apply) {
    TAlarmButtonsState state = fState;
    if (!apply(state))
        return false;
    SetState(state);
    return true;
}

void TAlarmButtonsPage::Edit(const std::function<void(TAlarmButtonsState&)>& change) {
    TAlarmButtonsState state = fState;
    change(state);
    if (state == fState)
        return;
    SetState(state);
    SetChanged(true);
}

void TAlarmButtonsPage::SetState(const TAlarmButtonsState& state) {
    if (state == fState)
        return;
    fState = state;
    NotifyValues();
}
