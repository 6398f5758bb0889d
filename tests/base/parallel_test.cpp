// Slices of a whole-library pass: every item done once, by whichever core, and a failure in
// any slice reaches the caller.

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "base/parallel.h"

namespace tavricat {
namespace {

TEST(ForEachSliceTest, EveryItemIsDoneExactlyOnce) {
    for (const std::size_t count : {std::size_t(0), std::size_t(1), std::size_t(9), std::size_t(200001)}) {
        std::vector<int> done(count, 0);
        std::atomic<std::size_t> slices{0};
        forEachSlice(
            count,
            [&](std::size_t begin, std::size_t end) {
                ++slices;
                for (std::size_t k = begin; k < end; ++k) ++done[k];
            },
            1000);
        for (std::size_t k = 0; k < count; ++k) ASSERT_EQ(done[k], 1) << k << " of " << count;
        EXPECT_LE(slices.load(), std::max<std::size_t>(1, count / 1000));
    }
}

TEST(ForEachSliceTest, AFailingSliceIsReportedAfterTheOthersFinish) {
    std::vector<int> done(100000, 0);
    EXPECT_THROW(forEachSlice(
                     done.size(),
                     [&](std::size_t begin, std::size_t end) {
                         for (std::size_t k = begin; k < end; ++k) ++done[k];
                         if (end == done.size()) throw std::runtime_error("last slice");
                     },
                     10),
                 std::runtime_error);
    for (int d : done) ASSERT_EQ(d, 1);
}

}  // namespace
}  // namespace tavricat
