#pragma once

#include <QSqlDatabase>
#include <QString>

// One write transaction of the archive: begun when made, rolled back unless
// committed, so that a failed step leaves the file as it was.
class TArchiveTransaction {
public:
    explicit TArchiveTransaction(QSqlDatabase& db);
    ~TArchiveTransaction();
    TArchiveTransaction(const TArchiveTransaction&) = delete;
    TArchiveTransaction& operator=(const TArchiveTransaction&) = delete;

    bool Begun() const { return fOpen; }
    bool Commit();
    QString Error() const { return fError; }

private:
    QSqlDatabase& fDb;
    bool fOpen = false;
    QString fError;
};
