// The fuzz targets' driver in the ordinary build (libFuzzer needs clang):
// it replays the seed corpus and then feeds random mutations of it (bit
// flips, byte changes, insertions, deletions, copies, splices) to the target
// until the given time is up. There is no coverage feedback; the point is
// that every target keeps building and is run against fresh inputs with the
// other tests, under whatever sanitizer the build folder has.
//
//   fuzz_<name> [--seconds S] [--seed N] [--max-len N] PATH...
//
// A PATH is a corpus folder (every file in it) or one input file; with no
// --seconds only the inputs are run, which also replays a crash file. When
// the target crashes, the input it was given is written to
// "crash-<seed>-<execution>" in the working folder and its name printed.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Present when the program is built with a sanitizer: called before it ends
// the program on a finding.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace {

using TInput = std::vector<uint8_t>;

// The input being run, for the crash handlers (only read there).
const TInput* gCurrent = nullptr;
char gCrashName[64] = "crash";

void SaveCurrentInput() {
    static volatile sig_atomic_t saved = 0;
    if (saved || !gCurrent)
        return;
    saved = 1;
    const int fd = ::open(gCrashName, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        const uint8_t* p = gCurrent->data();
        size_t left = gCurrent->size();
        while (left > 0) {
            const ssize_t n = ::write(fd, p, left);
            if (n <= 0)
                break;
            p += n;
            left -= size_t(n);
        }
        ::close(fd);
    }
    static const char kHead[] = "\n*** the input that failed is in ";
    [[maybe_unused]] ssize_t r = ::write(2, kHead, sizeof kHead - 1);
    r = ::write(2, gCrashName, strlen(gCrashName));
    r = ::write(2, "\n", 1);
}

void OnFatalSignal(int sig) {
    SaveCurrentInput();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void InstallCrashHandlers() {
    for (const int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS})
        std::signal(sig, OnFatalSignal);
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback(SaveCurrentInput);
}

TInput ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return TInput(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<TInput> ReadInputs(const std::vector<std::string>& paths) {
    std::vector<TInput> inputs;
    for (const std::string& p : paths) {
        if (std::filesystem::is_directory(p)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(p)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            for (const auto& f : files)
                inputs.push_back(ReadFile(f));
        } else if (std::filesystem::is_regular_file(p)) {
            inputs.push_back(ReadFile(p));
        } else {
            std::fprintf(stderr, "no such input: %s\n", p.c_str());
            std::exit(2);
        }
    }
    return inputs;
}

// Bytes that mean something to the parsers: line ends, separators, digits
// at the edges of their ranges, the record mark, a byte-order mark's first
// byte and the code page's undefined byte.
constexpr uint8_t kTelling[] = {0x00, 0x0A, 0x0D, '>', '=', ':', '+', '"',  '/',  ',',  ' ',  '0',
                                '9',  'A',  'F',  'f', 'G', 'O', 'K', 0x7F, 0x80, 0x98, 0xEF, 0xFF};

class TMutator {
public:
    explicit TMutator(uint64_t seed) : fRandom(seed) {}

    size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(fRandom); }
    uint8_t Byte() { return uint8_t(Below(256)); }

    void Mutate(TInput& in, const std::vector<TInput>& pool, size_t maxLen) {
        const size_t steps = 1 + Below(5);
        for (size_t i = 0; i < steps; ++i)
            MutateOnce(in, pool);
        if (in.size() > maxLen)
            in.resize(maxLen);
    }

private:
    void MutateOnce(TInput& in, const std::vector<TInput>& pool) {
        switch (Below(in.empty() ? 2 : 8)) {
        case 0: { // insert a few bytes
            const size_t at = Below(in.size() + 1);
            const size_t n = 1 + Below(8);
            for (size_t k = 0; k < n; ++k)
                in.insert(in.begin() + ptrdiff_t(at), Below(2) ? Byte() : kTelling[Below(sizeof kTelling)]);
            break;
        }
        case 1: { // insert a piece of another input
            const TInput& other = pool[Below(pool.size())];
            if (other.empty())
                break;
            const size_t from = Below(other.size());
            const size_t n = 1 + Below(std::min<size_t>(other.size() - from, 64));
            in.insert(in.begin() + ptrdiff_t(Below(in.size() + 1)), other.begin() + ptrdiff_t(from),
                      other.begin() + ptrdiff_t(from + n));
            break;
        }
        case 2: in[Below(in.size())] ^= uint8_t(1u << Below(8)); break;
        case 3: in[Below(in.size())] = Byte(); break;
        case 4: in[Below(in.size())] = kTelling[Below(sizeof kTelling)]; break;
        case 5: { // delete a range
            const size_t at = Below(in.size());
            const size_t n = 1 + Below(std::min<size_t>(in.size() - at, 16));
            in.erase(in.begin() + ptrdiff_t(at), in.begin() + ptrdiff_t(at + n));
            break;
        }
        case 6: { // copy a range of the input over another place of it
            const size_t from = Below(in.size());
            const size_t n = 1 + Below(std::min<size_t>(in.size() - from, 32));
            const TInput piece(in.begin() + ptrdiff_t(from), in.begin() + ptrdiff_t(from + n));
            in.insert(in.begin() + ptrdiff_t(Below(in.size() + 1)), piece.begin(), piece.end());
            break;
        }
        default: { // splice: this input's head, another input's tail
            const TInput& other = pool[Below(pool.size())];
            const size_t cut = Below(in.size() + 1);
            const size_t from = Below(other.size() + 1);
            in.resize(cut);
            in.insert(in.end(), other.begin() + ptrdiff_t(from), other.end());
            break;
        }
        }
    }

    std::mt19937_64 fRandom;
};

void Run(const TInput& in) {
    gCurrent = &in;
    LLVMFuzzerTestOneInput(in.data(), in.size());
    gCurrent = nullptr;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 0;
    uint64_t seed = std::random_device{}();
    size_t maxLen = 0;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--seconds" && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else if (a == "--seed" && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--max-len" && i + 1 < argc)
            maxLen = std::strtoull(argv[++i], nullptr, 10);
        else
            paths.push_back(a);
    }
    if (paths.empty()) {
        std::fprintf(stderr, "usage: %s [--seconds S] [--seed N] [--max-len N] CORPUS_OR_FILE...\n", argv[0]);
        return 2;
    }
    std::vector<TInput> pool = ReadInputs(paths);
    pool.emplace_back(); // the empty input
    if (maxLen == 0) {
        size_t largest = 0;
        for (const TInput& in : pool)
            largest = std::max(largest, in.size());
        maxLen = std::clamp<size_t>(2 * largest, 4096, 1 << 20);
    }

    InstallCrashHandlers();
    size_t runs = 0;
    std::snprintf(gCrashName, sizeof gCrashName, "crash-%llu-replay", static_cast<unsigned long long>(seed));
    for (const TInput& in : pool) {
        Run(in);
        ++runs;
    }
    const size_t replayed = runs;

    // Mutated inputs join the pool now and then, so that changes add up.
    constexpr size_t kPoolMax = 4096;
    TMutator mutator(seed);
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    while (seconds > 0 && (runs % 64 != 0 || std::chrono::steady_clock::now() < end)) {
        TInput in = pool[mutator.Below(pool.size())];
        mutator.Mutate(in, pool, maxLen);
        std::snprintf(gCrashName, sizeof gCrashName, "crash-%llu-%zu", static_cast<unsigned long long>(seed),
                      runs);
        Run(in);
        ++runs;
        if (mutator.Below(16) == 0) {
            if (pool.size() < kPoolMax)
                pool.push_back(std::move(in));
            else if (replayed < kPoolMax)
                pool[replayed + mutator.Below(kPoolMax - replayed)] = std::move(in);
        }
    }
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu inputs replayed, %zu mutated inputs in %.1f s (seed %llu), no finding\n", argv[0],
                replayed, runs - replayed, took, static_cast<unsigned long long>(seed));
    return 0;
}
