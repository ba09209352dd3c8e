#include "CliArchive.h"

#include "CliArgs.h"
#include "CliJournal.h"
#include "CliSession.h"
#include "StandardOutput.h"

#include "archive/Archive.h"
#include "archive/ArchivedJournal.h"
#include "archive/ConfigArchive.h"
#include "archive/JournalArchive.h"
#include "history/HistoryExport.h"
#include "history/HistoryUnit.h"
#include "pages/SettingsFile.h"
#include "prefs/FileUtils.h"

#include <QDir>
#include <QTextStream>

#include <optional>

namespace {

// Times as the lists show them: the workstation's local time, one format
// whatever the locale.
QString LocalTime(const QDateTime& when) {
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// A whole number from 1 up, or nothing.
std::optional<int> Ordinal(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 1 ? std::optional<int>(n) : std::nullopt;
}

class TArchiveCommand {
public:
    TArchiveCommand(const TCliArgs& args, QTextStream& out, QTextStream& err)
        : p(args), fOut(out), fErr(err) {}

    bool Open() {
        if (fArchive.Open(p.archive.isEmpty() ? TArchive::DefaultPath() : p.archive))
            return true;
        return ArchiveError();
    }

    int ArchiveFailed() {
        ArchiveError();
        return ceArchiveFailed;
    }

    // The panel named on the command line; nothing (with the exit code in
    // fCode) when the archive does not know it.
    std::optional<TArchivePanel> Panel(const QString& object) {
        std::optional<TArchivePanel> panel = fArchive.Panel(object);
        if (!panel) {
            if (!fArchive.Error().isEmpty()) {
                fCode = ArchiveFailed();
            } else {
                fErr << QStringLiteral("В архиве нет панели с номером объекта %1\n").arg(object);
                fCode = ceNotInArchive;
            }
        }
        return panel;
    }

    int List() {
        const std::optional<QList<TArchivePanel>> panels = fArchive.Panels();
        if (!panels)
            return ArchiveFailed();
        for (const TArchivePanel& panel : *panels) {
            fOut << QStringLiteral("%1\t%2\t%3\tподключение %4\tзаписей журнала %5 (серий %6)\tнастроек %7\n")
                        .arg(panel.Object, panel.VersionLine, panel.Memory, LocalTime(panel.LastSeen))
                        .arg(panel.Records)
                        .arg(panel.Runs)
                        .arg(panel.Configurations);
        }
        if (panels->isEmpty())
            fErr << QStringLiteral("Архив пуст: %1\n").arg(QDir::toNativeSeparators(fArchive.Path()));
        return ceOk;
    }

    int ListPanel(const QString& object) {
        const std::optional<TArchivePanel> panel = Panel(object);
        if (!panel)
            return fCode;
        TJournalArchive journal(fArchive);
        const std::optional<QList<int>> runs = journal.Runs(panel->Id);
        if (!runs)
            return ArchiveFailed();
        fOut << QStringLiteral("Панель %1: %2, память %3\n")
                    .arg(panel->Object, panel->VersionLine, panel->Memory);
        for (const int run : *runs) {
            const std::optional<QList<TArchivedRecord>> records = journal.Run(panel->Id, run);
            if (!records)
                return ArchiveFailed();
            if (records->isEmpty())
                continue;
            QDateTime last = records->first().ReadAt;
            for (const TArchivedRecord& rec : *records)
                last = std::max(last, rec.ReadAt);
            fOut << QStringLiteral("Журнал, серия %1: записей %2, индексы %3–%4, прочитаны до %5\n")
                        .arg(run)
                        .arg(records->size())
                        .arg(records->first().Index)
                        .arg(records->last().Index)
                        .arg(LocalTime(last));
        }
        const std::optional<QList<TArchivedConfig>> configs = TConfigArchive(fArchive).List(panel->Id);
        if (!configs)
            return ArchiveFailed();
        for (const TArchivedConfig& config : *configs) {
            fOut << QStringLiteral("Настройки %1: %2, %3, %4\n")
                        .arg(config.Number)
                        .arg(LocalTime(config.SavedAt), ConfigDirectionText(config.Direction), config.User);
        }
        return ceOk;
    }

    int Journal(const QString& object) {
        const std::optional<TArchivePanel> panel = Panel(object);
        if (!panel)
            return fCode;
        TJournalArchive journal(fArchive);
        const std::optional<QList<int>> runs = journal.Runs(panel->Id);
        if (!runs)
            return ArchiveFailed();
        const int run = p.run.isEmpty() ? (runs->isEmpty() ? 0 : runs->last()) : Ordinal(p.run).value_or(0);
        if (!runs->contains(run)) {
            fErr << (runs->isEmpty() ? QStringLiteral("В архиве нет журнала панели %1\n").arg(object)
                                     : QStringLiteral("В архиве нет серии %1 журнала панели %2 (есть 1–%3)\n")
                                           .arg(p.run, object)
                                           .arg(runs->last()));
            return ceNotInArchive;
        }
        THistory history;
        if (!LoadArchivedRun(journal, panel->Id, run, history))
            return ArchiveFailed();
        const std::vector<int> rows = ExportRowList(history, -1, -1);
        const bool toOut = IsStandardOutput(p.out);
        const TExportResult written =
            toOut ? ExportToStandardOutput(history, rows, fOut) : ExportHistory(history, rows, p.out);
        if (!written.Ok) {
            fErr << written.Error << '\n';
            return ceOutputFailed;
        }
        Done(QStringLiteral("Записано записей: %1 в %2").arg(written.Rows).arg(Target()), toOut);
        return ceOk;
    }

    int Config(const QString& object) {
        const std::optional<TArchivePanel> panel = Panel(object);
        if (!panel)
            return fCode;
        const std::optional<QList<TArchivedConfig>> configs = TConfigArchive(fArchive).List(panel->Id);
        if (!configs)
            return ArchiveFailed();
        const int number = p.at.isEmpty() ? int(configs->size()) : Ordinal(p.at).value_or(0);
        if (number < 1 || number > configs->size()) {
            fErr << (configs->isEmpty() ? QStringLiteral("В архиве нет настроек панели %1\n").arg(object)
                                        : QStringLiteral("В архиве нет настроек %1 панели %2 (есть 1–%3)\n")
                                              .arg(p.at, object)
                                              .arg(configs->size()));
            return ceNotInArchive;
        }
        const TSettingsFile file(configs->at(number - 1).Lines);
        if (IsStandardOutput(p.out)) {
            QString reason;
            if (!WriteStandardOutput(fOut, TSettingsFile::Encode(file.Lines()), &reason)) {
                fErr << QStringLiteral("Не удалось записать файл настроек в %1: %2\n")
                            .arg(StandardOutputName(), reason);
                return ceSettingsFileFailed;
            }
        } else if (const TSettingsFile::TResult written = file.Write(p.out); !written) {
            fErr << written.Error << '\n';
            return ceSettingsFileFailed;
        }
        Done(QStringLiteral("Записаны настройки %1 панели %2 в %3").arg(number).arg(object, Target()),
             IsStandardOutput(p.out));
        return ceOk;
    }

    int Remove(const QString& object) {
        const std::optional<TArchivePanel> panel = Panel(object);
        if (!panel)
            return fCode;
        if (!fArchive.RemovePanel(object))
            return ArchiveFailed();
        Done(QStringLiteral("Панель %1 удалена из архива: записей журнала %2, настроек %3")
                 .arg(object)
                 .arg(panel->Records)
                 .arg(panel->Configurations),
             false);
        return ceOk;
    }

private:
    bool ArchiveError() {
        fErr << QStringLiteral("Ошибка архива: %1\n").arg(fArchive.Error());
        return false;
    }

    QString Target() const {
        return IsStandardOutput(p.out) ? StandardOutputName() : QDir::toNativeSeparators(p.out);
    }

    // What was done: on standard output, or on standard error when standard
    // output carries the file; nothing when quiet.
    void Done(const QString& line, bool toErr) {
        if (p.quiet)
            return;
        (toErr ? fErr : fOut) << line << '\n';
    }

    const TCliArgs& p;
    QTextStream& fOut;
    QTextStream& fErr;
    TArchive fArchive;
    int fCode = ceOk;
};

} // namespace

int RunArchiveCommand(const TCliArgs& p, QTextStream& out, QTextStream& err,
                      const std::function<int(const QString&)>& usage) {
    if (p.noArchive)
        return usage(QStringLiteral("archive с --no-archive: нечего делать"));
    const QString what = p.rest.value(0);
    const QStringList words = p.rest.mid(1);
    const bool list = what == QLatin1String("list");
    const bool journal = what == QLatin1String("journal");
    const bool config = what == QLatin1String("config");
    const bool remove = what == QLatin1String("remove");
    if (!list && !journal && !config && !remove)
        return usage(what.isEmpty()
                         ? QStringLiteral("Не указано, что сделать с архивом (list, journal, config, remove)")
                         : QStringLiteral("Неизвестная команда архива %1").arg(what));
    if (words.size() > 1 || (!list && words.isEmpty()))
        return usage(words.isEmpty() ? QStringLiteral("Не указан номер объекта панели")
                                     : QStringLiteral("Лишние слова: %1").arg(words.mid(1).join(' ')));
    const QString object = words.value(0);
    if ((journal || config) && p.out.isEmpty())
        return usage(journal ? QStringLiteral("Не указан файл таблицы (--out)")
                             : QStringLiteral("Не указан файл настроек (--out)"));
    if (journal && !IsStandardOutput(p.out) && !ExportFormatOf(p.out))
        return usage(QStringLiteral("Файл таблицы должен быть .xlsx или .csv: %1").arg(p.out));
    if (!p.run.isEmpty() && (!journal || !Ordinal(p.run)))
        return usage(journal ? QStringLiteral("Неверный номер серии: %1").arg(p.run)
                             : QStringLiteral("--run только для archive journal"));
    if (!p.at.isEmpty() && (!config || !Ordinal(p.at)))
        return usage(config ? QStringLiteral("Неверный номер настроек: %1").arg(p.at)
                            : QStringLiteral("--at только для archive config"));
    if (remove && !p.yes)
        return usage(
            QStringLiteral("Удаление панели из архива необратимо: подтвердите его параметром --yes"));
    // A file of the wrong kind is refused before the archive is read.
    if ((journal || config) && !IsStandardOutput(p.out)) {
        if (const QString problem = ForbiddenTargetProblem(p.out); !problem.isEmpty()) {
            err << QStringLiteral("Не удалось записать файл %1: %2\n")
                       .arg(QDir::toNativeSeparators(p.out), problem);
            return journal ? ceOutputFailed : ceSettingsFileFailed;
        }
    }

    TArchiveCommand command(p, out, err);
    if (!command.Open())
        return ceArchiveFailed;
    int code = ceOk;
    if (list)
        code = object.isEmpty() ? command.List() : command.ListPanel(object);
    else if (journal)
        code = command.Journal(object);
    else if (config)
        code = command.Config(object);
    else
        code = command.Remove(object);
    out.flush();
    err.flush();
    return code;
}
