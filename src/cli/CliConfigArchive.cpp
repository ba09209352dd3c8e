#include "CliConfigArchive.h"

#include "CliArgs.h"
#include "CliSession.h"

#include "archive/ArchiveUser.h"
#include "archive/PanelIdentity.h"
#include "pages/SettingsFile.h"
#include "panel/CommandExchange.h"

#include <QTextStream>

namespace {
const QString kObjectKey = QStringLiteral("Object");
} // namespace

TCliConfigArchive::TCliConfigArchive(const TCliArgs& args)
    : fOn(!args.noArchive), fPath(args.archive.isEmpty() ? TArchive::DefaultPath() : args.archive) {}

bool TCliConfigArchive::Open(QTextStream& err) {
    if (!fOn || fArchive.Open(fPath))
        return true;
    err << QStringLiteral("Ошибка архива: %1\n").arg(fArchive.Error());
    return false;
}

bool TCliConfigArchive::Keep(TCliSession& session, const QStringList& lines, TConfigDirection direction,
                             QTextStream& err) {
    if (!fOn)
        return true;
    const TSettingsFile file(lines);
    QString object = file.Value(kObjectKey);
    if (!file.Contains(kObjectKey) || object.isEmpty()) {
        QString reason;
        const std::optional<QString> number = ReadObjectNumber(session.Exchange(), ExchangeTimeout::Param, &reason);
        if (!number) {
            err << QStringLiteral("Ошибка архива: настройки не сохранены: %1\n").arg(reason);
            return false;
        }
        object = *number;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const std::optional<qint64> panel =
        fArchive.NoteConnection(object, session.Version().Name, session.Version().Memory, now);
    if (!panel || !TConfigArchive(fArchive).Store(*panel, lines, direction, ArchiveUserName(), now)) {
        err << QStringLiteral("Ошибка архива: %1\n").arg(fArchive.Error());
        return false;
    }
    return true;
}
