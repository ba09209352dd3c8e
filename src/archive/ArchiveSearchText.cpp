#include "ArchiveSearchText.h"

#include "history/CidEventTable.h"
#include "history/HistoryRec.h"
#include "history/HistoryValues.h"

#include <QStringList>

TRecordToStore ArchiveRecord(int index, const QString& line) {
    TRecordToStore rec{index, line, line.toLower(), QString()};
    const std::optional<THistoryRec> parsed = ParseRecord(line);
    if (!parsed)
        return rec;
    const QStringList parts{QString::number(EventCode(*parsed)), QString::number(ZoneNumber(*parsed)),
                            QString::number(PartitionNumber(*parsed)), RawMessage(*parsed)};
    rec.Search = parts.join(QChar(0x1F)).toLower();
    rec.Event = EventKey(*parsed);
    return rec;
}

TArchiveFilter ArchiveFilterFor(const QString& text) {
    TArchiveFilter filter{text.trimmed(), {}};
    if (filter.IsEmpty())
        return filter;
    for (const TCidEvent& event : TCidEventTable::Builtin().Events()) {
        if (event.Text.contains(filter.Text, Qt::CaseInsensitive))
            filter.Events.append(event.Key);
    }
    return filter;
}
