// firmware_upload_bench: a whole firmware upload against the emulated panel
// on a line throttled to the panel's 19200 baud (10 bits a byte), with the
// panel's own delays (10 ms before each answer, 2 s flash erase, 20 ms per
// block, 200 ms final check), next to what the line and those delays alone
// need:
//   line_s      (bytes written + bytes answered) x 10 / baud
//   line_lf_s   the same without each command's second CR LF, which
//               crosses while the panel is already answering
//   delays_s    the panel's delays for the commands it got
//   wall/(line+delays), wall/(line_lf+delays): the tool's share of the
//               upload; the goal is within 1.02.
//
// Build and run (an optimised build; the machine otherwise idle):
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
//   cmake --build build-bench --target firmware_upload_bench -j2
//   build-bench/tests/bench/firmware_upload_bench
//
// The image is 256 KiB of data in 16-byte records (16384 lines, 2048
// blocks; about six minutes at 19200 baud). --kib=N uploads N KiB instead
// (--kib=1 is the smoke test's).
#include "bench_main.h"
#include "firmware/UploadFirmware.h"
#include "throttled_panel.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <climits>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBaud = 19200;
constexpr int kRecordBytes = 16;

QString Record(quint32 address, const QByteArray& data) {
    QByteArray bytes;
    bytes.append(char(data.size()));
    bytes.append(char((address >> 8) & 0xFF));
    bytes.append(char(address & 0xFF));
    bytes.append(char(0));
    bytes.append(data);
    quint8 sum = 0;
    for (char b : bytes)
        sum += quint8(b);
    bytes.append(char(quint8(0x100 - sum)));
    return QLatin1Char(':') + QString::fromLatin1(bytes.toHex().toUpper());
}

QStringList Image(int kib) {
    QStringList lines;
    quint32 seed = 12345;
    const int records = kib * 1024 / kRecordBytes;
    for (int i = 0; i < records; ++i) {
        QByteArray data;
        for (int b = 0; b < kRecordBytes; ++b) {
            seed = seed * 1103515245u + 12345u;
            data.append(char(seed >> 16));
        }
        lines << Record(quint32(i * kRecordBytes) & 0xFFFF, data);
    }
    lines << QStringLiteral(":00000001FF");
    return lines;
}

void FirmwareUpload(benchmark::State& state) {
    const int kib = int(state.range(0));
    const emu::PanelSettings settings; // the panel's own delays
    const auto started = StartThrottledPanel(state, settings, kBaud);
    if (!started)
        return;
    emu::EmulatedPanel& panel = *started;
    ToolLink link;
    if (!OpenLink(state, link, panel))
        return;
    const QStringList image = Image(kib);
    for (auto _ : state) {
        if (!TakeCableSession(state, link))
            break;
        panel.clearRecords();
        TUploadFirmware engine(link.exchange);
        QEventLoop loop;
        TUploadResult result;
        QObject::connect(&engine, &TUploadFirmware::Finished, &loop, [&](const TUploadResult& r) {
            result = r;
            loop.quit();
        });
        const Clock::time_point start = Clock::now();
        engine.UploadFirmware(image);
        loop.exec();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        if (!result.Ok() || panel.finalCheckPassed() != std::optional<bool>(true)) {
            state.SkipWithError(("the upload failed: " + result.Message).toStdString().c_str());
            break;
        }
        state.SetIterationTime(wall);

        const emu::Delays d = settings.delays;
        const QMap<QString, int> counts = panel.commandCounts();
        int commands = 0;
        for (int n : counts)
            commands += n;
        const double delays = (double(commands) * d.answerMs + counts.value("+BE") * d.flashEraseMs +
                               counts.value("+W") * d.blockWriteMs + counts.value("+EE") * d.finalCheckMs) /
                              1000.0;
        const double byteS = 10.0 / kBaud;
        const double bytes = double(panel.receivedBytes().size() + panel.sentBytes().size());
        const double line = bytes * byteS;
        const double lineLf = (bytes - 2.0 * commands) * byteS;
        state.counters["blocks"] = counts.value("+W");
        state.counters["line_s"] = line;
        state.counters["line_lf_s"] = lineLf;
        state.counters["delays_s"] = delays;
        state.counters["wall_s"] = wall;
        state.counters["wall/(line+delays)"] = wall / (line + delays);
        state.counters["wall/(line_lf+delays)"] = wall / (lineLf + delays);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int kib = 256;
    std::vector<char*> args;
    if (!TakeCountOption(argc, argv,
                         {"--kib=", &kib, 1, INT_MAX, "--kib wants a positive number of KiB",
                          "  --kib=N  KiB of firmware data to upload (default 256)"},
                         args))
        return 1;
    benchmark::RegisterBenchmark("FirmwareUpload/kib", FirmwareUpload)
        ->Arg(kib)
        ->UseManualTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    return RunBenchmarks(args);
}
