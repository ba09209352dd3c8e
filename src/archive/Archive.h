#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// A panel the archive knows, by its object number.
struct TArchivePanel {
    qint64 Id = 0;
    QString Object;      // the "+o" value as the panel gave it
    QString VersionLine; // at the last connection
    QString Memory;
    QDateTime FirstSeen; // UTC
    QDateTime LastSeen;
    qint64 Records = 0;        // journal records kept, every run
    int Runs = 0;              // runs of journal indexes (a new one after an erase or a wrap)
    qint64 Configurations = 0; // configurations kept
};

// The archive file: a SQLite database (Qt SQL, QSQLITE) in write-ahead-log
// mode, its tables brought to the program's version when opened. One
// object, one connection; every write of the archive's classes is a
// transaction of its own. The file and its log hold the panels'
// configurations, passwords included: they are created for the owner alone
// (0600) in a folder of the owner's (0700), and only a regular file is
// opened.
class TArchive {
public:
    TArchive();
    ~TArchive();
    TArchive(const TArchive&) = delete;
    TArchive& operator=(const TArchive&) = delete;

    // The archive of this user: archive.sqlite in the application's data
    // folder (~/.local/share/Velmor/Tarvik1, QStandardPaths::AppDataLocation
    // of the window).
    static QString DefaultPath();

    // Opens (and creates on first use) the file; false with Error(), which
    // names the file and the reason.
    bool Open(const QString& path);
    bool IsOpen() const { return fDb.isOpen(); }
    QString Path() const { return fPath; }
    QString Error() const { return fError; }
    QSqlDatabase& Db() { return fDb; }

    // A connection to the panel: the panel is added when new, its version
    // line and memory type noted (also in the list of its connections).
    // Its id, or nothing with Error().
    std::optional<qint64> NoteConnection(const QString& object, const QString& versionLine,
                                         const QString& memory, const QDateTime& when);
    // The panel with that object number; nothing when unknown (or the
    // query failed: Error() is then set).
    std::optional<TArchivePanel> Panel(const QString& object);
    // Every panel, by object number; nothing when the query failed.
    std::optional<QList<TArchivePanel>> Panels();
    // Removes the panel with its journal and configurations; false with
    // Error() (an unknown panel is no error: nothing to remove).
    bool RemovePanel(const QString& object);

    // Sets Error() to "<file>: <reason>" and returns false.
    bool Fail(const QString& reason);

private:
    QString fConnection;
    QSqlDatabase fDb;
    QString fPath;
    QString fError;
};

// Times in the archive: UTC, ISO 8601 with milliseconds, whatever the locale.
QString ArchiveTimeText(const QDateTime& when);
QDateTime ArchiveTime(const QString& text);
// A text as a value for a NOT NULL column: Qt binds a null QString as NULL.
QString ArchiveText(const QString& text);
