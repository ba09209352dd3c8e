#include "ArchiveSchema.h"

#include "ArchiveTransaction.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// Step n brings version n - 1 to version n. Steps are never changed once
// shipped: a later change of the tables is a new step.
const QStringList kSteps[] = {
    {
        QStringLiteral("CREATE TABLE panels("
                       " id INTEGER PRIMARY KEY,"
                       " object TEXT NOT NULL UNIQUE,"
                       " version_line TEXT NOT NULL DEFAULT '',"
                       " memory TEXT NOT NULL DEFAULT '',"
                       " first_seen TEXT NOT NULL,"
                       " last_seen TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE connections("
                       " id INTEGER PRIMARY KEY,"
                       " panel_id INTEGER NOT NULL REFERENCES panels(id) ON DELETE CASCADE,"
                       " at TEXT NOT NULL,"
                       " version_line TEXT NOT NULL,"
                       " memory TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX connections_panel ON connections(panel_id, id)"),
        QStringLiteral("CREATE TABLE journal_records("
                       " panel_id INTEGER NOT NULL REFERENCES panels(id) ON DELETE CASCADE,"
                       " run INTEGER NOT NULL,"
                       " idx INTEGER NOT NULL CHECK(idx BETWEEN 0 AND 65535),"
                       " raw TEXT NOT NULL,"
                       " search TEXT NOT NULL,"
                       " event TEXT NOT NULL,"
                       " read_at INTEGER NOT NULL,"
                       " PRIMARY KEY(panel_id, run, idx)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE configurations("
                       " id INTEGER PRIMARY KEY,"
                       " panel_id INTEGER NOT NULL REFERENCES panels(id) ON DELETE CASCADE,"
                       " saved_at TEXT NOT NULL,"
                       " direction TEXT NOT NULL CHECK(direction IN ('read', 'written')),"
                       " user_name TEXT NOT NULL,"
                       " settings TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX configurations_panel ON configurations(panel_id, id)"),
    },
};
constexpr int kStepCount = int(sizeof(kSteps) / sizeof(kSteps[0]));
static_assert(kStepCount == kArchiveSchemaVersion, "one migration step per schema version");

bool Fail(const QSqlQuery& query, QString* error) {
    if (error)
        *error = query.lastError().text();
    return false;
}

} // namespace

bool MigrateArchive(QSqlDatabase& db, QString* error) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return Fail(query, error);
    const int version = query.value(0).toInt();
    if (version > kArchiveSchemaVersion) {
        if (error)
            *error =
                QStringLiteral("архив записан более новой версией программы (версия схемы %1)").arg(version);
        return false;
    }
    if (version == kArchiveSchemaVersion)
        return true;
    TArchiveTransaction transaction(db);
    if (!transaction.Begun()) {
        if (error)
            *error = transaction.Error();
        return false;
    }
    for (int step = version; step < kArchiveSchemaVersion; ++step) {
        for (const QString& statement : kSteps[step]) {
            if (!query.exec(statement))
                return Fail(query, error);
        }
    }
    // PRAGMA takes no bound value; the number is the program's own.
    if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kArchiveSchemaVersion)))
        return Fail(query, error);
    if (!transaction.Commit()) {
        if (error)
            *error = transaction.Error();
        return false;
    }
    return true;
}
