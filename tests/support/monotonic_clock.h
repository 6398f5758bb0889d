#pragma once
// Milliseconds of the monotonic clock, for tests that bound how long something takes.

#include <ctime>

namespace tavricat::testing {

inline long long nowMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace tavricat::testing
