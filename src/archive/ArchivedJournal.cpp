#include "ArchivedJournal.h"

#include "JournalArchive.h"

#include "history/HistoryUnit.h"

bool LoadArchivedRun(TJournalArchive& journal, qint64 panel, int run, THistory& history) {
    const std::optional<QList<TArchivedRecord>> records = journal.Run(panel, run);
    if (!records)
        return false;
    history.Clear();
    for (const TArchivedRecord& rec : *records)
        history.Add(rec.Raw);
    return true;
}
