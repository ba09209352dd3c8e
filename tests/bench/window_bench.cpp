// window_bench: the window's own speed and size.
//
//   Memory/idle_and_full_journal  the resident set (VmRSS) with the main
//                        window shown and idle (idle_mb), then with the
//                        History page on show, a full journal (65 536
//                        records) in the page's own store and all of them
//                        on its list (journal_mb, and the growth,
//                        journal_growth_mb). Measured first, in a fresh
//                        process.
//   WindowPageSwitch     the page list's next page chosen, as a click does,
//                        and the window drawn (events processed until none
//                        are left); round the window's pages.
//   HistoryShow/65536    the window's History page on show with a full
//                        journal in its store: its list given all 65 536
//                        records at once (the model reset, the columns
//                        sized to their contents, as when a whole-journal
//                        read ends) and the window drawn. Between the
//                        rounds, untimed, the list is emptied and drawn.
//   ColdStart            `tarvik1` started as a new process on the offscreen
//                        platform with TARVIK1_QUIT_WHEN_SHOWN set, until it
//                        prints "shown" (its window painted the first time);
//                        the figure includes the process's start and the
//                        libraries' loading (from the page cache: one start
//                        is made before the timing).
//
// Build and run (an optimised build; the machine otherwise idle):
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
//   cmake --build build-bench --target window_bench tarvik1 -j2
//   build-bench/tests/bench/window_bench
//
// --starts=N starts the tool N times (default 20; the smoke test's is 1).
// The window is on Qt's offscreen platform unless QT_QPA_PLATFORM says
// otherwise; stored state goes to a scratch folder.
#include "bench_main.h"
#include "full_journal.h"
#include "history/HistoryModel.h"
#include "mainwindow/Main.h"
#include "pages/HistoryFrameUnit.h"
#include "proc_status.h"

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <climits>

namespace {

using Clock = std::chrono::steady_clock;
int gStarts = 20;

void Drain() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double Mb(long kb) {
    return double(kb) / 1024.0;
}

// The window's History page put on show; null, the benchmark skipped, when
// the window has none.
THistoryFrame* ShowHistoryPage(benchmark::State& state, TMainForm& window) {
    const auto& frames = window.Frames();
    const auto found = std::find_if(frames.begin(), frames.end(),
                                    [](TPageFrame* frame) { return qobject_cast<THistoryFrame*>(frame); });
    auto* list = window.findChild<QListWidget*>(QStringLiteral("PageList"));
    if (found == frames.end() || !list) {
        state.SkipWithError("the window has no History page");
        return nullptr;
    }
    list->setCurrentRow(int(found - frames.begin()));
    Drain();
    return qobject_cast<THistoryFrame*>(*found);
}

// The page's own store filled with the full journal, as a whole-journal read
// leaves it (there is no panel here to read it from).
void FillPageStore(THistoryFrame& page) {
    AddFullJournal(const_cast<THistory&>(page.History()));
}

void Memory(benchmark::State& state) {
    for (auto _ : state) {
        TMainForm window;
        window.show();
        Drain();
        const long idle = ProcStatusKb("VmRSS:");

        THistoryFrame* page = ShowHistoryPage(state, window);
        if (!page)
            return;
        FillPageStore(*page);
        page->Model().SetPage(0, kJournal);
        Drain();
        const long full = ProcStatusKb("VmRSS:");
        if (page->Model().rowCount() != kJournal) {
            state.SkipWithError("the page does not list the whole journal");
            return;
        }
        state.counters["idle_mb"] = Mb(idle);
        state.counters["journal_mb"] = Mb(full);
        state.counters["journal_growth_mb"] = Mb(full - idle);
    }
}

void WindowPageSwitch(benchmark::State& state) {
    TMainForm window;
    window.show();
    Drain();
    auto* list = window.findChild<QListWidget*>(QStringLiteral("PageList"));
    if (!list || list->count() < 2) {
        state.SkipWithError("the window has no page list to switch");
        return;
    }
    int row = list->currentRow();
    for (auto _ : state) {
        row = (row + 1) % list->count();
        list->setCurrentRow(row);
        Drain();
    }
    state.counters["pages"] = list->count();
}

void HistoryShow(benchmark::State& state) {
    TMainForm window;
    window.resize(1000, 700);
    window.show();
    Drain();
    THistoryFrame* page = ShowHistoryPage(state, window);
    if (!page)
        return;
    FillPageStore(*page);
    THistoryModel& model = page->Model();
    for (auto _ : state) {
        model.SetPage(-1, 0);
        Drain();
        const Clock::time_point start = Clock::now();
        model.SetPage(0, kJournal);
        Drain();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (model.rowCount() != kJournal) {
            state.SkipWithError("the page does not list the whole journal");
            return;
        }
    }
}

void ColdStart(benchmark::State& state) {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVIK1_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    const auto start = [&](double* shownS) {
        QProcess tool;
        tool.setProcessEnvironment(env);
        const Clock::time_point t0 = Clock::now();
        tool.start(QStringLiteral(TARVIK1_PROGRAM), QStringList());
        QByteArray out;
        while (!out.contains("shown\n") && tool.waitForReadyRead(30000))
            out += tool.readAllStandardOutput();
        if (shownS)
            *shownS = std::chrono::duration<double>(Clock::now() - t0).count();
        tool.waitForFinished(30000);
        return out.contains("shown\n") && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    };
    if (!start(nullptr)) {
        state.SkipWithError("tarvik1 did not show its window");
        return;
    }
    for (auto _ : state) {
        double shown = 0;
        if (!start(&shown)) {
            state.SkipWithError("tarvik1 did not show its window");
            return;
        }
        state.SetIterationTime(shown);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    std::vector<char*> args;
    if (!TakeCountOption(argc, argv,
                         {"--starts=", &gStarts, 1, INT_MAX, "--starts wants a positive number",
                          "  --starts=N  start the tool this many times (default 20)"},
                         args))
        return 1;

    // The memory first, while nothing else has grown the heap.
    benchmark::RegisterBenchmark("Memory/idle_and_full_journal", Memory)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("WindowPageSwitch", WindowPageSwitch)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("HistoryShow/65536", HistoryShow)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ColdStart", ColdStart)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(gStarts);
    return RunBenchmarks(args);
}
