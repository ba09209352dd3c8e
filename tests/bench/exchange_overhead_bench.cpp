// The tool's own share of an exchange: from the moment the answer's last byte
// is with the kernel to the return of DeviceCommand. The far end is a thread
// on the pty master that answers every command at once, so nothing but the
// tool (receive thread, event hand-over, line assembly, completion rule and
// the end of the nested event loop) lies between the two stamps.
#include "bench_registry.h"
#include "latency_samples.h"
#include "pty_pair.h"
#include "pty_responder.h"
#include "tool_link.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace std::chrono_literals;
using Clock = PtyResponder::Clock;

const QByteArray kAnswer = QByteArrayLiteral("0050\rOK\r");
const QString kValue = QStringLiteral("0050");
constexpr int kWarmUp = 20;

void ExchangeOverhead(benchmark::State& state, std::chrono::microseconds byteGap) {
    PtyPair pty;
    ToolLink link;
    if (!link.open(pty.slavePath())) {
        state.SkipWithError("the pty cannot be opened");
        return;
    }
    PtyResponder far(pty.masterFd(), kAnswer, byteGap);

    QString value;
    for (int i = 0; i < kWarmUp; ++i) {
        if (!link.exchange.DeviceCommand("+o", value, 2500)) {
            state.SkipWithError("no answer while warming up");
            return;
        }
    }

    uint64_t commands = kWarmUp;
    LatencySamples samples;
    samples.reserve(std::size_t(state.max_iterations));
    for (auto _ : state) {
        value.clear();
        const bool ok = link.exchange.DeviceCommand("+o", value, 2500);
        const Clock::time_point returned = Clock::now();
        const auto lastByte = far.lastByteOf(++commands, 2000ms);
        if (!ok || value != kValue || !lastByte) {
            state.SkipWithError("the exchange failed");
            break;
        }
        const std::chrono::nanoseconds overhead = returned - *lastByte;
        samples.add(overhead);
        state.SetIterationTime(std::max(0.0, std::chrono::duration<double>(overhead).count()));
    }
    if (state.error_occurred())
        return;
    samples.report(state);
    state.counters["negative"] = samples.negatives();
    state.counters["over_1ms"] = samples.over(1ms);
}

} // namespace

void RegisterExchangeOverheadBenchmarks(int samples) {
    benchmark::RegisterBenchmark(
        "ExchangeOverhead/one_write",
        [](benchmark::State& s) { ExchangeOverhead(s, std::chrono::microseconds(0)); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(samples > 0 ? samples : 10000);
    benchmark::RegisterBenchmark(
        "ExchangeOverhead/byte_per_write_300us",
        [](benchmark::State& s) { ExchangeOverhead(s, std::chrono::microseconds(300)); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(samples > 0 ? samples : 1000);
}
