// A whole "+o" read against the emulated panel with its line throttled to a
// real rate (10 bits a byte): command out, answer back, as the user waits
// for it. Compared with what the line alone needs:
//   line_us    (bytes written + bytes answered) x 10 / baud, the whole
//              exchange serialised on the line;
//   line_lf_us (bytes up to the LF that ends the command line + bytes
//              answered) x 10 / baud: the panel answers as soon as the
//              line is complete, while the command's second CR LF is still
//              crossing (the line is full duplex).
#include "bench_registry.h"
#include "latency_samples.h"
#include "throttled_panel.h"

#include <benchmark/benchmark.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWarmUp = 3;

void EmulatorRoundTrip(benchmark::State& state) {
    const int baud = int(state.range(0));
    emu::PanelSettings settings;
    settings.delays = emu::Delays::quick();
    const auto started = StartThrottledPanel(state, settings, baud);
    if (!started)
        return;
    emu::EmulatedPanel& panel = *started;
    ToolLink link;
    if (!OpenLink(state, link, panel) || !TakeCableSession(state, link))
        return;
    QString value;
    for (int i = 0; i < kWarmUp; ++i)
        link.exchange.DeviceCommand("+o", value, 2500);
    const QString expected = panel.parameter("+o");
    panel.clearRecords();

    LatencySamples samples;
    samples.reserve(std::size_t(state.max_iterations));
    for (auto _ : state) {
        value.clear();
        const Clock::time_point start = Clock::now();
        const bool ok = link.exchange.DeviceCommand("+o", value, 2500);
        const Clock::duration took = Clock::now() - start;
        if (!ok || value != expected) {
            state.SkipWithError("the exchange failed");
            break;
        }
        samples.add(took);
        state.SetIterationTime(std::chrono::duration<double>(took).count());
    }
    if (state.error_occurred())
        return;

    const double exchanges = double(state.iterations());
    const QByteArray written = panel.receivedBytes();
    const double bytesOut = double(written.size()) / exchanges;
    const double bytesIn = double(panel.sentBytes().size()) / exchanges;
    const double toLineEnd = double(written.indexOf('\n') + 1);
    const double byteUs = 10.0 * 1e6 / baud;
    const double lineUs = (bytesOut + bytesIn) * byteUs;
    const double lineLfUs = (toLineEnd + bytesIn) * byteUs;

    samples.report(state, "rt_");
    state.counters["bytes_out"] = bytesOut;
    state.counters["bytes_in"] = bytesIn;
    state.counters["line_us"] = lineUs;
    state.counters["rt/line"] = samples.quantileUs(0.5) / lineUs;
    state.counters["line_lf_us"] = lineLfUs;
    state.counters["rt/line_lf"] = samples.quantileUs(0.5) / lineLfUs;
}

} // namespace

void RegisterEmulatorRoundTripBenchmarks(int samples) {
    benchmark::RegisterBenchmark("EmulatorRoundTrip/baud", EmulatorRoundTrip)
        ->Arg(19200)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(samples > 0 ? samples : 300);
    benchmark::RegisterBenchmark("EmulatorRoundTrip/baud", EmulatorRoundTrip)
        ->Arg(115200)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(samples > 0 ? samples : 1000);
}
