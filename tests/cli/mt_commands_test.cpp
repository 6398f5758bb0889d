// tavricat-cli mt over a small term base and one grammar rule, as separate processes.

#include <gtest/gtest.h>

#include <cstdio>

#include "base/encoding.h"
#include "support/cli_home_test.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

class CliMtTest : public testing::CliHomeTest {
protected:
    void SetUp() override {
        CliHomeTest::SetUp();
        if (HasFatalFailure()) return;
        // A term base of five words and no system dictionary, so the results are known.
        std::remove(home.file("ecdict.IDX").c_str());
        home.write("userdata/modesEC.m1", "");
        home.write("userdata/modesEC.m2", "");
        home.write("userdata/MyDictEC.01", "go\r\ni\r\nto\r\nwant\r\nyou\r\n");
        home.write("userdata/MyDictEC.02", "去^^v^\r\n我^^^\r\n到^^^\r\n想要^^v^\r\n你^^^\r\n");
    }
};

TEST_F(CliMtTest, WithoutRulesTheSegmentsKeepSourceOrder) {
    home.write("userdata/modesEC.m1", "");
    home.write("userdata/modesEC.m2", "");
    testing::CliRun run = cli({"mt", "I want you to go, Smith."});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, utf8("我想要你到去，Smith。\n"));
}

TEST_F(CliMtTest, ARuleGivesTheTemplatesWordOrder) {
    home.write("userdata/modesEC.m1", "want\r\n");
    home.write("userdata/modesEC.m2", "~ * to^<~>要#1\r\n");
    testing::CliRun run = cli({"mt", "--explain", "I want you to go."});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), utf8("我要你去。"));
    EXPECT_NE(run.out.find("want * to\n"), std::string::npos);
    EXPECT_NE(run.out.find("\"gaps\":[\"3-1\",\"0-0\",\"0-0\"]"), std::string::npos);
    // Without a word in the gap the rule is not placed.
    EXPECT_EQ(cli({"mt", "I want to go."}).out, utf8("我想要到去。\n"));
}

}  // namespace
}  // namespace tavricat
