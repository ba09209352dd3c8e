#include "ChannelsState.h"

#include "ChannelsCodec.h"
#include "SettingsLookup.h"

#include <algorithm>

namespace {

TChannelSelections Selections(const TChannelRows& rows) {
    TChannelSelections items{};
    for (int r = 0; r < ChannelRowCount; ++r)
        items[r] = rows[r].Item;
    return items;
}

void Refill(TChannelsState& state, int release, TFillReason reason) {
    const std::optional<TChannelFill> fill =
        FillChannelLists(release, state.GprsOnline, reason, Selections(state.Rows));
    if (!fill)
        return;
    state.Table = fill->Table;
    for (int r = 0; r < ChannelRowCount; ++r) {
        TChannelRow& row = state.Rows[r];
        // A row with a kept code keeps it; its item follows the new list.
        row.Item = row.KeptCode == ChannelNoCode ? fill->Items[r] : KeptCodeItem(state.Table, row.KeptCode);
    }
}

} // namespace

QString ChannelsPhoneKey(int r) {
    return QStringLiteral("CPhone%1").arg(r);
}
QString ChannelsComboKey(int r) {
    return QStringLiteral("CCombo%1").arg(r);
}
QString ChannelsCodeKey(int r) {
    return QStringLiteral("CCode%1").arg(r);
}
QString ChannelsLinkKey(int k) {
    return QStringLiteral("logicAND%1").arg(k);
}
QString ChannelsOnlineKey() {
    return QStringLiteral("Online");
}
QString ChannelsMoveKey() {
    return QStringLiteral("Move");
}

TRowDirections RowDirections(const TChannelsState& state) {
    return NumberDirections(state.LinkAnd);
}

void SetDevRelease(TChannelsState& state, int release) {
    state.DevRelease = release;
    state.ReleaseKnown = true;
    Refill(state, release, TFillReason::Release);
}

void SetGprsOnline(TChannelsState& state, bool on) {
    if (state.GprsOnline == on)
        return;
    state.GprsOnline = on;
    Refill(state, state.ReleaseKnown ? state.DevRelease : ChannelInitRelease, TFillReason::GprsOnline);
}

void ChooseChannel(TChannelsState& state, int r, int item) {
    if (r < 1 || r > ChannelRowCount)
        return;
    state.Rows[r - 1].Item = item >= 0 && item < ChannelItemCount(state.Table) ? item : ChannelNoItem;
    state.Rows[r - 1].KeptCode = ChannelNoCode;
    KeepRowsPacked(state.Rows, r);
}

void ShowDirections(TChannelsState& state, const TDirectionTable& entries) {
    for (int i = 0; i < ChannelRowCount; ++i) {
        const TDirectionRec& rec = entries[i];
        TChannelRow& row = state.Rows[i];
        row.Phone = rec.Phone;
        if (IsKeptChannelCode(rec.Channel)) {
            row.KeptCode = rec.Channel;
            row.Item = KeptCodeItem(state.Table, rec.Channel);
        } else {
            row.KeptCode = ChannelNoCode;
            row.Item = SelectChannelCode(state.Table, rec.Channel, row.Item);
        }
        if (i > 0)
            state.LinkAnd[i - 1] = rec.Direction != entries[i - 1].Direction;
    }
}

void PackRows(TChannelsState& state) {
    for (int r = 2; r <= ChannelRowCount; ++r) {
        if (IsFreeRow(state.Rows[r - 1]))
            state.LinkAnd[r - 2] = false;
        KeepRowsPacked(state.Rows, r);
    }
}

TDirectionTable CollectDirections(const TChannelsState& state) {
    const TRowDirections numbers = RowDirections(state);
    TDirectionTable entries;
    int prev = 1;
    int count = 0;
    for (int i = 0; i < ChannelRowCount; ++i) {
        count = numbers[i] == prev ? count + 1 : 1;
        prev = numbers[i];
        TDirectionRec& rec = entries[i];
        rec.Direction = uint8_t(numbers[i]);
        rec.Order = uint8_t(count);
        const TChannelRow& row = state.Rows[i];
        rec.Channel =
            row.KeptCode != ChannelNoCode ? uint8_t(row.KeptCode) : ChannelCodeOf(state.Table, row.Item);
        rec.Phone = DirectionPhone(state.Rows[i].Phone);
    }
    return entries;
}

std::vector<TPageCommand> ChannelsWrites(const TChannelsState& state) {
    return ChannelsWrites(state, CollectDirections(state));
}

std::vector<TPageCommand> ChannelsWrites(const TChannelsState& state, const TDirectionTable& entries) {
    using namespace ChannelsWire;
    std::vector<TPageCommand> writes;
    writes.push_back({GprsOnlineCommand + GprsOnlineWriteValue(state.GprsOnline), GprsOnlineWriteError});
    for (int i = 0; i < ChannelRowCount; ++i)
        writes.push_back({DirectionWriteLine(i, entries[i]), EntryWriteError(i)});
    writes.push_back({MoveCommand + MoveWriteValue(state.Move), MoveError});
    return writes;
}

void ResetChannels(TChannelsState& state) {
    SetGprsOnline(state, false);
    for (TChannelRow& row : state.Rows)
        row = TChannelRow{};
    state.LinkAnd.fill(false);
    state.Move = 0;
}

QStringList ChannelsSettings(const TChannelsState& state) {
    QStringList lines;
    for (int r = 1; r <= ChannelRowCount; ++r) {
        const TChannelRow& row = state.Rows[r - 1];
        lines.append(ChannelsPhoneKey(r) + QLatin1Char('=') + row.Phone);
        lines.append(ChannelsComboKey(r) + QLatin1Char('=') + QString::number(row.Item));
        // A code no item writes goes in a key of its own, which a reader
        // of the file that does not know it passes over.
        if (row.KeptCode != ChannelNoCode)
            lines.append(ChannelsCodeKey(r) + QLatin1Char('=') + QString::number(row.KeptCode));
    }
    for (int k = 1; k <= ChannelLinkCount; ++k)
        lines.append(ChannelsLinkKey(k) + QLatin1Char('=') + QString::number(state.LinkAnd[k - 1] ? 1 : 0));
    lines.append(ChannelsOnlineKey() + QLatin1Char('=') + QString::number(state.GprsOnline ? 1 : 0));
    lines.append(ChannelsMoveKey() + QLatin1Char('=') + QString::number(state.Move));
    return lines;
}

bool LoadChannelsSettings(TChannelsState& state, const QStringList& lines) {
    int online = 0;
    int move = 0;
    std::array<int, ChannelRowCount> items{};
    std::array<int, ChannelLinkCount> links{};
    bool complete =
        SettingsInt(lines, ChannelsOnlineKey(), online) && SettingsInt(lines, ChannelsMoveKey(), move);
    for (int r = 1; complete && r <= ChannelRowCount; ++r)
        complete = SettingsInt(lines, ChannelsComboKey(r), items[r - 1]);
    for (int k = 1; complete && k <= ChannelLinkCount; ++k)
        complete = SettingsInt(lines, ChannelsLinkKey(k), links[k - 1]);
    if (!complete) {
        ResetChannels(state);
        return false;
    }

    SetGprsOnline(state, online != 0);
    const int count = ChannelItemCount(state.Table);
    for (int r = 1; r <= ChannelRowCount; ++r) {
        TChannelRow& row = state.Rows[r - 1];
        row.Phone = SettingsValue(lines, ChannelsPhoneKey(r));
        const int item = items[r - 1];
        row.Item = item >= 0 && item < count ? item : ChannelNoItem;
        int code = ChannelNoCode;
        row.KeptCode =
            SettingsInt(lines, ChannelsCodeKey(r), code) && IsKeptChannelCode(code) ? code : ChannelNoCode;
        if (row.KeptCode != ChannelNoCode)
            row.Item = KeptCodeItem(state.Table, code);
    }
    for (int k = 0; k < ChannelLinkCount; ++k)
        state.LinkAnd[k] = links[k] != 0;
    state.Move = std::clamp(move, 0, 1);
    return true;
}
