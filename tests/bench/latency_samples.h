#pragma once

#include <chrono>
#include <vector>

namespace benchmark {
class State;
}

// Per-exchange durations of one benchmark run and what is reported of them.
class LatencySamples {
public:
    void reserve(std::size_t n) { fNs.reserve(n); }
    void add(std::chrono::nanoseconds d) { fNs.push_back(double(d.count())); }
    std::size_t size() const { return fNs.size(); }

    // The q-quantile (0 < q <= 1) by nearest rank, in microseconds; 0 when empty.
    double quantileUs(double q) const;
    double maxUs() const { return quantileUs(1.0); }
    // How many samples are below zero (the far end's stamp came after the
    // tool had already returned: the far end was preempted between its
    // write and its clock read).
    int negatives() const;
    // How many samples exceed `limit`.
    int over(std::chrono::nanoseconds limit) const;

    // Adds <prefix>median_us, <prefix>p99_us and <prefix>max_us to the run's counters.
    void report(benchmark::State& state, const char* prefix = "") const;

private:
    std::vector<double> fNs;
};
