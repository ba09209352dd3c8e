#include "latency_samples.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>

double LatencySamples::quantileUs(double q) const {
    if (fNs.empty())
        return 0;
    std::vector<double> sorted = fNs;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = std::size_t(std::ceil(q * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1] / 1000.0;
}

int LatencySamples::negatives() const {
    return int(std::count_if(fNs.begin(), fNs.end(), [](double ns) { return ns < 0; }));
}

int LatencySamples::over(std::chrono::nanoseconds limit) const {
    const double ns = double(limit.count());
    return int(std::count_if(fNs.begin(), fNs.end(), [ns](double d) { return d > ns; }));
}

void LatencySamples::report(benchmark::State& state, const char* prefix) const {
    const std::string p = prefix;
    state.counters[p + "median_us"] = quantileUs(0.5);
    state.counters[p + "p99_us"] = quantileUs(0.99);
    state.counters[p + "max_us"] = maxUs();
}
