// read_all_bench: the main window's Read all and Write all over every page
// of its page table, against the emulated panel on a line throttled to the
// panel's 19200 baud (10 bits a byte) with the panel's own delays (10 ms
// before each answer; the journal erase that writing the Channels page
// starts with takes 3 s more), next to what the line and those delays alone
// need:
//   line_s      (bytes written + bytes answered) x 10 / baud
//   line_lf_s   the same without each command's second CR LF, which
//               crosses while the panel is already answering
//   delays_s    the answer delay times the commands the panel got, plus
//               the journal erase's delay for each erase (erase_s)
//   wall/(line+delays), wall/(line_lf+delays): the tool's share of the
//               round (its exchanges, the log, switching and drawing the
//               pages); the goal is within 1.05.
//   erase_out   (wall - erase_s) / (line + delays - erase_s): the same
//               with the erase's fixed wait left out of both sides
// Figures are per round, averaged over the rounds. Write all answers the
// Channels page's question itself (the message boxes say yes) and writes
// what a Read all before it brought in.
//
// Build and run (an optimised build; the machine otherwise idle):
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
//   cmake --build build-bench --target read_all_bench -j2
//   build-bench/tests/bench/read_all_bench
//
// --rounds=N runs each N times (default 5; the smoke test runs one);
// --benchmark_filter=WriteAll runs one of them. The window is on Qt's
// offscreen platform unless QT_QPA_PLATFORM says otherwise; its stored state
// goes to a scratch folder.
#include "bench_main.h"
#include "mainwindow/ConnectFormUnit.h"
#include "mainwindow/ErrorListFormUnit.h"
#include "mainwindow/Main.h"
#include "mainwindow/MessageBoxes.h"
#include "pages/PageFrame.h"
#include "throttled_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <climits>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBaud = 19200;
int gRounds = 5;

// Connects the window to the panel through its connection dialog, as the
// user does: the port typed in, the cable, Connect.
bool ConnectWindow(TMainForm& window, const QString& port) {
    QTimer::singleShot(0, [port] {
        auto* dialog = qobject_cast<TConnectForm*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("PortCombo")))
            combo->setCurrentText(port);
        if (auto* button = dialog->findChild<QPushButton*>(QStringLiteral("ConnectButton")))
            button->click();
    });
    window.ConnectActionExecute();
    return window.Connected();
}

// One round of the window over every page, timed, next to the line's time.
void AllPages(benchmark::State& state, void (TMainForm::*round)(), bool readFirst) {
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    SetMessagePresenter([](QWidget*, const TMessage&) { return true; });

    const emu::PanelSettings settings; // the panel's own delays
    const auto started = StartThrottledPanel(state, settings, kBaud);
    if (!started)
        return;
    emu::EmulatedPanel& panel = *started;
    TMainForm window;
    window.show();
    if (!ConnectWindow(window, panel.slavePath())) {
        state.SkipWithError("the window does not connect to the emulated panel");
        return;
    }
    if (readFirst)
        window.ReadAllActionExecute();

    double wall = 0, line = 0, lineLf = 0, delays = 0, erase = 0, commands = 0;
    int rounds = 0;
    for (auto _ : state) {
        panel.clearRecords();
        const Clock::time_point start = Clock::now();
        (window.*round)();
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        if (window.ErrorListForm()->isVisible()) {
            state.SkipWithError(
                ("a page failed: " + window.ErrorListForm()->Items().join(", ")).toStdString().c_str());
            break;
        }
        state.SetIterationTime(took);

        const QMap<QString, int> counts = panel.commandCounts();
        int n = 0;
        for (int count : counts)
            n += count;
        const double byteS = 10.0 / kBaud;
        const double bytes = double(panel.receivedBytes().size() + panel.sentBytes().size());
        const double erases =
            counts.value(QStringLiteral("+erase")) * settings.delays.journalEraseMs / 1000.0;
        wall += took;
        line += bytes * byteS;
        lineLf += (bytes - 2.0 * n) * byteS;
        delays += double(n) * settings.delays.answerMs / 1000.0 + erases;
        erase += erases;
        commands += n;
        ++rounds;
    }
    if (rounds == 0)
        return;
    state.counters["pages"] = double(window.Frames().size());
    state.counters["commands"] = commands / rounds;
    state.counters["line_s"] = line / rounds;
    state.counters["line_lf_s"] = lineLf / rounds;
    state.counters["delays_s"] = delays / rounds;
    state.counters["erase_s"] = erase / rounds;
    state.counters["wall_s"] = wall / rounds;
    state.counters["wall/(line+delays)"] = wall / (line + delays);
    state.counters["wall/(line_lf+delays)"] = wall / (lineLf + delays);
    if (erase > 0)
        state.counters["erase_out"] = (wall - erase) / (line + delays - erase);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<char*> args;
    if (!TakeCountOption(argc, argv,
                         {"--rounds=", &gRounds, 1, INT_MAX, "--rounds wants a positive number",
                          "  --rounds=N  Read all and Write all this many times each (default 5)"},
                         args))
        return 1;

    benchmark::RegisterBenchmark(
        "ReadAll/19200", [](benchmark::State& s) { AllPages(s, &TMainForm::ReadAllActionExecute, false); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(gRounds);
    benchmark::RegisterBenchmark(
        "WriteAll/19200", [](benchmark::State& s) { AllPages(s, &TMainForm::WriteAllActionExecute, true); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(gRounds);
    return RunBenchmarks(args);
}
