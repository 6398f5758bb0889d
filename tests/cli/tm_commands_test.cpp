// tavricat-cli tm add and tm stats, run as separate processes.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "support/cli_home_test.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using CliTmTest = testing::CliHomeTest;

TEST_F(CliTmTest, AddedPairsAreSavedAndCounted) {
    testing::CliRun added = cli({"tm", "add", reinterpret_cast<const char*>(u8"I have a book.^我有一本书。")});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "added example 0\n");
    ASSERT_EQ(cli({"tm", "add", reinterpret_cast<const char*>(u8"I have a pen.^我有一支笔。")}).exitCode, 0);
    EXPECT_NE(home.read("userdata/MySentsEC.rf0").find("^我有一支笔。\r\n"), std::string::npos);

    testing::CliRun stats = cli({"--json", "tm", "stats"});
    ASSERT_EQ(stats.exitCode, 0) << stats.err;
    EXPECT_NE(stats.out.find("\"examples\": 2"), std::string::npos);
    EXPECT_NE(stats.out.find("\"name\": \"MySentsEC\""), std::string::npos);
    EXPECT_NE(stats.out.find(reinterpret_cast<const char*>(u8"\"title\": \"我的英-汉例句库\"")), std::string::npos);
}

TEST_F(CliTmTest, APairWithoutTranslationIsBadUsage) {
    EXPECT_EQ(cli({"tm", "add", "no caret here"}).exitCode, 2);
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0"), "");
}

}  // namespace
}  // namespace tavricat
