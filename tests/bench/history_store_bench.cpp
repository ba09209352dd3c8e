// history_store_bench: how fast the journal record store is.
//
//   HistoryMerge/shuffled/65536   a whole journal of 65 536 answer lines added
//                                 one by one in a shuffled order (decoding
//                                 included), into a new store each time
//   HistoryLookup/random/10000    10 000 random indexes looked up in a full
//                                 store: the row of the index, then the
//                                 record at that row
//   HistoryPage/random/10000      10 000 list pages of 20 records, from
//                                 random stored indexes, in a full store
//
// Build and run (an optimised build; the machine otherwise idle):
//   cmake --build build --target history_store_bench -j2
//   build/tests/bench/history_store_bench
//
// The time column is per merge of the whole journal, or per 10 000 lookups
// or pages. The usual Google Benchmark options work
// (--benchmark_repetitions=5, --benchmark_format=json).
#include "history/HistoryUnit.h"

#include <QCoreApplication>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

constexpr int kJournal = 65536;
constexpr int kLookups = 10000;

QString LineFor(int index) {
    const QString hex4 = QStringLiteral("%1").arg(index, 4, 16, QLatin1Char('0')).toUpper();
    const QString hex8 = QStringLiteral("%1").arg(index, 8, 16, QLatin1Char('0')).toUpper();
    return hex4 + "00501811300100500FFFFFFFFFFFFFFFFF1\"24/03/01,07:12:00+12\"" + hex8 + "00FA00";
}

// The indexes in a shuffled order, each line made in its turn: the exchange
// makes every answer line as it arrives, so a line lies in memory beside
// the one that came before it, whatever its index.
QStringList ShuffledJournal() {
    std::vector<int> order(kJournal);
    for (int i = 0; i < kJournal; ++i)
        order[size_t(i)] = i;
    std::mt19937 random(42);
    std::shuffle(order.begin(), order.end(), random);
    QStringList lines;
    lines.reserve(kJournal);
    for (const int index : order)
        lines.append(LineFor(index));
    return lines;
}

std::vector<uint16_t> RandomIndexes() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> any(0, kJournal - 1);
    std::vector<uint16_t> out(kLookups);
    for (uint16_t& i : out)
        i = uint16_t(any(random));
    return out;
}

void HistoryMerge(benchmark::State& state) {
    const QStringList lines = ShuffledJournal();
    for (auto _ : state) {
        THistory history;
        for (const QString& line : lines)
            history.Add(line);
        benchmark::DoNotOptimize(history.Count());
        if (history.Count() != kJournal)
            state.SkipWithError("records lost");
    }
    state.SetItemsProcessed(state.iterations() * kJournal);
}

void HistoryLookup(benchmark::State& state) {
    THistory history;
    history.AddLines(ShuffledJournal());
    const std::vector<uint16_t> indexes = RandomIndexes();
    for (auto _ : state) {
        uint32_t sum = 0;
        for (const uint16_t index : indexes)
            sum += history.RecordAt(history.IndexOfRecord(index)).globalindex;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}

void HistoryPage(benchmark::State& state) {
    THistory history;
    history.AddLines(ShuffledJournal());
    const std::vector<uint16_t> indexes = RandomIndexes();
    for (auto _ : state) {
        int rows = 0;
        for (const uint16_t index : indexes) {
            const TRowRange page = history.PageRows(index, 20);
            rows += page.Count();
            if (!page.IsEmpty())
                benchmark::DoNotOptimize(history.RecordAt(page.Last).index);
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}

} // namespace

BENCHMARK(HistoryMerge)->Name("HistoryMerge/shuffled/65536")->Unit(benchmark::kMillisecond);
BENCHMARK(HistoryLookup)->Name("HistoryLookup/random/10000")->Unit(benchmark::kMicrosecond);
BENCHMARK(HistoryPage)->Name("HistoryPage/random/10000")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
