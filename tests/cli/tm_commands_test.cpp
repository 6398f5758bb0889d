// tavricat-cli tm add, search, stats, new and use, run as separate processes.

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

// On a fresh program folder the term base is empty; words no dictionary knows are still
// segments, so the pair can be stored and found again.
TEST_F(CliTmTest, APairOfUnknownWordsIsStoredOnAFreshProgramFolder) {
    testing::CliRun added = cli({"tm", "add", reinterpret_cast<const char*>(u8"Siemens S7^西门子S7")});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "added example 0\n");
    EXPECT_NE(home.read("userdata/MySentsEC.rf1").find("siemens"), std::string::npos);
    testing::CliRun found = cli({"tm", "search", "Siemens S7"});
    EXPECT_NE(found.out.find(reinterpret_cast<const char*>(u8"西门子S7")), std::string::npos) << found.out;
}

TEST_F(CliTmTest, APairWithoutTranslationIsBadUsage) {
    EXPECT_EQ(cli({"tm", "add", "no caret here"}).exitCode, 2);
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0"), "");
}

TEST_F(CliTmTest, SearchReportsTheBestExampleAndItsAdaptation) {
    ASSERT_EQ(cli({"tm", "add", reinterpret_cast<const char*>(u8"She reads two books every week.^她每周读两本书。")}).exitCode, 0);
    testing::CliRun exact = cli({"--json", "tm", "search", "She reads two books every week."});
    ASSERT_EQ(exact.exitCode, 0) << exact.err;
    EXPECT_NE(exact.out.find("\"rate\": 100"), std::string::npos) << exact.out;
    EXPECT_NE(exact.out.find("\"index\": 0"), std::string::npos);
    EXPECT_NE(exact.out.find(reinterpret_cast<const char*>(u8"\"adapted\": \"她每周读两本书。\"")), std::string::npos);

    // Five of the example's six tokens ("every week" and "every day" are tokens of their own).
    testing::CliRun near = cli({"tm", "search", "She reads two books every day."});
    ASSERT_EQ(near.exitCode, 0) << near.err;
    EXPECT_NE(near.out.find("rate: 83%"), std::string::npos) << near.out;
    EXPECT_NE(near.out.find(reinterpret_cast<const char*>(u8"translation: 她每周读两本书。")), std::string::npos);

    testing::CliRun none = cli({"--json", "tm", "search", "Completely unrelated words."});
    ASSERT_EQ(none.exitCode, 0) << none.err;
    EXPECT_NE(none.out.find("\"rate\": 999"), std::string::npos) << none.out;
    EXPECT_NE(none.out.find("\"index\": null"), std::string::npos);
}

TEST_F(CliTmTest, ADamagedIndexIsBuiltAgainAndTheExamplesAreFound) {
    ASSERT_EQ(cli({"tm", "add", reinterpret_cast<const char*>(u8"She reads two books every week.^她每周读两本书。")}).exitCode, 0);
    ASSERT_EQ(cli({"tm", "add", reinterpret_cast<const char*>(u8"I have a pen.^我有一支笔。")}).exitCode, 0);
    const std::string words = home.read("userdata/MySentsEC.rf1"), postings = home.read("userdata/MySentsEC.rf2");
    const std::pair<std::string, std::string> damages[] = {
        {words.substr(0, words.size() / 2), postings},
        {words, postings.substr(0, 9)},
        {"\x8f\x13zz\r\n\x01\x02\r\n", "\x7f\xee\r\n##\r\n"},
    };
    for (const auto& [badWords, badPostings] : damages) {
        home.write("userdata/MySentsEC.rf1", badWords);
        home.write("userdata/MySentsEC.rf2", badPostings);
        testing::CliRun found = cli({"--json", "tm", "search", "She reads two books every week."});
        ASSERT_EQ(found.exitCode, 0) << found.err;
        EXPECT_NE(found.out.find("\"rate\": 100"), std::string::npos) << found.out;
        EXPECT_NE(found.err.find("MySentsEC"), std::string::npos) << found.err;
        testing::CliRun pen = cli({"--json", "tm", "search", "I have a pen."});
        EXPECT_NE(pen.out.find("\"index\": 1"), std::string::npos) << pen.out;
    }
}

TEST_F(CliTmTest, UpdateLeavesTheTermBaseFilesAsTheyWere) {
    const std::string keys = home.read("userdata/MyDictEC.01"), entries = home.read("userdata/MyDictEC.02");
    work.write("pairs.exs", "Always switch off the power supply before you open the pump housing.^打开泵壳前务必关闭电源。\r\n"
                            "Children should not be allowed near the pump.^不应让儿童靠近水泵。\r\n");
    testing::CliRun run = cli({"tm", "update", work.file("pairs.exs")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("new: 2"), std::string::npos) << run.out;
    EXPECT_EQ(home.read("userdata/MyDictEC.01"), keys);
    EXPECT_EQ(home.read("userdata/MyDictEC.02"), entries);
}

TEST_F(CliTmTest, UpdateFromACutLibraryFileKeepsWhatCameBeforeTheCut) {
    work.write("cut.rf0", "02 thank you . ^谢谢。\r\n03 good evening\r\n02 welcome . ^欢迎。\r\n");
    work.write("bad.exs", "  ^空。\r\nGood evening.^晚安。\r\n");
    testing::CliRun run = cli({"tm", "update", work.file("cut.rf0"), work.file("bad.exs")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(reinterpret_cast<const char*>(u8"过程中出现错误")), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("pairs: 2  same: 0  new: 1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 pairs could not be stored"), std::string::npos) << run.out;
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0"), "02 thank you . ^谢谢。\r\n03 good evening . ^晚安。\r\n");
}

TEST_F(CliTmTest, NewAndUseSwitchLibrariesAcrossRuns) {
    ASSERT_EQ(cli({"tm", "add", reinterpret_cast<const char*>(u8"Good morning.^早上好。")}).exitCode, 0);
    testing::CliRun made = cli({"--yes", "tm", "new", "Project", "--title", "Proj", "--author", "me"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(made.out, "created sentence library Project (now current)\n");
    EXPECT_EQ(home.read("userdata/Project.irf"), "Proj\r\nme\r\nProject\r\n");
    EXPECT_NE(cli({"tm", "stats"}).out.find("library: Project"), std::string::npos);
    EXPECT_EQ(cli({"tm", "new", "project"}).exitCode, 1);  // the name is taken

    testing::CliRun back = cli({"tm", "use", "MySentsEC"});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.out, "current sentence library: MySentsEC (1 examples)\n");
    testing::CliRun missing = cli({"tm", "use", "Nope"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find(reinterpret_cast<const char*>(u8"例句库时失败")), std::string::npos);
}

}  // namespace
}  // namespace tavricat
