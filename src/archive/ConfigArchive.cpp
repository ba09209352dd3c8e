#include "ConfigArchive.h"

#include "Archive.h"
#include "ArchiveTransaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
// Lines as one text: a settings line holds no line end (the file's reader
// refuses control characters).
const QChar kLineEnd = QLatin1Char('\n');
} // namespace

QString ConfigDirectionText(TConfigDirection direction) {
    return direction == TConfigDirection::Read ? QStringLiteral("чтение") : QStringLiteral("запись");
}

std::optional<qint64> TConfigArchive::Store(qint64 panel, const QStringList& lines,
                                            TConfigDirection direction, const QString& user,
                                            const QDateTime& when) {
    QSqlDatabase& db = fArchive.Db();
    TArchiveTransaction transaction(db);
    if (!transaction.Begun())
        return fArchive.Fail(transaction.Error()), std::nullopt;
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("INSERT INTO configurations(panel_id, saved_at, direction, user_name, settings) "
                       "VALUES(?, ?, ?, ?, ?)"));
    query.addBindValue(panel);
    query.addBindValue(ArchiveTimeText(when));
    query.addBindValue(direction == TConfigDirection::Read ? QStringLiteral("read")
                                                           : QStringLiteral("written"));
    query.addBindValue(ArchiveText(user));
    query.addBindValue(ArchiveText(lines.join(kLineEnd)));
    if (!query.exec())
        return fArchive.Fail(query.lastError().text()), std::nullopt;
    const qint64 id = query.lastInsertId().toLongLong();
    if (!transaction.Commit())
        return fArchive.Fail(transaction.Error()), std::nullopt;
    return id;
}

std::optional<QList<TArchivedConfig>> TConfigArchive::List(qint64 panel) {
    QSqlQuery query(fArchive.Db());
    query.prepare(QStringLiteral("SELECT id, saved_at, direction, user_name, settings FROM configurations "
                                 "WHERE panel_id = ? ORDER BY id"));
    query.addBindValue(panel);
    if (!query.exec())
        return fArchive.Fail(query.lastError().text()), std::nullopt;
    QList<TArchivedConfig> configs;
    while (query.next()) {
        TArchivedConfig config;
        config.Id = query.value(0).toLongLong();
        config.Number = int(configs.size()) + 1;
        config.SavedAt = ArchiveTime(query.value(1).toString());
        config.Direction = query.value(2).toString() == QLatin1String("written") ? TConfigDirection::Written
                                                                                 : TConfigDirection::Read;
        config.User = query.value(3).toString();
        const QString text = query.value(4).toString();
        config.Lines = text.isEmpty() ? QStringList() : text.split(kLineEnd);
        configs.append(config);
    }
    return configs;
}

QString TConfigArchive::Error() const {
    return fArchive.Error();
}
