#include "base/parallel.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace tavricat {

void forEachSlice(std::size_t count, const std::function<void(std::size_t, std::size_t)>& work,
                  std::size_t leastPerSlice, std::size_t maxSlices) {
    forEachNumberedSlice(
        count, [&](std::size_t, std::size_t begin, std::size_t end) { work(begin, end); }, leastPerSlice, maxSlices);
}

void forEachNumberedSlice(std::size_t count, const std::function<void(std::size_t, std::size_t, std::size_t)>& work,
                          std::size_t leastPerSlice, std::size_t maxSlices) {
    const std::size_t cores = std::max<std::size_t>(1, std::thread::hardware_concurrency());
    const std::size_t slices =
        std::max<std::size_t>(1, std::min({cores, maxSlices, count / std::max<std::size_t>(1, leastPerSlice)}));
    if (slices == 1) {
        if (count > 0) work(0, 0, count);
        return;
    }
    std::vector<std::exception_ptr> failures(slices);
    std::vector<std::thread> helpers;
    helpers.reserve(slices - 1);
    auto run = [&](std::size_t slice) {
        try {
            work(slice, count * slice / slices, count * (slice + 1) / slices);
        } catch (...) {
            failures[slice] = std::current_exception();
        }
    };
    std::size_t started = 1;
    try {
        for (; started < slices; ++started) helpers.emplace_back(run, started);
    } catch (...) {
        // No thread to be had: the slices not started run here.
    }
    run(0);
    for (std::size_t slice = started; slice < slices; ++slice) run(slice);
    for (std::thread& helper : helpers) helper.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace tavricat
