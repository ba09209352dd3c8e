#pragma once

#include <QString>

class QSqlDatabase;

// The archive's tables, versioned by SQLite's user_version. A new file is
// brought to the newest version step by step; a file written by a newer
// program (a higher version) is refused rather than changed.
//
// Indexes: journal_records is keyed (panel_id, run, idx), which serves the
// newest-first pages of a panel and the lookup of one record; the filter
// scans a panel's rows of that key for its search text. Configurations are
// listed through (panel_id, id).
inline constexpr int kArchiveSchemaVersion = 1;

// Brings the database to kArchiveSchemaVersion inside one transaction;
// false with the reason.
bool MigrateArchive(QSqlDatabase& db, QString* error);
