// tavricat-cli analyse-project, run as a separate process.

#include <gtest/gtest.h>

#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using CliProjectTest = testing::CliHomeTest;

const char* utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(CliProjectTest, AnalysesExportsAndLeavesTheLibraryUnmarked) {
    ASSERT_EQ(cli({"tm", "add", utf8(u8"I have a book.^我有一本书。")}).exitCode, 0);
    const std::string library = home.read("userdata/MySentsEC.rf0");
    work.write("a.txt", "I have a book. I have a pen. Good morning everyone. Good morning everyone.\r\n");

    testing::CliRun run = cli({"analyse-project", work.file("a.txt"), "--log", work.file("logs/run.log"),
                               "--export-repeats", work.file("rep"), "--min-repeats", "2", "--export-new",
                               work.file("new.txt"), "--export-examples", work.file("ex"), "--export-terms",
                               "ProjWords"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(utf8(u8"总    计           4          18         100")), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(utf8(u8"匹配句子:2  句子总数:4  匹配比例:50.00%")), std::string::npos) << run.out;
    EXPECT_NE(work.read("logs/run.txt").find("----------总计-----------"), std::string::npos);
    EXPECT_EQ(work.read("rep.txt"), "Good morning everyone.  \r\n\r\n");
    EXPECT_EQ(work.read("new.txt"), "Good morning everyone.  \r\n\r\n");
    EXPECT_EQ(work.read("ex.exs"), "i have a book . ^我有一本书。\r\n");
    EXPECT_NE(home.read("userdata/ProjWords.01").find("morning\r\n"), std::string::npos);
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0"), library);
}

TEST_F(CliProjectTest, AnalysisLeavesTheTermBaseFilesAsTheyWere) {
    const std::string keys = home.read("userdata/MyDictEC.01"), entries = home.read("userdata/MyDictEC.02");
    work.write("a.txt", "Always switch off the power supply before you open the pump housing. "
                        "Children should not be allowed near the pump.\r\n");
    testing::CliRun run = cli({"analyse-project", work.file("a.txt"), "--log", work.file("log.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    testing::CliRun compared =
        cli({"analyse-project", work.file("a.txt"), "--compare", work.file("a.txt"), "--log", work.file("log.txt")});
    ASSERT_EQ(compared.exitCode, 0) << compared.err;
    EXPECT_EQ(home.read("userdata/MyDictEC.01"), keys);
    EXPECT_EQ(home.read("userdata/MyDictEC.02"), entries);
}

TEST_F(CliProjectTest, RefusalsExitWithTheirMessage) {
    work.write("a.txt", "I have a book.\r\n");
    testing::CliRun low = cli({"analyse-project", work.file("a.txt"), "--limit", "0", "--log", work.file("log.txt")});
    EXPECT_EQ(low.exitCode, 1);
    EXPECT_NE(low.err.find(utf8(u8"必须为30到100范围内的数字")), std::string::npos) << low.err;
    EXPECT_FALSE(work.exists("log.txt"));
    testing::CliRun once = cli({"analyse-project", work.file("a.txt"), "--log", work.file("log.txt"), "--export-repeats",
                                work.file("rep"), "--min-repeats", "1"});
    EXPECT_EQ(once.exitCode, 1);
    EXPECT_NE(once.err.find(utf8(u8"重复次数必须在2到9999之间")), std::string::npos) << once.err;
    EXPECT_FALSE(work.exists("log.txt"));
    EXPECT_FALSE(work.exists("rep.txt"));

    testing::CliRun missing = cli({"analyse-project", work.file("gone.txt"), "--log", work.file("log.txt")});
    EXPECT_EQ(missing.exitCode, 1);

    testing::CliRun compared = cli({"analyse-project", work.file("a.txt"), "--compare", work.file("a.txt"), "--log",
                                    work.file("log.txt")});
    ASSERT_EQ(compared.exitCode, 0) << compared.err;
    EXPECT_NE(compared.out.find(utf8(u8"匹配句子:1  句子总数:1")), std::string::npos) << compared.out;
}

}  // namespace
}  // namespace tavricat
