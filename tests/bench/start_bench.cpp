// start_bench: the tool's start beside a bare Qt Widgets window's.
//
// Starts `tarvik1` (with TARVIK1_QUIT_WHEN_SHOWN) and `bare_window` (a
// window with a list of eight items, nothing else) in turn, --runs times
// each (default 11), after one untimed start of each (libraries into the
// page cache, the tool's stored state made). A start is timed from the new
// process until it prints "shown" (its window painted the first time: wall
// time). Each start is charged with the processor time (user and system,
// every thread) it used up to that moment, as the program itself reports
// it beside "shown" ("cpu-ms N"), which a busy machine does not inflate as
// it does the wall time; and, for the record, with the processor time of
// the whole process, its quit included (from its exit status). The figures
// are the medians; the tool's over the bare window's is the figure to
// watch.
//
// Both run on the display the environment names: an X server for real
// figures,
//   cmake --build build --target start_bench tarvik1 bare_window -j2
//   xvfb-run -a build/tests/bench/start_bench
// or QT_QPA_PLATFORM=offscreen (the smoke test's, with --runs=1). Each
// start gets the same scratch HOME and XDG folders. The load average is
// printed before and after: compare figures taken at like loads.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Start {
    bool ok = false;
    double wallMs = 0;
    double cpuMs = 0;      // to "shown"
    double cpuWholeMs = 0; // the whole process
    std::string error;
};

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double Ms(const timeval& t) {
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

// The environment of every start: ours, with the scratch folders and the
// tool's probe switched on.
std::vector<std::string> ChildEnvironment(const std::filesystem::path& scratch) {
    const char* const replaced[] = {"HOME=", "XDG_CONFIG_HOME=", "XDG_RUNTIME_DIR=", "TARVIK1_QUIT_WHEN_SHOWN="};
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (std::none_of(std::begin(replaced), std::end(replaced),
                         [&](const char* name) { return entry.rfind(name, 0) == 0; }))
            env.push_back(entry);
    }
    env.push_back("HOME=" + scratch.string());
    env.push_back("XDG_CONFIG_HOME=" + (scratch / "config").string());
    env.push_back("XDG_RUNTIME_DIR=" + (scratch / "runtime").string());
    env.push_back("TARVIK1_QUIT_WHEN_SHOWN=1");
    return env;
}

// Starts the program and waits (up to 30 s) for "shown", then for its end.
Start Run(const char* program, const std::vector<std::string>& environment) {
    Start result;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        result.error = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> envp;
    for (const std::string& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};

    const Clock::time_point t0 = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        result.error = std::string(program) + ": " + std::strerror(spawned);
        return result;
    }

    std::string text;
    bool shown = false;
    const Clock::time_point deadline = t0 + std::chrono::seconds(30);
    while (!shown && Clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (poll(&p, 1, int(std::max<long long>(left.count(), 0))) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, size_t(n));
        shown = text.find("shown\n") != std::string::npos;
    }
    result.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    close(out[0]);
    if (!shown)
        kill(pid, SIGKILL);

    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        result.error = std::string(program) + ": wait4: " + std::strerror(errno);
        return result;
    }
    result.cpuWholeMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    const size_t cpuAt = text.find("cpu-ms ");
    if (cpuAt == std::string::npos) {
        result.error = std::string(program) + " did not tell its processor time with \"shown\"";
        return result;
    }
    result.cpuMs = std::strtod(text.c_str() + cpuAt + 7, nullptr);
    if (!shown)
        result.error = std::string(program) + " did not show its window within 30 s";
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        result.error = std::string(program) + " did not end cleanly after showing its window";
    result.ok = result.error.empty();
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 11;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--runs=", 7) == 0) {
            runs = std::atoi(argv[i] + 7);
        } else {
            std::fprintf(stderr, "usage: %s [--runs=N]  (N starts of each program, default 11)\n", argv[0]);
            return 1;
        }
    }
    if (runs < 1) {
        std::fprintf(stderr, "--runs wants a positive number\n");
        return 1;
    }

    char scratchTemplate[] = "/tmp/start_bench.XXXXXX";
    if (!mkdtemp(scratchTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path scratch = scratchTemplate;
    std::filesystem::create_directories(scratch / "config");
    std::filesystem::create_directory(scratch / "runtime");
    chmod((scratch / "runtime").c_str(), 0700);
    const std::vector<std::string> environment = ChildEnvironment(scratch);

    const char* const programs[] = {BARE_WINDOW_PROGRAM, TARVIK1_PROGRAM};
    const char* const names[] = {"bare Qt window", "tarvik1"};
    std::vector<double> wall[2], cpu[2], cpuWhole[2];
    const char* display = std::getenv("DISPLAY");
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("start_bench: %d starts of each, in turn; platform %s, DISPLAY %s\n", runs,
                platform ? platform : "(default)", display ? display : "(none)");
    std::printf("load average before: %s\n", LoadAverage().c_str());

    int status = 0;
    for (int round = -1; round < runs && status == 0; ++round) {
        for (int p = 0; p < 2; ++p) {
            const Start s = Run(programs[p], environment);
            if (!s.ok) {
                std::fprintf(stderr, "%s\n", s.error.c_str());
                status = 1;
                break;
            }
            if (round >= 0) { // the first round is the untimed one
                wall[p].push_back(s.wallMs);
                cpu[p].push_back(s.cpuMs);
                cpuWhole[p].push_back(s.cpuWholeMs);
            }
        }
    }
    std::filesystem::remove_all(scratch);
    if (status != 0)
        return status;

    std::printf("load average after:  %s\n\n", LoadAverage().c_str());
    std::printf("%-16s %10s %14s %16s   %s\n", "", "wall ms", "CPU ms to shown", "CPU ms in all",
                "(medians; wall min..max)");
    for (int p = 0; p < 2; ++p) {
        std::printf("%-16s %10.1f %14.1f %16.1f   (%.1f..%.1f)\n", names[p], Median(wall[p]), Median(cpu[p]),
                    Median(cpuWhole[p]), *std::min_element(wall[p].begin(), wall[p].end()),
                    *std::max_element(wall[p].begin(), wall[p].end()));
    }
    std::printf("%-16s %10.2f %14.2f %16.2f\n", "tarvik1 / bare", Median(wall[1]) / Median(wall[0]),
                Median(cpu[1]) / Median(cpu[0]), Median(cpuWhole[1]) / Median(cpuWhole[0]));
    return 0;
}
