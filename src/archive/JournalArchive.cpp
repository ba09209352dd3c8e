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

constexpr qsizetype kRowsPerInsert = 128;

// An insert of `rows` records; a record held already takes the newer line.
QString InsertStatement(qsizetype rows) {
    QString values;
    for (qsizetype i = 0; i < rows; ++i)
        values +=
            i == 0 ? QStringLiteral("(?, ?, ?, ?, ?, ?, ?)") : QStringLiteral(", (?, ?, ?, ?, ?, ?, ?)");
    return QStringLiteral(
               "INSERT INTO journal_records(panel_id, run, idx, raw, search, event, read_at) VALUES %1 "
               "ON CONFLICT(panel_id, run, idx) DO UPDATE SET raw = excluded.raw, "
               "search = excluded.search, event = excluded.event, read_at = excluded.read_at "
               "WHERE raw <> excluded.raw")
        .arg(values);
}

const QString kColumns = QStringLiteral("SELECT run, idx, raw, read_at FROM journal_records ");

TArchivedRecord RecordOf(const QSqlQuery& query) {
    TArchivedRecord rec;
    rec.Run = query.value(0).toInt();
    rec.Index = query.value(1).toInt();
    rec.Raw = query.value(2).toString();
    rec.ReadAt = QDateTime::fromMSecsSinceEpoch(query.value(3).toLongLong(), Qt::UTC);
    return rec;
}

// The filter's condition (empty for no filter) and its values.
QString FilterCondition(const TArchiveFilter& filter, QVariantList& values) {
    if (filter.IsEmpty())
        return {};
    values.append(filter.Text.trimmed().toLower());
    QString events;
    for (const QString& key : filter.Events) {
        events += events.isEmpty() ? QStringLiteral("?") : QStringLiteral(", ?");
        values.append(key);
    }
    return events.isEmpty() ? QStringLiteral(" AND instr(search, ?) > 0")
                            : QStringLiteral(" AND (instr(search, ?) > 0 OR event IN (%1))").arg(events);
}

} // namespace

QString TJournalArchive::Error() const {
    return fArchive.Error();
}

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
        const auto [lo, hi] = std::minmax_element(
            records.cbegin(), records.cend(), [](const auto& a, const auto& b) { return a.Index < b.Index; });
        QSqlQuery held(db);
        held.setForwardOnly(true);
        held.prepare(QStringLiteral("SELECT idx, raw FROM journal_records "
                                    "WHERE panel_id = ? AND run = ? AND idx BETWEEN ? AND ?"));
        held.addBindValue(panel);
        held.addBindValue(run);
        held.addBindValue(lo->Index);
        held.addBindValue(hi->Index);
        if (!held.exec())
            return fArchive.Fail(held.lastError().text());
        QHash<int, QString> lines;
        while (held.next())
            lines.insert(held.value(0).toInt(), held.value(1).toString());
        held.finish();
        for (const TRecordToStore& rec : records) {
            const auto it = lines.constFind(rec.Index);
            if (it != lines.cend() && RecordIdentity(*it) != RecordIdentity(rec.Raw)) {
                run = head->Run + 1;
                break;
            }
        }
    }

    // Many rows a statement: the statements, not the rows, cost the most.
    const qint64 at = readAt.toMSecsSinceEpoch();
    QSqlQuery insert(db);
    qsizetype prepared = 0;
    for (qsizetype first = 0; first < records.size(); first += kRowsPerInsert) {
        const qsizetype rows = std::min<qsizetype>(kRowsPerInsert, records.size() - first);
        if (rows != prepared) {
            insert.prepare(InsertStatement(rows));
            prepared = rows;
        }
        int column = 0;
        for (qsizetype i = first; i < first + rows; ++i) {
            const TRecordToStore& rec = records.at(i);
            insert.bindValue(column++, panel);
            insert.bindValue(column++, run);
            insert.bindValue(column++, rec.Index);
            insert.bindValue(column++, ArchiveText(rec.Raw));
            insert.bindValue(column++, ArchiveText(rec.Search));
            insert.bindValue(column++, ArchiveText(rec.Event));
            insert.bindValue(column++, at);
        }
        if (!insert.exec())
            return fArchive.Fail(insert.lastError().text());
    }
    if (!transaction.Commit())
        return fArchive.Fail(transaction.Error());
    return true;
}

std::optional<QList<TArchivedRecord>> TJournalArchive::Select(qint64 panel, const TArchiveFilter& filter,
                                                              const QString& where,
                                                              const QVariantList& values,
                                                              const QString& tail) {
    QVariantList bound{panel};
    const QString condition = FilterCondition(filter, bound);
    bound += values;
    QSqlQuery query(fArchive.Db());
    query.setForwardOnly(true);
    query.prepare(kColumns + QStringLiteral("WHERE panel_id = ?") + condition + where + tail);
    for (const QVariant& value : bound)
        query.addBindValue(value);
    if (!query.exec())
        return fArchive.Fail(query.lastError().text()), std::nullopt;
    QList<TArchivedRecord> records;
    while (query.next())
        records.append(RecordOf(query));
    return records;
}

std::optional<QList<TArchivedRecord>> TJournalArchive::Page(qint64 panel, const TArchiveFilter& filter,
                                                            qint64 offset, int count) {
    return Select(panel, filter, {}, {std::max(count, 0), std::max<qint64>(offset, 0)},
                  QStringLiteral(" ORDER BY run DESC, idx DESC LIMIT ? OFFSET ?"));
}

std::optional<QList<TArchivedRecord>> TJournalArchive::Older(qint64 panel, const TArchiveFilter& filter,
                                                             const std::optional<TArchiveKey>& before,
                                                             int count) {
    if (!before)
        return Page(panel, filter, 0, count);
    return Select(panel, filter, QStringLiteral(" AND (run, idx) < (?, ?)"),
                  {before->Run, before->Index, std::max(count, 0)},
                  QStringLiteral(" ORDER BY run DESC, idx DESC LIMIT ?"));
}

std::optional<QList<TArchivedRecord>> TJournalArchive::Newer(qint64 panel, const TArchiveFilter& filter,
                                                             const TArchiveKey& after, int count) {
    std::optional<QList<TArchivedRecord>> records =
        Select(panel, filter, QStringLiteral(" AND (run, idx) > (?, ?)"),
               {after.Run, after.Index, std::max(count, 0)}, QStringLiteral(" ORDER BY run, idx LIMIT ?"));
    if (records)
        std::reverse(records->begin(), records->end());
    return records;
}

std::optional<qint64> TJournalArchive::Count(qint64 panel, const TArchiveFilter& filter) {
    QVariantList bound{panel};
    const QString condition = FilterCondition(filter, bound);
    QSqlQuery query(fArchive.Db());
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM journal_records WHERE panel_id = ?") + condition);
    for (const QVariant& value : bound)
        query.addBindValue(value);
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
    return Select(panel, {}, QStringLiteral(" AND run = ?"), {run}, QStringLiteral(" ORDER BY idx"));
}
