#pragma once

#include <QString>

// What the archive's filter looks in for a record line: the event code,
// zone, partition, Contact ID message and event text, as the history list's
// filter sees them, in lower case and apart from one another (a filter text
// never matches across two of them). A line that is no record: itself, in
// lower case.
QString ArchiveSearchText(const QString& line);
