#pragma once
// Timing one operation at a time and reporting the spread, for the benchmarks that measure a
// person's wait (a search, a sentence) rather than a throughput.

#include <time.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

namespace tavricat::bench {

// Seconds on the monotonic clock.
inline double seconds() {
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The q-quantile (0..1) of the samples, nearest rank.
inline double quantile(std::vector<double> samples, double q) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(samples.size())));
    return samples[std::min(samples.size() - 1, rank == 0 ? 0 : rank - 1)];
}

// Median, 95th percentile and maximum of the samples (microseconds) as the run's counters.
inline void reportLatency(benchmark::State& state, const std::vector<double>& micros) {
    state.counters["median_us"] = quantile(micros, 0.5);
    state.counters["p95_us"] = quantile(micros, 0.95);
    state.counters["max_us"] = quantile(micros, 1.0);
}

}  // namespace tavricat::bench
