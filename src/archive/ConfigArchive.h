#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class TArchive;

// Whether a configuration was read from the panel or written to it.
enum class TConfigDirection { Read, Written };

// One configuration kept for a panel: the settings-file lines of the pages
// read or written, when, which way and by whom.
struct TArchivedConfig {
    qint64 Id = 0;
    int Number = 0;    // 1 for the panel's oldest, counting up
    QDateTime SavedAt; // UTC
    TConfigDirection Direction = TConfigDirection::Read;
    QString User;
    QStringList Lines;
};

// The configurations part of the archive.
class TConfigArchive {
public:
    explicit TConfigArchive(TArchive& archive) : fArchive(archive) {}

    // The last failure: the file and the reason.
    QString Error() const;

    // Keeps one configuration (in a transaction of its own); its id, or
    // nothing with the archive's Error().
    std::optional<qint64> Store(qint64 panel, const QStringList& lines, TConfigDirection direction,
                                const QString& user, const QDateTime& when);
    // The panel's configurations, oldest first, numbered from 1.
    std::optional<QList<TArchivedConfig>> List(qint64 panel);

private:
    TArchive& fArchive;
};

// "чтение" or "запись", as the lists show the direction.
QString ConfigDirectionText(TConfigDirection direction);
