// The demo document offered in the recent files of a first start.

#include <gtest/gtest.h>

#include "app/demo_document.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::WorkbenchFixture;

TEST_F(WorkbenchFixture, TheDemoDocumentOfTheDirectionIsOfferedOnlyToAnEmptyList) {
    auto bench = makeWorkbench(Direction::CE);
    ASSERT_TRUE(bench->start().isOk());
    ASSERT_TRUE(offerDemoDocument(*bench));
    EXPECT_EQ(bench->recentFiles.visibleEntries(), std::vector<std::string>{home.file("demo/sample_zh.txt")});
    // Once the person has opened something, the list is theirs.
    bench->recentFiles.touch(home.file("mine.txt"));
    EXPECT_FALSE(offerDemoDocument(*bench));
    EXPECT_EQ(bench->recentFiles.visibleEntries().front(), home.file("mine.txt"));
}

}  // namespace
}  // namespace tavricat
