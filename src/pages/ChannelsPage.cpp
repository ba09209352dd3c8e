#include "ChannelsPage.h"

#include "PlainCaption.h"

namespace {

const QString OK = QStringLiteral("OK");

} // namespace

QString TChannelsPage::EraseBusyText() {
    return QStringLiteral("Очистка истории прибора: ожидание ответа панели (до %1 с)")
        .arg(ChannelsWire::EraseTimeOut / 1000);
}

QString TChannelsPage::PhoneCaption(int r) {
    return QStringLiteral("Телефон %1").arg(r);
}
QString TChannelsPage::ChannelCaption(int r) {
    return QStringLiteral("Тип передачи данных %1").arg(r);
}
QString TChannelsPage::AndCaption() {
    return QStringLiteral("И");
}
QString TChannelsPage::OrCaption() {
    return QStringLiteral("ИЛИ");
}
QString TChannelsPage::GprsOnlineCaption() {
    return QStringLiteral("Включить GPRS-online");
}
QString TChannelsPage::MoveCaption() {
    return QStringLiteral("Тип перехода по направлениям");
}

TChannelsPage::TChannelsPage(IPageHost& host, QObject* parent) : TPageModel(host, ptChannels, parent) {
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
                TChannelsState state = fState;
                ::SetGprsOnline(state, *on);
                SetState(state);
                return true;
            },
        .WriteName = GprsOnlineWriteError,
    });
    for (int i = 0; i < ChannelRowCount; ++i) {
        fEntryParams[size_t(i)] = &fParams.Param({
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
                TChannelsState state = fState;
                state.Move = ApplyMoveValue(value);
                SetState(state);
                return true;
            },
    });
}

TPageResult TChannelsPage::Read() {
    return Settle(RunOperation(wmRead, [this](QStringList& errors) {
        TPanelExchange& exchange = fHost.Exchange();
        // The switch first: the lists follow it before the entries go in.
        TParamTable::ReadParam(exchange, *fOnlineParam, errors);
        // An entry the panel does not give leaves its row as it stands; its
        // direction number takes part in the links as the row has it now.
        TChannelsState state = fState;
        const TChannelRows shown = state.Rows;
        FDirection = CollectDirections(state);
        std::array<bool, ChannelRowCount> read{};
        for (int i = 0; i < ChannelRowCount; ++i)
            read[size_t(i)] = TParamTable::ReadParam(exchange, *fEntryParams[size_t(i)], errors);
        ShowDirections(state, FDirection);
        for (int i = 0; i < ChannelRowCount; ++i) {
            if (!read[size_t(i)])
                state.Rows[size_t(i)] = shown[size_t(i)];
        }
        SetState(state);
        TParamTable::ReadParam(exchange, *fMoveParam, errors);
    }));
}

bool TChannelsPage::EraseHistory() {
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

QString TChannelsPage::WriteQuestion() const {
    return ChannelsWire::EraseQuestion;
}

TPageResult TChannelsPage::Write() {
    bool sent = false;
    TPageResult result = RunOperation(wmWrite, [this, &sent](QStringList& errors) {
        if (!fHost.Confirm(ChannelsWire::EraseQuestion))
            return;
        if (!EraseHistory())
            return;
        sent = true;
        TChannelsState state = fState;
        PackRows(state);
        SetState(state);
        TPanelExchange& exchange = fHost.Exchange();
        for (const TPageCommand& write : ChannelsWrites(fState)) {
            if (write.Line.isEmpty())
                errors.append(write.ErrorName);
            else
                exchange.SendParamToDevice(write.Line, errors, write.ErrorName, OK, ExchangeTimeout::Param);
        }
    });
    // A write the user declined (or that could not erase first) wrote nothing.
    if (!sent)
        result.Ran = false;
    return Settle(result);
}

void TChannelsPage::SetDefault() {
    TChannelsState state = fState;
    ResetChannels(state);
    SetState(state);
    SetChanged(true);
}

QStringList TChannelsPage::Settings() const {
    return ChannelsSettings(fState);
}

void TChannelsPage::LoadSettings(const QStringList& lines) {
    TChannelsState state = fState;
    LoadChannelsSettings(state, lines);
    SetState(state);
    SetChanged(false);
}

QString TChannelsPage::SettingsCaption(const QString& key) const {
    const auto is = [&key](const QString& k) { return key.compare(k, Qt::CaseInsensitive) == 0; };
    for (int r = 1; r <= ChannelRowCount; ++r) {
        if (is(ChannelsPhoneKey(r)))
            return PhoneCaption(r);
        if (is(ChannelsComboKey(r)))
            return ChannelCaption(r);
        if (is(ChannelsCodeKey(r)))
            return ChannelCaption(r) + QStringLiteral(" (код панели)");
    }
    // A link is a pair of switches, И and ИЛИ.
    for (int k = 1; k <= ChannelLinkCount; ++k) {
        if (is(ChannelsLinkKey(k)))
            return QStringLiteral("%1/%2 между строками %3 и %4")
                .arg(AndCaption(), OrCaption())
                .arg(k)
                .arg(k + 1);
    }
    if (is(ChannelsOnlineKey()))
        return PlainCaption(GprsOnlineCaption());
    if (is(ChannelsMoveKey()))
        return PlainCaption(MoveCaption());
    return TPageModel::SettingsCaption(key);
}

void TChannelsPage::DevRelease(int release) {
    TChannelsState state = fState;
    SetDevRelease(state, release);
    SetState(state);
}

std::optional<int> TChannelsPage::Release() const {
    return fState.ReleaseKnown ? std::optional<int>(fState.DevRelease) : std::nullopt;
}

std::vector<TPanelValue> TChannelsPage::PanelValues(const TChannelsState& state,
                                                    const TDirectionTable& entries) {
    using namespace ChannelsWire;
    // The writes' commands and names, in the writes' order.
    QStringList commands{GprsOnlineCommand};
    QStringList names{GprsOnlineReadError};
    for (int i = 0; i < ChannelRowCount; ++i) {
        commands << EntryReadCommand(i);
        names << EntryReadError(i);
    }
    commands << MoveCommand;
    names << MoveError;
    const std::vector<TPageCommand> writes = ChannelsWrites(state, entries);
    std::vector<TPanelValue> values;
    for (size_t k = 0; k < writes.size() && k < size_t(commands.size()); ++k) {
        const QString& command = commands.at(qsizetype(k));
        values.push_back({command, writes[k].Line.mid(command.size()), names.at(qsizetype(k))});
    }
    return values;
}

std::vector<TPanelValue> TChannelsPage::WriteValues() {
    TChannelsState state = fState;
    PackRows(state);
    return PanelValues(state, CollectDirections(state));
}

std::vector<TPanelValue> TChannelsPage::HeldValues() {
    return PanelValues(fState, FDirection);
}

void TChannelsPage::SetGprsOnline(bool on) {
    Edit([on](TChannelsState& s) { ::SetGprsOnline(s, on); });
}

void TChannelsPage::ChooseChannel(int r, int item) {
    Edit([r, item](TChannelsState& s) { ::ChooseChannel(s, r, item); });
}

void TChannelsPage::SetLink(int k, bool isAnd) {
    if (k >= 1 && k <= ChannelLinkCount)
        Edit([k, isAnd](TChannelsState& s) { s.LinkAnd[size_t(k - 1)] = isAnd; });
}

void TChannelsPage::SetPhone(int r, const QString& text) {
    if (r >= 1 && r <= ChannelRowCount)
        Edit([r, &text](TChannelsState& s) { s.Rows[size_t(r - 1)].Phone = text; });
}

void TChannelsPage::SetMove(int item) {
    if (item == 0 || item == 1)
        Edit([item](TChannelsState& s) { s.Move = item; });
}

void TChannelsPage::Edit(const std::function<void(TChannelsState&)>& change) {
    TChannelsState state = fState;
    change(state);
    if (state == fState)
        return;
    SetState(state);
    SetChanged(true);
}

void TChannelsPage::SetState(const TChannelsState& state) {
    if (state == fState)
        return;
    fState = state;
    NotifyValues();
}
