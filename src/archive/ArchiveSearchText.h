#pragma once

#include "JournalArchive.h"

#include <QString>

// A record line as the archive keeps it: its search text is the event code,
// zone, partition and Contact ID message as the history list's filter sees
// them, in lower case and apart from one another (a filter text never
// matches across two of them); its event is the key of its event text. A
// line that is no record: itself in lower case, and no event.
TRecordToStore ArchiveRecord(int index, const QString& line);

// The filter the history list's filter text makes over the archive: the
// text in the search texts, or in the event texts of the program's table.
TArchiveFilter ArchiveFilterFor(const QString& text);
