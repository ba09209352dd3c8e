// history_journal_bench: the history list, its filter, the export and the
// whole-journal read.
//
//   HistoryModel/page_switch/65536   a full store (65 536 records): the model
//                                    moved to a random page of 20 and every
//                                    cell of it asked for, as the view does
//   HistoryModel/filter/65536        a filter text set over a full store
//                                    (event text "тревога"; a code "130")
//   HistoryModel/filter_typed/65536  "тревога" typed into a full store's
//                                    filter key by key, with no pause, the
//                                    filter in the background as the page
//                                    runs it: the time until the last
//                                    text's result is on show; key_median_us
//                                    and key_max_us: how long a keystroke
//                                    held the user-interface thread (the
//                                    longest includes the machine's own
//                                    pauses of the thread)
//   HistoryExport/xlsx/65536         every record of a full store written as
//   HistoryExport/csv/65536          a workbook or as CSV; peak_mb is the
//                                    growth of the resident set over the
//                                    store's while writing
//   JournalReadAll/baud/19200        the emulated panel's journal of 1 000
//                                    records read whole over a line throttled
//                                    to 19 200 baud; wall_s next to line_s,
//                                    what the answer's bytes alone take on the
//                                    line (10 bits a byte); estimate_ratio is
//                                    the total time the first estimate
//                                    promised over the time it took
//
// Build and run (an optimised build; the machine otherwise idle):
//   cmake --build build --target history_journal_bench -j2
//   build/tests/bench/history_journal_bench
//
// --records=N reads N records instead of 1 000 (--records=50 is the smoke
// test's). The usual Google Benchmark options work (--benchmark_filter=Model,
// --benchmark_repetitions=5, --benchmark_format=json).
#include "bench_main.h"
#include "cable_connect.h"
#include "full_journal.h"
#include "history/HistoryExport.h"
#include "history/HistoryModel.h"
#include "history/HistoryUnit.h"
#include "history/JournalReader.h"
#include "panel/CommandExchange.h"
#include "proc_status.h"
#include "serial/Device.h"
#include "test_wait.h"
#include "throttled_panel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>
#include <random>

namespace {

int gRecords = 1000;

// The resident set's high-water mark in kB; clear_refs 5 resets it to the
// current size (Linux).
long PeakKb() {
    return ProcStatusKb("VmHWM:");
}
long CurrentKb() {
    return ProcStatusKb("VmRSS:");
}
bool ResetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

void ModelPageSwitch(benchmark::State& state) {
    const THistory& history = FullStore();
    THistoryModel model(history);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> any(0, kJournal - 20);
    for (auto _ : state) {
        model.SetPage(any(random), 20);
        int chars = 0;
        for (int row = 0; row < model.rowCount(); ++row)
            for (int column = 0; column < model.columnCount(); ++column)
                chars += int(model.data(model.index(row, column)).toString().size());
        benchmark::DoNotOptimize(chars);
    }
}

void ModelFilter(benchmark::State& state, const char* text) {
    const THistory& history = FullStore();
    THistoryModel model(history);
    int rows = 0;
    for (auto _ : state) {
        model.SetFilter(QString::fromUtf8(text));
        rows = model.rowCount();
        model.SetFilter(QString());
    }
    state.counters["rows"] = rows;
}

void ModelFilterTyped(benchmark::State& state) {
    const THistory& history = FullStore();
    THistoryModel model(history);
    model.FilterInBackground(true);
    const QString text = QStringLiteral("тревога");
    std::vector<qint64> keyNs;
    int rows = 0;
    for (auto _ : state) {
        model.SetFilter(QString());
        QElapsedTimer clock;
        clock.start();
        for (qsizetype n = 1; n <= text.size(); ++n) {
            const qint64 before = clock.nsecsElapsed();
            model.SetFilter(text.left(n));
            keyNs.push_back(clock.nsecsElapsed() - before);
        }
        if (!waitUntil([&] { return !model.FilterPending(); }, 10000)) {
            state.SkipWithError("no result");
            return;
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        rows = model.rowCount();
    }
    state.counters["rows"] = rows;
    std::sort(keyNs.begin(), keyNs.end());
    state.counters["key_median_us"] = keyNs.empty() ? 0 : keyNs[keyNs.size() / 2] / 1e3;
    state.counters["key_max_us"] = keyNs.empty() ? 0 : keyNs.back() / 1e3;
}

void Export(benchmark::State& state, const char* suffix) {
    const THistory& history = FullStore();
    const std::vector<int> rows = ExportRowList(history, -1, -1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.") + QLatin1String(suffix));
    long peak = 0;
    for (auto _ : state) {
        const bool reset = ResetPeak();
        const long before = CurrentKb();
        const TExportResult r = ExportHistory(history, rows, path);
        if (!r.Ok) {
            state.SkipWithError(r.Error.toStdString().c_str());
            return;
        }
        peak = reset ? std::max(peak, PeakKb() - before) : -1024;
    }
    state.counters["peak_mb"] = double(peak) / 1024.0;
    state.counters["file_mb"] = double(QFile(path).size()) / 1e6;
}

void JournalReadAll(benchmark::State& state) {
    const int baud = int(state.range(0));
    emu::PanelSettings settings; // the panel's own answer delays
    settings.journalRecords = gRecords;
    const auto started = StartThrottledPanel(state, settings, baud);
    if (!started)
        return;
    emu::EmulatedPanel& panel = *started;
    TDevice device;
    TCommandExchange exchange(&device);
    if (!ConnectOverCable(state, device, panel.slavePath()))
        return;
    exchange.Attach();

    double wall = 0, line = 0, estimateRatio = 0;
    for (auto _ : state) {
        THistory history;
        TJournalReader reader(exchange, history);
        QElapsedTimer clock;
        double promised = -1;
        QObject::connect(&reader, &TJournalReader::ReadProgress, [&](int, int, qint64 msLeft) {
            if (promised < 0 && msLeft >= 0)
                promised = clock.nsecsElapsed() / 1e9 + msLeft / 1e3;
        });
        QSignalSpy finished(&reader, &TJournalReader::ReadFinished);
        panel.clearRecords();
        clock.start();
        reader.StartReadAll();
        waitUntil([&] { return finished.count() == 1; }, 3600 * 1000);
        const double took = clock.nsecsElapsed() / 1e9;
        if (finished.count() != 1 || history.Count() != gRecords) {
            state.SkipWithError("the journal was not read whole");
            return;
        }
        state.SetIterationTime(took);
        wall = took;
        line = panel.sentBytes().size() * 10.0 / baud;
        estimateRatio = promised / took;
    }
    state.counters["records"] = gRecords;
    state.counters["wall_s"] = wall;
    state.counters["line_s"] = line;
    state.counters["wall_over_line"] = wall / line;
    state.counters["estimate_ratio"] = estimateRatio;
}

} // namespace

BENCHMARK(ModelPageSwitch)->Name("HistoryModel/page_switch/65536")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ModelFilter, text, "тревога")
    ->Name("HistoryModel/filter/65536/text")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ModelFilter, code, "130")
    ->Name("HistoryModel/filter/65536/code")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ModelFilterTyped)
    ->Name("HistoryModel/filter_typed/65536")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, xlsx, "xlsx")->Name("HistoryExport/xlsx/65536")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, csv, "csv")->Name("HistoryExport/csv/65536")->Unit(benchmark::kMillisecond);
BENCHMARK(JournalReadAll)
    ->Name("JournalReadAll/baud")
    ->Arg(19200)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<char*> args;
    if (!TakeCountOption(argc, argv,
                         {"--records=", &gRecords, 1, 65535, "--records wants 1 to 65535", nullptr}, args))
        return 1;
    return RunBenchmarks(args);
}
