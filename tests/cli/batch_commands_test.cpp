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

// A sentence of 1,100 characters makes a segment of more than 2,000 bytes: the next run and
// the derived files take it like any other.
TEST_F(CliBatchTest, ALongSentenceIsTranslatedAndKeptByTheNextRun) {
    std::string sentence = "Clean";
    while (sentence.size() < 1100) sentence += " the filter";
    sentence += ".";
    work.write("long.txt", sentence + "\r\nShort one.\r\n");
    testing::CliRun run = cli({"translate", work.file("long.txt"), "--fallback", "copy"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("translated 2 sentences"), std::string::npos) << run.out;

    testing::CliRun again = cli({"--json", "translate", work.file("long.txt"), "--fallback", "copy"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("\"kept\": 2"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("\"sentences\": 0"), std::string::npos) << again.out;

    testing::CliRun pairs = cli({"doc", "pairs", work.file("long.bil"), "-o", work.file("long.exs")});
    ASSERT_EQ(pairs.exitCode, 0) << pairs.err;
    EXPECT_EQ(work.read("long.exs"), sentence + "^" + sentence + "\r\nShort one.^Short one.\r\n");
    testing::CliRun target = cli({"doc", "target", work.file("long.bil"), "-o", work.file("target.rtf")});
    ASSERT_EQ(target.exitCode, 0) << target.err;
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

}  // namespace
}  // namespace tavricat
