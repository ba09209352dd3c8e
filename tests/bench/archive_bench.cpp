// archive_bench: how fast the panel archive is, on a real SQLite file in a
// temporary folder.
//
//   ArchiveStore/65536          a whole journal of 65 536 records stored in
//                               one transaction into a new archive, their
//                               search texts made as the recorder makes them
//   ArchivePage/1000000/<at>    a page of 20 records, newest first, of a
//                               panel with 1 000 000 archived records (16
//                               runs), at the start, the middle and the end
//   ArchiveFilter/1000000/<by>  the records of that panel whose search text
//                               holds a text ("снятие", an event text) or a
//                               code ("401"): the count and the first page
//   IncrementalRead/baud/19200  journal --new's read of 100 new records of a
//                               panel with 65 435 archived, over a line
//                               throttled to 19 200 baud with the panel's own
//                               answer delays: wall_s next to line_s (the
//                               bytes both ways, 10 bits a byte) and
//                               records_line_s (the 100 records' lines alone)
//
// The pages and the filter use the key (panel_id, run, idx) of
// journal_records (a WITHOUT ROWID table): a page walks it backwards from
// the panel's newest record; the filter scans the panel's part of it.
//
// Build and run (an optimised build; the machine otherwise idle):
//   cmake --build build --target archive_bench -j2
//   build/tests/bench/archive_bench
//
// --records=N archives N records instead of 1 000 000 for the page and the
// filter (--records=2000 is the smoke test's).
#include "archive/Archive.h"
#include "archive/ArchiveSearchText.h"
#include "archive/JournalArchive.h"
#include "archive/JournalRecorder.h"
#include "bench_main.h"
#include "cable_connect.h"
#include "history/HistoryUnit.h"
#include "history/JournalReader.h"
#include "panel/CommandExchange.h"
#include "serial/Device.h"
#include "test_wait.h"
#include "throttled_panel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

namespace {

int gRecords = 1000000;
constexpr int kJournal = 65536;
constexpr int kRunSize = 62500;

const QDateTime kWhen(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);

// A record line of event `code`, valid in form (75 characters).
QString LineFor(int index, int serial, const char* code) {
    const QString hex4 = QStringLiteral("%1").arg(index, 4, 16, QLatin1Char('0')).toUpper();
    const QString hex8 = QStringLiteral("%1").arg(serial, 8, 16, QLatin1Char('0')).toUpper();
    return hex4 + QStringLiteral("005018") + QLatin1String(code) +
           QStringLiteral("0100500FFFFFFFFFFFFFFFFF1\"24/03/01,07:12:00+12\"") + hex8 +
           QStringLiteral("00FA00");
}

// Mostly alarms (1130), one in 50 an opening (1401).
QList<TRecordToStore> Batch(int first, int count, int serialBase) {
    QList<TRecordToStore> batch;
    batch.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int serial = serialBase + i;
        const QString line = LineFor(first + i, serial, serial % 50 == 0 ? "1401" : "1130");
        batch.append(ArchiveRecord(first + i, line));
    }
    return batch;
}

void ArchiveStore(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        TArchive archive;
        if (!archive.Open(dir.filePath(QStringLiteral("a.sqlite")))) {
            state.SkipWithError(archive.Error().toStdString().c_str());
            return;
        }
        const qint64 panel = archive.NoteConnection(QStringLiteral("0050"), {}, {}, kWhen).value();
        TJournalArchive journal(archive);
        state.ResumeTiming();
        if (!journal.Store(panel, Batch(0, kJournal, 0), false, kWhen)) {
            state.SkipWithError(journal.Error().toStdString().c_str());
            return;
        }
    }
}

// The part of the store that is no SQL: each line's search text and event.
void ArchiveRecords(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Batch(0, kJournal, 0).size());
}

// One archive of gRecords records for the page and filter benchmarks.
struct BigArchive {
    QTemporaryDir dir;
    TArchive archive;
    qint64 panel = 0;
    QString error;

    BigArchive() {
        if (!archive.Open(dir.filePath(QStringLiteral("big.sqlite")))) {
            error = archive.Error();
            return;
        }
        panel = archive.NoteConnection(QStringLiteral("0050"), {}, {}, kWhen).value();
        TJournalArchive journal(archive);
        for (int done = 0; done < gRecords;) {
            const int count = std::min(kRunSize, gRecords - done);
            // Each run a new journal from index 0 (another record at 0).
            if (!journal.Store(fPanel(), Batch(0, count, done), done > 0, kWhen)) {
                error = journal.Error();
                return;
            }
            done += count;
        }
    }
    qint64 fPanel() const { return panel; }
};

BigArchive& Big() {
    static BigArchive big;
    return big;
}

void ArchivePage(benchmark::State& state, double where) {
    BigArchive& big = Big();
    if (!big.error.isEmpty()) {
        state.SkipWithError(big.error.toStdString().c_str());
        return;
    }
    TJournalArchive journal(big.archive);
    // The key of the record at that place, found once (the list keeps the
    // keys of the page it shows and pages from them).
    const qint64 offset = std::max<qint64>(0, qint64((gRecords - 21) * where));
    const auto at = journal.Page(big.panel, {}, offset, 1);
    if (!at || at->isEmpty()) {
        state.SkipWithError("no record there");
        return;
    }
    const TArchiveKey key{at->first().Run, at->first().Index};
    for (auto _ : state) {
        const auto page = journal.Older(big.panel, {}, key, 20);
        if (!page || page->size() != 20) {
            state.SkipWithError("no page");
            return;
        }
        benchmark::DoNotOptimize(page->first().Raw.size());
    }
}

void ArchiveFilter(benchmark::State& state, const char* text) {
    BigArchive& big = Big();
    if (!big.error.isEmpty()) {
        state.SkipWithError(big.error.toStdString().c_str());
        return;
    }
    TJournalArchive journal(big.archive);
    const TArchiveFilter filter = ArchiveFilterFor(QString::fromUtf8(text));
    qint64 matches = 0;
    for (auto _ : state) {
        matches = journal.Count(big.panel, filter).value_or(-1);
        const auto page = journal.Page(big.panel, filter, 0, 20);
        if (matches <= 0 || !page || page->isEmpty()) {
            state.SkipWithError("nothing matched");
            return;
        }
    }
    state.counters["matches"] = double(matches);
}

void IncrementalRead(benchmark::State& state) {
    const int baud = int(state.range(0));
    constexpr int kArchived = 65435;
    constexpr int kNew = 100;
    emu::PanelSettings settings; // the panel's own answer delays
    settings.journalRecords = kArchived;
    const auto started = StartThrottledPanel(state, settings, baud);
    if (!started)
        return;
    emu::EmulatedPanel& panel = *started;

    QTemporaryDir dir;
    TArchive archive;
    if (!archive.Open(dir.filePath(QStringLiteral("a.sqlite")))) {
        state.SkipWithError(archive.Error().toStdString().c_str());
        return;
    }
    const qint64 panelId = archive.NoteConnection(QStringLiteral("0050"), {}, {}, kWhen).value();
    TJournalArchive journal(archive);
    {
        // The archive as a whole-journal read would have left it.
        QList<TRecordToStore> batch;
        const QList<QByteArray> lines = panel.journalLines();
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = QString::fromLatin1(lines.at(i));
            batch.append(ArchiveRecord(i, line));
        }
        if (!journal.Store(panelId, batch, false, kWhen)) {
            state.SkipWithError(journal.Error().toStdString().c_str());
            return;
        }
    }
    panel.appendJournalRecords(kNew);

    TDevice device;
    TCommandExchange exchange(&device);
    if (!ConnectOverCable(state, device, panel.slavePath()))
        return;
    exchange.Attach();

    double wall = 0, line = 0;
    int stored = 0;
    for (auto _ : state) {
        THistory history;
        TJournalReader reader(exchange, history);
        TJournalRecorder recorder(journal, exchange, panelId);
        recorder.Attach(reader);
        QSignalSpy finished(&reader, &TJournalReader::ReadFinished);
        panel.clearRecords();
        QElapsedTimer clock;
        clock.start();
        reader.StartReadFrom([&](int) { return recorder.FirstNewIndex(); });
        waitUntil([&] { return finished.count() == 1; }, 600 * 1000);
        const double took = clock.nsecsElapsed() / 1e9;
        if (finished.count() != 1 || recorder.Stored() != kNew) {
            state.SkipWithError("the new records were not read and archived");
            return;
        }
        state.SetIterationTime(took);
        wall = took;
        stored = recorder.Stored();
        line = (panel.sentBytes().size() + panel.receivedBytes().size()) * 10.0 / baud;
    }
    state.counters["new_records"] = stored;
    state.counters["wall_s"] = wall;
    state.counters["line_s"] = line;
    state.counters["records_line_s"] = kNew * 76 * 10.0 / baud;
    state.counters["whole_journal_line_s"] = (kArchived + kNew) * 76 * 10.0 / baud;
    state.counters["wall_over_line"] = wall / line;
}

} // namespace

BENCHMARK(ArchiveStore)->Name("ArchiveStore/65536")->Unit(benchmark::kMillisecond);
BENCHMARK(ArchiveRecords)->Name("ArchiveStore/65536/search_texts_alone")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ArchivePage, start, 0.0)->Name("ArchivePage/records/start")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ArchivePage, middle, 0.5)
    ->Name("ArchivePage/records/middle")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ArchivePage, end, 1.0)->Name("ArchivePage/records/end")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ArchiveFilter, text, "снятие")
    ->Name("ArchiveFilter/records/text")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ArchiveFilter, code, "401")
    ->Name("ArchiveFilter/records/code")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(IncrementalRead)
    ->Name("IncrementalRead/baud")
    ->Arg(19200)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<char*> args;
    if (!TakeCountOption(argc, argv,
                         {"--records=", &gRecords, 20, 10000000, "--records wants 20 to 10000000", nullptr},
                         args))
        return 1;
    return RunBenchmarks(args);
}
