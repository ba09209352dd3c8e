// exchange_latency_bench: how fast the command exchange is.
//
//   ExchangeOverhead/one_write        from the last answer byte to the return
//   ExchangeOverhead/byte_per_write_300us   of DeviceCommand; the far end answers
//                                     "0050\rOK\r" in one write, or one byte
//                                     per write 300 us apart.
//   EmulatorRoundTrip/baud/19200      a whole "+o" read against the emulated
//   EmulatorRoundTrip/baud/115200     panel on a line throttled to that rate,
//                                     next to what the line alone needs.
//
// Build and run (an optimised build; the machine otherwise idle):
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
//   cmake --build build-bench --target exchange_latency_bench -j2
//   build-bench/tests/bench/exchange_latency_bench
//
// The reported time is the measured span itself (manual timing): the tool's
// overhead, or the round trip. The counters carry the median, the 99th
// percentile and the largest sample in microseconds (median_us, p99_us,
// max_us; rt_... for round trips). "negative" counts samples where the far
// end's stamp came after the tool had returned (the far end was preempted
// between its write and its clock read); they count as 0 in the time column.
// "over_1ms" counts overheads above a millisecond.
//
// Every benchmark runs a fixed number of exchanges; --samples=N runs N each
// instead (--samples=3 is the smoke test's). The usual Google Benchmark
// options work too: --benchmark_filter=Overhead, --benchmark_repetitions=5,
// --benchmark_format=json.
#include "bench_main.h"
#include "bench_registry.h"

#include <QCoreApplication>

#include <climits>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);

    int samples = 0;
    std::vector<char*> args;
    if (!TakeCountOption(argc, argv,
                         {"--samples=", &samples, 1, INT_MAX,
                          "--samples wants a positive number of exchanges",
                          "  --samples=N  exchanges per benchmark (default: each benchmark's own)"},
                         args))
        return 1;
    RegisterExchangeOverheadBenchmarks(samples);
    RegisterEmulatorRoundTripBenchmarks(samples);
    return RunBenchmarks(args);
}
