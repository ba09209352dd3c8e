#include "ArchiveTransaction.h"

#include <QSqlError>
#include <QSqlQuery>

TArchiveTransaction::TArchiveTransaction(QSqlDatabase& db) : fDb(db) {
    // BEGIN IMMEDIATE takes the write lock at once: a second program on the
    // same file waits (busy_timeout) instead of failing half way.
    QSqlQuery begin(fDb);
    fOpen = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!fOpen)
        fError = begin.lastError().text();
}

TArchiveTransaction::~TArchiveTransaction() {
    if (fOpen)
        QSqlQuery(fDb).exec(QStringLiteral("ROLLBACK"));
}

bool TArchiveTransaction::Commit() {
    if (!fOpen)
        return false;
    QSqlQuery commit(fDb);
    if (!commit.exec(QStringLiteral("COMMIT"))) {
        fError = commit.lastError().text();
        return false;
    }
    fOpen = false;
    return true;
}
