#pragma once

#include <QString>

class QSqlDatabase;

// The archive's tables, versioned by SQLite's user_version. A new file is
// brought to the newest version step by step; a file written by a newer
// program (a higher version) is refused rather than changed.
//
// Indexes: journal_records is a WITHOUT ROWID table keyed (panel_id, run,
// idx): that key serves the newest-first pages of a panel (walked from a
// record's key, never counted off from the start) and the lookup of one
// record; the filter scans the panel's part of it for a search text or an
// event key. Configurations are listed through (panel_id, id), connections
// through (panel_id, id).
inline constexpr int kArchiveSchemaVersion = 1;

// Brings the database to kArchiveSchemaVersion inside one transaction;
// false with the reason.
bool MigrateArchive(QSqlDatabase& db, QString* error);
