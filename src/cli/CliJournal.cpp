#include "CliJournal.h"

#include "StandardOutput.h"

#include "archive/JournalRecorder.h"
#include "archive/PanelArchive.h"

#include "history/CsvHistoryWriter.h"
#include "history/HistoryExport.h"
#include "history/HistoryUnit.h"
#include "history/JournalProgress.h"
#include "history/WakeUpSwitch.h"
#include "panel/CommandExchange.h"
#include "prefs/FileUtils.h"

#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QTextStream>

#include <memory>

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

TExportResult ExportToStandardOutput(const THistory& history, const std::vector<int>& rows,
                                     QTextStream& out) {
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    QString reason;
    if (!WriteHistoryCsv(history, rows, csv) || !WriteStandardOutput(out, csv.data(), &reason))
        return {false,
                QStringLiteral("Не удалось записать таблицу в %1: %2").arg(StandardOutputName(), reason)};
    return {true, QString(), int(rows.size())};
}

int RunJournal(const TCliOptions& options, const TJournalOptions& journal, QTextStream& out, QTextStream& err,
               const TLinkTimings& timings) {
    TCliProgress progress(err, journal.Progress);
    QTextStream& errors = progress.Err();
    const bool toOut = IsStandardOutput(journal.Out);
    // A file of the wrong kind, or someone else's link, is told before the journal is read.
    if (const QString problem = toOut ? QString() : ForbiddenTargetProblem(journal.Out); !problem.isEmpty()) {
        errors << QStringLiteral("Не удалось записать файл %1: %2\n")
                      .arg(QDir::toNativeSeparators(journal.Out), problem);
        return ceOutputFailed;
    }
    // The archive is opened before the port: one that cannot be costs no
    // panel time.
    std::unique_ptr<TPanelArchive> archive;
    if (journal.Archive) {
        archive = std::make_unique<TPanelArchive>(journal.ArchivePath.isEmpty() ? TArchive::DefaultPath()
                                                                                : journal.ArchivePath);
        if (!archive->Open()) {
            errors << QStringLiteral("Ошибка архива: %1\n").arg(archive->Error());
            return ceArchiveFailed;
        }
    }
    TCliSession session(options, out, errors, timings);
    const int connected = session.Connect();
    if (connected != ceOk)
        return session.Finish(connected);

    THistory history;
    TJournalReader reader(session.Exchange(), history);
    reader.SetTiming(journal.Timing);
    QObject::connect(&reader, &TJournalReader::ReadProgress, [&](int done, int total, qint64 msLeft) {
        progress.Progress(JournalProgressText(done, total, msLeft),
                          total > 0 ? int(qint64(done) * 100 / total) : 100);
    });

    std::unique_ptr<TJournalRecorder> recorder;
    int archiveCode = ceOk;
    if (archive) {
        archive->NewConnection(session.Version());
        const std::optional<qint64> panel =
            archive->ConnectedPanel(session.Exchange(), journal.Timing.PointerTimeOut);
        if (!panel) {
            errors << QStringLiteral("Ошибка архива: %1\n").arg(archive->Error());
            // Without the panel's name there is nothing to be new against.
            const int code = archive->ConnectedObject().isEmpty() ? ceExchangeFailed : ceArchiveFailed;
            if (journal.New)
                return session.Finish(code);
            archiveCode = code;
        } else {
            recorder = std::make_unique<TJournalRecorder>(archive->Journal(), session.Exchange(), *panel);
            recorder->SetReadTimeOut(journal.Timing.FirstReadTimeOut);
            recorder->Attach(reader);
        }
    }
    QEventLoop loop;
    TJournalResult result;
    QObject::connect(&reader, &TJournalReader::ReadFinished, &loop, [&](const TJournalResult& r) {
        result = r;
        loop.quit();
    });
    if (journal.New)
        reader.StartReadFrom([&recorder](int) { return recorder->FirstNewIndex(); });
    else if (journal.All)
        reader.StartReadAll();
    else
        reader.StartReadNewest(journal.Last);
    loop.exec();
    progress.End();

    PrintErrors(result.Errors, errors);
    if (recorder && !recorder->Error().isEmpty()) {
        errors << QStringLiteral("Ошибка архива: %1\n").arg(recorder->Error());
        archiveCode = ceArchiveFailed;
    } else if (recorder && journal.New) {
        progress.Note(QStringLiteral("В архиве сохранено записей: %1 (объект %2)")
                          .arg(recorder->Stored())
                          .arg(archive->ConnectedObject()));
    }
    if (result.Empty) {
        errors << "Журнал панели пуст: файл не записан\n";
        return session.Finish(archiveCode != ceOk ? archiveCode : ceJournalEmpty);
    }
    if (journal.New && result.Span.IsEmpty() && result.Errors.isEmpty()) {
        errors << "Новых записей в журнале панели нет: файл не записан\n";
        return session.Finish(archiveCode != ceOk ? archiveCode : ceJournalEmpty);
    }
    const int readCode = !result.Errors.isEmpty() ? ceExchangeFailed : archiveCode;
    const std::vector<int> rows = ExportRowList(history, result.Span.From, result.Span.To);
    if (rows.empty()) {
        errors << "Записи журнала не прочитаны: файл не записан\n";
        return session.Finish(ceExchangeFailed);
    }
    const TExportResult written =
        toOut ? ExportToStandardOutput(history, rows, out) : ExportHistory(history, rows, journal.Out);
    if (!written.Ok) {
        errors << written.Error << '\n';
        return session.Finish(ceOutputFailed);
    }
    const QString done = QStringLiteral("Записано записей: %1 в %2")
                             .arg(written.Rows)
                             .arg(toOut ? StandardOutputName() : QDir::toNativeSeparators(journal.Out));
    if (toOut) {
        progress.Note(done);
    } else if (!progress.Quiet()) {
        out << done << '\n';
        out.flush();
    }
    return session.Finish(readCode);
}

int RunEraseJournal(const TCliOptions& options, const TJournalTiming& timing, QTextStream& out,
                    QTextStream& err, const TLinkTimings& timings, TProgressStyle style) {
    TCliProgress progress(err, style);
    QTextStream& errors = progress.Err();
    TCliSession session(options, out, errors, timings);
    const int connected = session.Connect();
    if (connected != ceOk)
        return session.Finish(connected);

    THistory history;
    TJournalReader reader(session.Exchange(), history);
    reader.SetTiming(timing);
    TSessionWakeUp wakeUp(session);
    progress.Note(
        QStringLiteral("Очистка журнала панели (до %1 с)...").arg((timing.EraseTimeOut + 999) / 1000));
    const TJournalResult result = reader.Erase(wakeUp);
    if (!result.Ok()) {
        PrintErrors(result.Errors, errors);
        return session.Finish(ceExchangeFailed);
    }
    if (!progress.Quiet()) {
        out << "Журнал панели очищен\n";
        out.flush();
    }
    return session.Finish(ceOk);
}
