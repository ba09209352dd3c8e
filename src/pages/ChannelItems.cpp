#include "ChannelItems.h"

namespace {

const QString NotUsed = QStringLiteral("Не используется");
const QString Csd = QStringLiteral("Цифровой канал GSM");
const QString GprsIp1 = QStringLiteral("GPRS-offline IP1");
const QString GprsIp2 = QStringLiteral("GPRS-offline IP2");
const QString SmsRelvan = QStringLiteral("SMS Relvan");
const QString SmsMobile = QStringLiteral("SMS на мобильный телефон");
const QString Voice = QStringLiteral("Голосовой звонок (до поднятия трубки)");

// Channel type code by item, for the lists without and with GPRS-online.
constexpr uint8_t OfflineCodes[] = {ctNone, ctCsd, ctGprsIp1, ctGprsIp2, ctSmsRelvan, ctSmsMobile, ctVoice};
constexpr uint8_t OnlineCodes[] = {ctNone, ctCsd, ctSmsRelvan, ctSmsMobile, ctVoice};

int Checked(int item, TChannelTable table) {
    return item >= 0 && item < ChannelItemCount(table) ? item : ChannelNoItem;
}

} // namespace

const QList<TChannelItem>& ChannelItems(TChannelTable table) {
    static const QList<TChannelItem> a = {{NotUsed, ciNotUsed},   {Csd, ciComputerPhone},
                                          {GprsIp1, ciMobile},    {GprsIp2, ciMobile},
                                          {SmsRelvan, ciMessage}, {SmsMobile, ciMessage}};
    static const QList<TChannelItem> b = {
        {NotUsed, ciNotUsed}, {Csd, ciComputerPhone}, {SmsRelvan, ciMessage}, {SmsMobile, ciMessage}};
    static const QList<TChannelItem> c = a + QList<TChannelItem>{{Voice, ciMobile}};
    static const QList<TChannelItem> d = b + QList<TChannelItem>{{Voice, ciMobile}};
    switch (table) {
    case TChannelTable::A: return a;
    case TChannelTable::B: return b;
    case TChannelTable::C: return c;
    case TChannelTable::D: break;
    }
    return d;
}

int ChannelItemCount(TChannelTable table) {
    return int(ChannelItems(table).size());
}

bool IsGprsOnlineTable(TChannelTable table) {
    return table == TChannelTable::B || table == TChannelTable::D;
}

std::optional<TChannelTable> ChannelTableFor(int release, bool gprsOnline) {
    if (release < 0 || release >= 1000)
        return std::nullopt;
    if (release <= 32)
        return gprsOnline ? TChannelTable::B : TChannelTable::A;
    return gprsOnline ? TChannelTable::D : TChannelTable::C;
}

std::optional<TChannelFill> FillChannelLists(int release, bool gprsOnline, TFillReason reason,
                                             const TChannelSelections& items) {
    const std::optional<TChannelTable> table = ChannelTableFor(release, gprsOnline);
    if (!table)
        return std::nullopt;
    TChannelFill fill{*table, {}};
    for (int r = 0; r < ChannelRowCount; ++r) {
        const int i = items[r];
        int next = 0;
        if (reason == TFillReason::GprsOnline) {
            // The GPRS-online lists lack the two GPRS-offline items 2 and 3;
            // everything after them moves two places.
            if (i <= 1)
                next = i < 0 ? 0 : i;
            else if (gprsOnline)
                next = i <= 3 ? 0 : i - 2;
            else
                next = i + 2;
            next = Checked(next, *table);
        } else {
            next = Checked(i, *table) == ChannelNoItem ? 0 : i;
        }
        fill.Items[r] = next;
    }
    return fill;
}

uint8_t ChannelCodeOf(TChannelTable table, int item) {
    if (Checked(item, table) == ChannelNoItem)
        return ctNone;
    return IsGprsOnlineTable(table) ? OnlineCodes[item] : OfflineCodes[item];
}

int SelectChannelCode(TChannelTable table, int code, int current) {
    int item = current;
    if (IsGprsOnlineTable(table)) {
        switch (code) {
        case ctNone: item = 0; break;
        case ctVoice: item = 4; break;
        case ctCsd: item = 1; break;
        case ctSmsRelvan: item = 2; break;
        case ctSmsMobile: item = 3; break;
        default: return current; // GPRS-offline, or no channel type
        }
    } else {
        if (code < ctNone || code > ctSmsMobile)
            return current;
        item = code == ctVoice ? 6 : code == ctNone ? 0 : code - 1;
    }
    return Checked(item, table);
}

bool IsKeptChannelCode(int code) {
    return code >= ChannelFirstKeptCode && code <= ChannelLastKeptCode;
}

int KeptCodeItem(TChannelTable table, int code) {
    if (IsGprsOnlineTable(table))
        return ChannelNoItem;
    return Checked(code - 1, table);
}
