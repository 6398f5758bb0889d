// tavricat-cli translate and tm update, run as separate processes on the delivered demo.

#include <gtest/gtest.h>

#include <csignal>

#include "support/cli_home_test.h"
#include "support/cli_runner.h"

namespace tavricat {
namespace {

using CliBatchTest = testing::CliHomeTest;

TEST_F(CliBatchTest, TranslateWritesTheBilingualFileAndCountsTheSources) {
    ASSERT_EQ(cli({"tm", "use", "DemoEC"}).exitCode, 0);
    work.write("doc.txt", "Clean the filter once a month.\r\nThe sky is green today.\r\n");
    testing::CliRun run = cli({"translate", work.file("doc.txt"), "--rate", "70", "--fallback", "keep"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("translated 2 sentences: 1 from the memory, 0 by the fallback, 1 left as they were"),
              std::string::npos)
        << run.out;
    EXPECT_NE(work.read("doc.bil").find("<\\}100\\{>"), std::string::npos);
    // The options are stored as the settings they are.
    EXPECT_EQ(cli({"settings", "get", "inisetup", "matchrate"}).out, "70\n");
    EXPECT_EQ(cli({"settings", "get", "inisetup", "userefmode"}).out, "2\n");

    // A second run opens the .bil: the translated sentence stays, the other gets the copy.
    testing::CliRun again = cli({"--json", "translate", work.file("doc.txt"), "--fallback", "copy"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("\"kept\": 1"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("\"fallback\": 1"), std::string::npos);
    EXPECT_EQ(cli({"translate", work.file("doc.txt"), "--rate", "20"}).exitCode, 2);
}

TEST_F(CliBatchTest, UpdateAddsPairsAndAnswersTheSwapQuestion) {
    work.write("pairs.exs", "Good morning.^早上好。\r\nGood night.^晚安。\r\n");
    testing::CliRun first = cli({"tm", "update", work.file("pairs.exs")});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, "pairs: 2  same: 0  new: 2\nexamples in MySentsEC: 2 (was 0)\n");
    testing::CliRun kept = cli({"--json", "tm", "update", work.file("pairs.exs"), "--keep-same"});
    EXPECT_NE(kept.out.find("\"same\": 2"), std::string::npos) << kept.out;

    work.write("swapped.txt", "谢谢。\r\nThank you.\r\n");
    EXPECT_NE(cli({"--no", "tm", "update", work.file("swapped.txt")}).out.find("pairs: 0"), std::string::npos);
    testing::CliRun yes = cli({"--yes", "tm", "update", work.file("swapped.txt")});
    EXPECT_NE(yes.out.find("examples in MySentsEC: 3"), std::string::npos) << yes.out;
    EXPECT_EQ(cli({"tm", "update", work.file("missing.exs")}).exitCode, 1);
}

// A Latin-1 letter (a stray GBK lead byte) before two blanks, as in a mail program's text.
TEST_F(CliBatchTest, StrayLeadBytesBeforeBlanksDoNotStopABatchRun) {
    work.write("cafe.txt", "The caf\xe9  is open.\r\nIt is \xd6  late.\r\n");
    testing::CliRun translated = cli({"translate", work.file("cafe.txt"), "--fallback", "mt"});
    ASSERT_EQ(translated.exitCode, 0) << translated.err;
    EXPECT_NE(translated.out.find("translated 2 sentences"), std::string::npos) << translated.out;
    testing::CliRun analysed = cli({"analyse-project", work.file("cafe.txt"), "--log", work.file("log.txt")});
    ASSERT_EQ(analysed.exitCode, 0) << analysed.err;
    // The first pair decides that the file needs no swap.
    work.write("cafe.exs", "Good morning.^早上好。\r\nThe caf\xe9  is open.^\xbf\xa7\xb7\xc8\xb9\xdd\xbf\xaa\xc3\xc5\xc1\xcb\xa1\xa3\r\n");
    testing::CliRun updated = cli({"tm", "update", work.file("cafe.exs")});
    ASSERT_EQ(updated.exitCode, 0) << updated.err;
    EXPECT_NE(updated.out.find("pairs: 2"), std::string::npos) << updated.out;
}

}  // namespace
}  // namespace tavricat
