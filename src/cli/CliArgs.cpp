#include "CliArgs.h"

TCliArgs ParseCliArgs(const QStringList& args) {
    TCliArgs p;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto value = [&](QString& into) {
            if (i + 1 >= args.size()) {
                p.error = QStringLiteral("Параметру %1 нужно значение").arg(a);
                return;
            }
            into = args.at(++i);
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            p.help = true;
        } else if (a == QLatin1String("--version")) {
            p.version = true;
        } else if (a == QLatin1String("--quiet") || a == QLatin1String("-q")) {
            p.quiet = true;
        } else if (a == QLatin1String("--port")) {
            value(p.options.Port);
        } else if (a == QLatin1String("--modem")) {
            value(p.options.Phone);
            p.options.Modem = true;
        } else if (a == QLatin1String("--yes")) {
            p.yes = true;
        } else if (a == QLatin1String("--all")) {
            p.all = true;
        } else if (a == QLatin1String("--out")) {
            value(p.out);
        } else if (a == QLatin1String("--last")) {
            value(p.last);
        } else if (a == QLatin1String("--pages")) {
            value(p.pages);
        } else if (a == QLatin1String("--erase-journal")) {
            p.eraseJournal = true;
        } else if (a == QLatin1String("--new")) {
            p.newRecords = true;
        } else if (a == QLatin1String("--no-archive")) {
            p.noArchive = true;
        } else if (a == QLatin1String("--archive")) {
            value(p.archive);
        } else if (a == QLatin1String("--run")) {
            value(p.run);
        } else if (a == QLatin1String("--at")) {
            value(p.at);
        } else if (a == QLatin1String("--log")) {
            value(p.options.LogFile);
        } else if (a == QLatin1String("--timeout")) {
            QString text;
            value(text);
            bool ok = false;
            const uint ms = text.toUInt(&ok);
            if (p.error.isEmpty() && (!ok || ms > 600000))
                p.error = QStringLiteral("Неверное время ожидания: %1").arg(text);
            p.options.TimeOut = ms;
        } else if (a.startsWith(QLatin1String("--"))) {
            p.error = QStringLiteral("Неизвестный параметр %1").arg(a);
        } else if (p.command.isEmpty()) {
            p.command = a;
        } else {
            p.rest << a;
        }
        if (!p.error.isEmpty())
            break;
    }
    return p;
}
