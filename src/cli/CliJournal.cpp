#include "CliJournal.h"

#include "history/HistoryExport.h"
#include "history/HistoryUnit.h"
#include "history/JournalProgress.h"
#include "history/WakeUpSwitch.h"
#include "panel/CommandExchange.h"
#include "prefs/FileUtils.h"

#include <QDir>
#include <QEventLoop>
#include <QTextStream>

namespace {

class TSessionWakeUp : public IWakeUpSwitch {
public:
    explicit TSessionWakeUp(TCliSession& session) : fSession(session) {}
    void SetWakeUp(bool on) override { fSession.SetWakeUp(on); }

private:
    TCliSession& fSession;
};

void PrintErrors(const QStringList& errors, QTextStream& err) {
    for (const QString& name : errors)
        err << QStringLiteral("Ошибка: %1\n").arg(name);
}

} // namespace

int RunJournal(const TCliOptions& options, const TJournalOptions& journal, QTextStream& out, QTextStream& err,
               const TLinkTimings& timings) {
    // A file of the wrong kind, or someone else's link, is told before the journal is read.
    if (const QString problem = ForbiddenTargetProblem(journal.Out); !problem.isEmpty()) {
        err << QStringLiteral("Не удалось записать файл %1: %2\n")
                   .arg(QDir::toNativeSeparators(journal.Out), problem);
        return ceOutputFailed;
    }
    TCliSession session(options, out, err, timings);
    const int connected = session.Connect();
    if (connected != ceOk)
        return session.Finish(connected);

    THistory history;
    TJournalReader reader(session.Exchange(), history);
    reader.SetTiming(journal.Timing);
    QObject::connect(&reader, &TJournalReader::ReadProgress, [&](int done, int total, qint64 msLeft) {
        err << JournalProgressText(done, total, msLeft) << '\n';
        err.flush();
    });
    QEventLoop loop;
    TJournalResult result;
    QObject::connect(&reader, &TJournalReader::ReadFinished, &loop, [&](const TJournalResult& r) {
        result = r;
        loop.quit();
    });
    if (journal.All)
        reader.StartReadAll();
    else
        reader.StartReadNewest(journal.Last);
    loop.exec();

    PrintErrors(result.Errors, err);
    if (result.Empty) {
        err << "Журнал панели пуст: файл не записан\n";
        return session.Finish(ceJournalEmpty);
    }
    const int readCode = result.Errors.isEmpty() ? ceOk : ceExchangeFailed;
    const std::vector<int> rows = ExportRowList(history, result.Span.From, result.Span.To);
    if (rows.empty()) {
        err << "Записи журнала не прочитаны: файл не записан\n";
        return session.Finish(ceExchangeFailed);
    }
    const TExportResult written = ExportHistory(history, rows, journal.Out);
    if (!written.Ok) {
        err << written.Error << '\n';
        return session.Finish(ceOutputFailed);
    }
    out << QStringLiteral("Записано записей: %1 в %2\n")
               .arg(written.Rows)
               .arg(QDir::toNativeSeparators(journal.Out));
    out.flush();
    return session.Finish(readCode);
}

int RunEraseJournal(const TCliOptions& options, const TJournalTiming& timing, QTextStream& out,
                    QTextStream& err, const TLinkTimings& timings) {
    TCliSession session(options, out, err, timings);
    const int connected = session.Connect();
    if (connected != ceOk)
        return session.Finish(connected);

    THistory history;
    TJournalReader reader(session.Exchange(), history);
    reader.SetTiming(timing);
    TSessionWakeUp wakeUp(session);
    err << QStringLiteral("Очистка журнала панели (до %1 с)...\n").arg((timing.EraseTimeOut + 999) / 1000);
    err.flush();
    const TJournalResult result = reader.Erase(wakeUp);
    if (!result.Ok()) {
        PrintErrors(result.Errors, err);
        return session.Finish(ceExchangeFailed);
    }
    out << "Журнал панели очищен\n";
    out.flush();
    return session.Finish(ceOk);
}
