// `qa FILE.bil` reports each finding with its line and exits 1; a clean document exits 0.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using QaCommandTest = testing::CliHomeTest;

TEST_F(QaCommandTest, FindingsAreListedWithTheirLinesAndCleanDocumentsPass) {
    work.write("faulty.bil", "{*>Keep the lid closed.<}999{>保持盖子关闭。<*}\r\n"
                             "{*>Set it to 40 degrees.<}999{>设为45度。<*}\r\n");
    testing::CliRun run = cli({"--direction", "ec", "--json", "qa", work.file("faulty.bil")});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(report["segments"], 2);
    ASSERT_EQ(report["findings"].size(), 1u) << run.out;
    EXPECT_EQ(report["findings"][0]["kind"], "numbers");
    EXPECT_EQ(report["findings"][0]["line"], 2);
    EXPECT_EQ(report["findings"][0]["detail"], "40");

    work.write("clean.bil", "{*>Set it to 40 degrees.<}999{>设为40度。<*}\r\n");
    testing::CliRun clean = cli({"--direction", "ec", "qa", work.file("clean.bil")});
    EXPECT_EQ(clean.exitCode, 0) << clean.out;
    EXPECT_NE(clean.out.find("1 segments, 0 findings"), std::string::npos) << clean.out;
}

}  // namespace
}  // namespace tavricat
