#include "ArchiveSearchText.h"

#include "history/CidEventTable.h"
#include "history/HistoryRec.h"
#include "history/HistoryValues.h"

#include <QStringList>

QString ArchiveSearchText(const QString& line) {
    const std::optional<THistoryRec> rec = ParseRecord(line);
    if (!rec)
        return line.toLower();
    const QStringList parts{QString::number(EventCode(*rec)), QString::number(ZoneNumber(*rec)),
                            QString::number(PartitionNumber(*rec)), RawMessage(*rec),
                            EventText(*rec, TCidEventTable::Builtin())};
    return parts.join(QChar(0x1F)).toLower();
}
