#include "ImageSummary.h"

#include "FirmwareBlocks.h"
#include "HexRecord.h"

#include <algorithm>

namespace {

QString Address(quint64 a) {
    return QStringLiteral("0x") + QString::number(a, 16).toUpper().rightJustified(a > 0xFFFF ? 8 : 4, '0');
}

QString TypeCode(int type) {
    return QStringLiteral("%1").arg(type, 2, 16, QLatin1Char('0')).toUpper();
}

QList<TAddressRange> Joined(QList<TAddressRange> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const TAddressRange& a, const TAddressRange& b) { return a.First < b.First; });
    QList<TAddressRange> out;
    for (const TAddressRange& r : ranges) {
        if (!out.isEmpty() && r.First <= out.last().End)
            out.last().End = std::max(out.last().End, r.End);
        else
            out.append(r);
    }
    return out;
}

} // namespace

TImageSummary SummariseImage(const TFirmwareImage& image) {
    TImageSummary s;
    s.Name = image.Name;
    s.Lines = int(image.Lines.size());
    s.Blocks = int(PlanUpload(image.Lines).Blocks.size());

    quint32 base = 0;
    QList<TAddressRange> ranges;
    QMap<int, qint64> carried; // bytes of the records that are not data, by type
    for (const QString& line : image.Lines) {
        const std::optional<THexRecord> r = ParseHexRecord(line);
        if (!r)
            continue;
        s.SentBytes += r->Data.size();
        if (r->Type == hrData) {
            s.DataBytes += r->Data.size();
            if (!r->Data.isEmpty()) {
                const quint32 first = base + r->Address;
                ranges.append({first, quint64(first) + quint64(r->Data.size())});
            }
            continue;
        }
        ++s.OtherRecords[r->Type];
        carried[r->Type] += r->Data.size();
        const quint32 value = r->Data.size() == 2 ? quint32(quint8(r->Data[0]) << 8 | quint8(r->Data[1])) : 0;
        if (r->Type == hrExtendedSegmentAddress)
            base = value << 4;
        else if (r->Type == hrExtendedLinearAddress)
            base = value << 16;
    }
    s.Ranges = Joined(ranges);

    for (auto it = carried.cbegin(); it != carried.cend(); ++it) {
        if (it.value() == 0)
            continue;
        s.Warnings.append(QStringLiteral("Внимание: загрузчик получит как данные байты записей типа %1 (%2): "
                                         "записей %3, байт %4.")
                              .arg(TypeCode(it.key()), HexRecordTypeName(it.key()))
                              .arg(s.OtherRecords.value(it.key()))
                              .arg(it.value()));
    }
    return s;
}

QStringList SummaryText(const TImageSummary& s) {
    QStringList out;
    out << QStringLiteral("Файл: %1").arg(s.Name);
    out << QStringLiteral("Строк: %1, блоков по %2 строк: %3").arg(s.Lines).arg(kLinesPerBlock).arg(s.Blocks);
    out << QStringLiteral("Байт данных: %1 (загрузчику уходит байт: %2)").arg(s.DataBytes).arg(s.SentBytes);
    QStringList ranges;
    for (const TAddressRange& r : s.Ranges)
        ranges << QStringLiteral("%1–%2").arg(Address(r.First), Address(r.End - 1));
    out << QStringLiteral("Адреса: %1").arg(ranges.isEmpty() ? QStringLiteral("нет") : ranges.join(", "));
    QStringList others;
    for (auto it = s.OtherRecords.cbegin(); it != s.OtherRecords.cend(); ++it)
        others << QStringLiteral("%1 (%2): %3")
                      .arg(TypeCode(it.key()), HexRecordTypeName(it.key()))
                      .arg(it.value());
    out << QStringLiteral("Записи кроме данных: %1")
               .arg(others.isEmpty() ? QStringLiteral("нет") : others.join("; "));
    out << s.Warnings;
    return out;
}
