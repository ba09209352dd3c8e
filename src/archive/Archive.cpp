#include "Archive.h"

#include "ArchiveSchema.h"
#include "ArchiveTransaction.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QAtomicInteger<quint64> gConnections;

// How long a write waits for another program holding the file.
constexpr int kBusyTimeoutMs = 5000;

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Creates the file for the owner alone when there is none; refuses anything
// but a regular file (or a link to one).
QString PrepareFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        if (!info.exists())
            return QStringLiteral("ссылка никуда не ведёт");
        if (!info.isFile())
            return QStringLiteral("это не обычный файл");
        return {};
    }
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("не удалось создать папку %1").arg(QDir::toNativeSeparators(folder));
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST)
        return SystemReason(errno);
    if (fd >= 0)
        ::close(fd);
    return {};
}

} // namespace

QString ArchiveTimeText(const QDateTime& when) {
    return when.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime ArchiveTime(const QString& text) {
    QDateTime when = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!when.isValid())
        when = QDateTime::fromString(text, Qt::ISODate);
    return when.toUTC();
}

QString ArchiveText(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

TArchive::TArchive() : fConnection(QStringLiteral("tarvik-archive-%1").arg(++gConnections)) {}

TArchive::~TArchive() {
    if (fDb.isValid()) {
        fDb.close();
        fDb = QSqlDatabase();
    }
    if (QSqlDatabase::contains(fConnection))
        QSqlDatabase::removeDatabase(fConnection);
}

QString TArchive::DefaultPath() {
    // The window's application data folder (QStandardPaths::AppDataLocation
    // for the organisation Velmor and the application Tarvik1), named here
    // so that the command line, which sets no such names, finds the same file.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(QStringLiteral("Velmor/Tarvik1/archive.sqlite"));
}

bool TArchive::Fail(const QString& reason) {
    fError = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(fPath), reason);
    return false;
}

bool TArchive::Open(const QString& path) {
    fPath = path;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return Fail(QStringLiteral("нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite)"));
    if (const QString problem = PrepareFile(path); !problem.isEmpty())
        return Fail(problem);
    fDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), fConnection);
    fDb.setDatabaseName(path);
    fDb.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!fDb.open())
        return Fail(fDb.lastError().text());
    QSqlQuery query(fDb);
    // The log keeps every committed transaction of a process killed at any
    // moment; NORMAL syncs it at checkpoints, which costs a power cut at
    // most the last transactions, never the file.
    // Reads go through a memory map of the file (a filter scans a panel's
    // whole journal) and a cache of 32 MB.
    const char* const setup[] = {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL",
                                 "PRAGMA foreign_keys = ON", "PRAGMA mmap_size = 1073741824",
                                 "PRAGMA cache_size = -32768"};
    for (const char* statement : setup) {
        if (!query.exec(QString::fromLatin1(statement))) {
            const QString reason = query.lastError().text();
            fDb.close();
            return Fail(reason);
        }
    }
    QString error;
    if (!MigrateArchive(fDb, &error)) {
        fDb.close();
        return Fail(error);
    }
    fError.clear();
    return true;
}

std::optional<qint64> TArchive::NoteConnection(const QString& object, const QString& versionLine,
                                               const QString& memory, const QDateTime& when) {
    TArchiveTransaction transaction(fDb);
    if (!transaction.Begun())
        return Fail(transaction.Error()), std::nullopt;
    const QString at = ArchiveTimeText(when);
    QSqlQuery query(fDb);
    query.prepare(QStringLiteral(
        "INSERT INTO panels(object, version_line, memory, first_seen, last_seen) VALUES(?, ?, ?, ?, ?) "
        "ON CONFLICT(object) DO UPDATE SET version_line = excluded.version_line, "
        "memory = excluded.memory, last_seen = excluded.last_seen"));
    query.addBindValue(ArchiveText(object));
    query.addBindValue(ArchiveText(versionLine));
    query.addBindValue(ArchiveText(memory));
    query.addBindValue(at);
    query.addBindValue(at);
    if (!query.exec())
        return Fail(query.lastError().text()), std::nullopt;
    query.prepare(QStringLiteral("SELECT id FROM panels WHERE object = ?"));
    query.addBindValue(ArchiveText(object));
    if (!query.exec() || !query.next())
        return Fail(query.lastError().text()), std::nullopt;
    const qint64 id = query.value(0).toLongLong();
    query.prepare(
        QStringLiteral("INSERT INTO connections(panel_id, at, version_line, memory) VALUES(?, ?, ?, ?)"));
    query.addBindValue(id);
    query.addBindValue(at);
    query.addBindValue(ArchiveText(versionLine));
    query.addBindValue(ArchiveText(memory));
    if (!query.exec())
        return Fail(query.lastError().text()), std::nullopt;
    if (!transaction.Commit())
        return Fail(transaction.Error()), std::nullopt;
    return id;
}

namespace {

const QString kPanelColumns =
    QStringLiteral("SELECT p.id, p.object, p.version_line, p.memory, p.first_seen, p.last_seen,"
                   " (SELECT COUNT(*) FROM journal_records r WHERE r.panel_id = p.id),"
                   " (SELECT COUNT(DISTINCT run) FROM journal_records r WHERE r.panel_id = p.id),"
                   " (SELECT COUNT(*) FROM configurations c WHERE c.panel_id = p.id) FROM panels p");

TArchivePanel PanelOf(const QSqlQuery& query) {
    TArchivePanel panel;
    panel.Id = query.value(0).toLongLong();
    panel.Object = query.value(1).toString();
    panel.VersionLine = query.value(2).toString();
    panel.Memory = query.value(3).toString();
    panel.FirstSeen = ArchiveTime(query.value(4).toString());
    panel.LastSeen = ArchiveTime(query.value(5).toString());
    panel.Records = query.value(6).toLongLong();
    panel.Runs = query.value(7).toInt();
    panel.Configurations = query.value(8).toLongLong();
    return panel;
}

} // namespace

std::optional<TArchivePanel> TArchive::Panel(const QString& object) {
    fError.clear();
    QSqlQuery query(fDb);
    query.prepare(kPanelColumns + QStringLiteral(" WHERE p.object = ?"));
    query.addBindValue(object);
    if (!query.exec())
        return Fail(query.lastError().text()), std::nullopt;
    if (!query.next())
        return std::nullopt;
    return PanelOf(query);
}

std::optional<QList<TArchivePanel>> TArchive::Panels() {
    QSqlQuery query(fDb);
    if (!query.exec(kPanelColumns + QStringLiteral(" ORDER BY p.object")))
        return Fail(query.lastError().text()), std::nullopt;
    QList<TArchivePanel> panels;
    while (query.next())
        panels.append(PanelOf(query));
    return panels;
}

bool TArchive::RemovePanel(const QString& object) {
    TArchiveTransaction transaction(fDb);
    if (!transaction.Begun())
        return Fail(transaction.Error());
    QSqlQuery query(fDb);
    query.prepare(QStringLiteral("DELETE FROM panels WHERE object = ?"));
    query.addBindValue(object);
    if (!query.exec())
        return Fail(query.lastError().text());
    if (!transaction.Commit())
        return Fail(transaction.Error());
    return true;
}
