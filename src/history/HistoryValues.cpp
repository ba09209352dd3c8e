#include "HistoryValues.h"

#include <charconv>
#include <tuple>

namespace {

QString YesNo(bool value) {
    return value ? QStringLiteral("ДА") : QStringLiteral("НЕТ");
}

// The locale's long time format without its time-zone part: the panel's
// clock carries no zone.
QString TimeFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.trimmed();
}

} // namespace

int ObjectNumber(const THistoryRec& rec) {
    const auto& d = rec.cid;
    return d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3];
}

int EventCode(const THistoryRec& rec) {
    const auto& d = rec.cid;
    return d[7] * 100 + d[8] * 10 + d[9];
}

int PartitionNumber(const THistoryRec& rec) {
    const auto& d = rec.cid;
    return d[10] * 10 + d[11];
}

int ZoneNumber(const THistoryRec& rec) {
    const auto& d = rec.cid;
    return d[12] * 100 + d[13] * 10 + d[14];
}

QString EventKey(const THistoryRec& rec) {
    const auto& d = rec.cid;
    // Each digit as its decimal number, written one after another into one
    // buffer: the key is made for every record listed, filtered or exported.
    char text[16];
    char* end = text;
    for (const uint8_t digit : {d[7], d[8], d[9], d[6]})
        end = std::to_chars(end, text + sizeof text, digit).ptr;
    return QString::fromLatin1(text, end - text);
}

QString EventText(const THistoryRec& rec, const TCidEventTable& table) {
    return table.Text(EventKey(rec));
}

QString RawMessage(const THistoryRec& rec) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    char text[2 * std::tuple_size_v<decltype(rec.cid)>];
    char* end = text;
    for (const uint8_t d : rec.cid) {
        if (d > 0xF)
            *end++ = kHex[d >> 4];
        *end++ = kHex[d & 0xF];
    }
    return QString::fromLatin1(text, end - text);
}

bool CidSumValid(const THistoryRec& rec) {
    if (!rec.cidhex)
        return false;
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        const int d = rec.cid[size_t(i)];
        sum += d == 0 ? 10 : d;
    }
    const int check = 15 - sum % 15;
    const int digit = rec.cid[15];
    return digit == check || (check == 10 && digit == 0);
}

int DeliveredCount(const THistoryRec& rec) {
    int n = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (!(rec.phones & (1u << bit)))
            ++n;
    }
    return n;
}

int DirectionCount(const TDirectionTable& directions) {
    return directions[TDirectionRec::kEntries - 1].Direction;
}

QString ChannelText(uint8_t code) {
    switch (code) {
    case ctNone: return QString();
    case ctVoice: return QStringLiteral("Голосовой звонок; ");
    case ctCsd: return QStringLiteral("CSD");
    case ctGprsIp1: return QStringLiteral("GPRS IP 1; ");
    case ctGprsIp2: return QStringLiteral("GPRS IP 2; ");
    case ctSmsRelvan: return QStringLiteral("SMS Relvan; ");
    case ctSmsMobile: return QStringLiteral("SMS");
    default: return QStringLiteral("Не определено; ");
    }
}

QString ChannelsText(const THistoryRec& rec, const TDirectionTable& directions) {
    if (rec.sendflag == 2)
        return QStringLiteral("GPRS");
    QString out;
    for (int i = 0; i < TDirectionRec::kEntries; ++i) {
        if (rec.phones & (1u << i))
            continue;
        const uint8_t channel = directions[size_t(i)].Channel;
        out += ChannelText(channel);
        if (channel == ctCsd || channel == ctSmsMobile)
            out += QStringLiteral(" на тел. %1;").arg(i + 1);
    }
    return out;
}

bool DeliveredToAll(const THistoryRec& rec, const TDirectionTable& directions, TRecordView view) {
    if (view == TRecordView::List && rec.sendflag == 2)
        return true;
    return DeliveredCount(rec) == DirectionCount(directions);
}

QString DateTimeText(const QDateTime& value, const QLocale& locale) {
    if (!value.isValid())
        return QString();
    const QString date = locale.toString(value.date(), QLocale::ShortFormat);
    if (value.time() == QTime(0, 0))
        return date;
    return date + u' ' + locale.toString(value.time(), TimeFormatWithoutZone(locale));
}

QStringList HistoryColumnCaptions() {
    return {QStringLiteral("№"),
            QStringLiteral("Время"),
            QStringLiteral("Объект"),
            QStringLiteral("Код"),
            QStringLiteral("Раздел"),
            QStringLiteral("Шлейф"),
            QStringLiteral("Событие CID"),
            QStringLiteral("Посылка"),
            QStringLiteral("КС CID"),
            QStringLiteral("Передано по всем"),
            QStringLiteral("Каналы передачи"),
            QStringLiteral("Глобальный индекс"),
            QStringLiteral("КС")};
}

QString ColumnText(const THistoryRec& rec, int column, const TCidEventTable& table,
                   const TDirectionTable& directions, TRecordView view, const QLocale& locale) {
    switch (column) {
    case hcIndex: return QString::number(rec.index);
    case hcTime: return DateTimeText(rec.datetime, locale);
    case hcObject: return QString::number(ObjectNumber(rec));
    case hcCode: return QString::number(EventCode(rec));
    case hcPartition: return QString::number(PartitionNumber(rec));
    case hcZone: return QString::number(ZoneNumber(rec));
    case hcEventText: return EventText(rec, table);
    case hcMessage: return (view == TRecordView::Export ? QStringLiteral("'") : QString()) + RawMessage(rec);
    case hcCidSum: return YesNo(CidSumValid(rec));
    case hcDeliveredAll: return YesNo(DeliveredToAll(rec, directions, view));
    case hcChannels: return ChannelsText(rec, directions);
    case hcGlobalIndex: return QString::number(rec.globalindex);
    case hcRecordSum: return YesNo(rec.csisvalud);
    default: return QString();
    }
}

QStringList RecordTexts(const THistoryRec& rec, const TCidEventTable& table,
                        const TDirectionTable& directions, TRecordView view, const QLocale& locale) {
    QStringList cells;
    cells.reserve(hcColumnCount);
    for (int column = 0; column < hcColumnCount; ++column)
        cells.append(ColumnText(rec, column, table, directions, view, locale));
    return cells;
}
