#pragma once
// Work over many independent items spread across the machine's cores, for the passes over a
// whole library that a person waits for (loading it at start-up).

#include <cstddef>
#include <functional>

namespace tavricat {

// Runs `work(begin, end)` over contiguous slices that together cover [0, count), one slice
// per core (at most `maxSlices`), and returns when every slice is done. A count below
// `leastPerSlice` per slice runs on the calling thread alone. `work` must only touch what
// belongs to its slice; an exception thrown by a slice is rethrown here once all are done.
void forEachSlice(std::size_t count, const std::function<void(std::size_t begin, std::size_t end)>& work,
                  std::size_t leastPerSlice = 65536, std::size_t maxSlices = 8);
// The same, with each slice's number (0 for the first) handed to `work` as well, for work
// that gathers a part per slice and joins the parts in order afterwards.
void forEachNumberedSlice(std::size_t count,
                          const std::function<void(std::size_t slice, std::size_t begin, std::size_t end)>& work,
                          std::size_t leastPerSlice = 65536, std::size_t maxSlices = 8);

}  // namespace tavricat
