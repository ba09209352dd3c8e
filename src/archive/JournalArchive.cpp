#include "JournalArchive.h"

#include "Archive.h"
#include "ArchiveTransaction.h"
#include "RecordIdentity.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

TArchivedRecord RecordOf(const QSqlQuery& query) {
    TArchivedRecord rec;
    rec.Run = query.value(0).toInt();
    rec.Index = query.value(1).toInt();
    rec.Raw = query.value(2).toString();
    rec.ReadAt = ArchiveTime(query.value(3).toString());
    return rec;
}

// The filter as the search texts hold it.
QString Needle(const QString& filter) {
    return filter.trimmed().toLower();
}

} // namespace

std::optional<TJournalHead> TJournalArchive::Head(qint64 panel) {
    QSqlQuery query(fArchive.Db());
    query.prepare(QStringLiteral("SELECT run, idx, raw FROM journal_records WHERE panel_id = ? "
                                 "ORDER BY run DESC, idx DESC LIMIT 1"));
    query.addBindValue(panel);
    if (!query.exec())
        return fArchive.Fail(query.lastError().text()), std::nullopt;
    TJournalHead head;
    if (query.next()) {
        head.Run = query.value(0).toInt();
        head.Index = query.value(1).toInt();
        head.Raw = query.value(2).toString();
    }
    return head;
}

bool TJournalArchive::Store(qint64 panel, const QList<TRecordToStore>& records, bool newRun,
                            const QDateTime& readAt) {
    if (records.isEmpty())
        return true;
    QSqlDatabase& db = fArchive.Db();
    TArchiveTransaction transaction(db);
    if (!transaction.Begun())
        return fArchive.Fail(transaction.Error());
    const std::optional<TJournalHead> head = Head(panel);
    if (!head)
        return false;

    int run = head->IsEmpty() ? 1 : head->Run;
    if (!head->IsEmpty() && newRun) {
        run = head->Run + 1;
    } else if (!head->IsEmpty()) {
        // What the run holds at the batch's indexes, in one query.
        const auto [lo, hi] = std::minmax_element(records.cbegin(), records.cend(),
                                                  [](const auto& a, const auto& b) { return a.Index < b.Index; });
        QSqlQuery held(db);
        held.setForwardOnly(true);
        held.prepare(QStringLiteral("SELECT idx, identity FROM journal_records "
                                    "WHERE panel_id = ? AND run = ? AND idx BETWEEN ? AND ?"));
        held.addBindValue(panel);
        held.addBindValue(run);
        held.addBindValue(lo->Index);
        held.addBindValue(hi->Index);
        if (!held.exec())
            return fArchive.Fail(held.lastError().text());
        QHash<int, QString> identities;
        while (held.next())
            identities.insert(held.value(0).toInt(), held.value(1).toString());
        for (const TRecordToStore& rec : records) {
            const auto it = identities.constFind(rec.Index);
            if (it != identities.cend() && *it != RecordIdentity(rec.Raw)) {
                run = head->Run + 1;
                break;
            }
        }
    }

    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "INSERT INTO journal_records(panel_id, run, idx, raw, identity, search, read_at) "
        "VALUES(?, ?, ?, ?, ?, ?, ?) ON CONFLICT(panel_id, run, idx) DO UPDATE SET "
        "raw = excluded.raw, search = excluded.search, read_at = excluded.read_at "
        "WHERE raw <> excluded.raw"));
    const QString at = ArchiveTimeText(readAt);
    for (const TRecordToStore& rec : records) {
        insert.bindValue(0, panel);
        insert.bindValue(1, run);
        insert.bindValue(2, rec.Index);
        insert.bindValue(3, ArchiveText(rec.Raw));
        insert.bindValue(4, RecordIdentity(rec.Raw));
        insert.bindValue(5, ArchiveText(rec.Search));
        insert.bindValue(6, at);
        if (!insert.exec())
            return fArchive.Fail(insert.lastError().text());
    }
    if (!transaction.Commit())
        return fArchive.Fail(transaction.Error());
    return true;
}

std::optional<QList<TArchivedRecord>> TJournalArchive::Page(qint64 panel, const QString& filter, qint64 offset,
                                                            int count) {
    const QString needle = Needle(filter);
    QSqlQuery query(fArchive.Db());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT run, idx, raw, read_at FROM journal_records WHERE panel_id = ?%1 "
                                 "ORDER BY run DESC, idx DESC LIMIT ? OFFSET ?")
                      .arg(needle.isEmpty() ? QString() : QStringLiteral(" AND instr(search, ?) > 0")));
    query.addBindValue(panel);
    if (!needle.isEmpty())
        query.addBindValue(needle);
    query.addBindValue(std::max(count, 0));
    query.addBindValue(std::max<qint64>(offset, 0));
    if (!query.exec())
        return fArchive.Fail(query.lastError().text()), std::nullopt;
    QList<TArchivedRecord> records;
    while (query.next())
        records.append(RecordOf(query));
    return records;
}

std::optional<qint64> TJournalArchive::Count(qint64 panel, const QString& filter) {
    const QString needle = Needle(filter);
    QSqlQuery query(fArchive.Db());
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM journal_records WHERE panel_id = ?%1")
                      .arg(needle.isEmpty() ? QString() : QStringLiteral(" AND instr(search, ?) > 0")));
    query.addBindValue(panel);
    if (!needle.isEmpty())
        query.addBindValue(needle);
    if (!query.exec() || !query.next())
        return fArchive.Fail(query.lastError().text()), std::nullopt;
    return query.value(0).toLongLong();
}

std::optional<QList<int>> TJournalArchive::Runs(qint64 panel) {
    QSqlQuery query(fArchive.Db());
    query.prepare(QStringLiteral("SELECT DISTINCT run FROM journal_records WHERE panel_id = ? ORDER BY run"));
    query.addBindValue(panel);
    if (!query.exec())
        return fArchive.Fail(query.lastError().text()), std::nullopt;
    QList<int> runs;
    while (query.next())
        runs.append(query.value(0).toInt());
    return runs;
}

std::optional<QList<TArchivedRecord>> TJournalArchive::Run(qint64 panel, int run) {
    QSqlQuery query(fArchive.Db());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT run, idx, raw, read_at FROM journal_records "
                                 "WHERE panel_id = ? AND run = ? ORDER BY idx"));
    query.addBindValue(panel);
    query.addBindValue(run);
    if (!query.exec())
        return fArchive.Fail(query.lastError().text()), std::nullopt;
    QList<TArchivedRecord> records;
    while (query.next())
        records.append(RecordOf(query));
    return records;
}

QString TJournalArchive::Error() const {
    return fArchive.Error();
}
