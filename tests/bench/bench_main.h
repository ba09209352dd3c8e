#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// A whole-number option of a benchmark program's own ("--rounds=N"), taken
// out of the arguments before Google Benchmark sees them.
struct BenchCountOption {
    const char* prefix; // "--rounds="
    int* value;
    int min;
    int max;
    const char* outOfRange; // said when the value is not within min..max
    const char* help;       // the line --help adds; null for none
};

// The arguments without `option`, whose value is stored; false, with the
// message on standard error, when the value is out of range.
inline bool TakeCountOption(int argc, char** argv, const BenchCountOption& option, std::vector<char*>& rest) {
    const std::size_t prefixLength = std::strlen(option.prefix);
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], option.prefix, prefixLength) == 0) {
            *option.value = std::atoi(argv[i] + prefixLength);
            if (*option.value < option.min || *option.value > option.max) {
                std::fprintf(stderr, "%s\n", option.outOfRange);
                return false;
            }
            continue;
        }
        if (option.help && std::strcmp(argv[i], "--help") == 0)
            std::printf("%s\n", option.help);
        rest.push_back(argv[i]);
    }
    return true;
}

// Runs the registered benchmarks with the remaining arguments; the program's
// exit code.
inline int RunBenchmarks(std::vector<char*> args) {
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
