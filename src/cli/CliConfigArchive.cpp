#include "CliConfigArchive.h"

#include "CliArgs.h"
#include "CliSession.h"

#include "panel/CommandExchange.h"

#include <QTextStream>

TCliConfigArchive::TCliConfigArchive(const TCliArgs& args)
    : fArchive(args.archive.isEmpty() ? TArchive::DefaultPath() : args.archive) {
    fArchive.SetEnabled(!args.noArchive);
}

bool TCliConfigArchive::Open(QTextStream& err) {
    if (!fArchive.Enabled() || fArchive.Open())
        return true;
    err << QStringLiteral("Ошибка архива: %1\n").arg(fArchive.Error());
    return false;
}

bool TCliConfigArchive::Keep(TCliSession& session, const QStringList& lines, TConfigDirection direction,
                             QTextStream& err) {
    fArchive.NewConnection(session.Version());
    if (fArchive.KeepConfiguration(lines, direction, session.Exchange(), ExchangeTimeout::Param))
        return true;
    err << QStringLiteral("Ошибка архива: настройки не сохранены: %1\n").arg(fArchive.Error());
    return false;
}
