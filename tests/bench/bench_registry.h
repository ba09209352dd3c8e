#pragma once

// Registration of the exchange benchmarks. `samples` is the number of
// exchanges per run; 0 takes each benchmark's own default.
void RegisterExchangeOverheadBenchmarks(int samples);
void RegisterEmulatorRoundTripBenchmarks(int samples);
