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

// English text while the direction is Chinese to English: the direction question.
TEST_F(CliBatchTest, TranslateAsksWhetherToSwitchTheDirection) {
    ASSERT_EQ(cli({"settings", "set", "inisetup", "ctoe", "1"}).exitCode, 0);
    const std::string text = "The sky is green today.\r\n";
    work.write("doc.txt", text);

    // Nobody to ask and no answer given: the run ends before the sentence, with how to answer.
    testing::CliRun unanswered = cli({"translate", work.file("doc.txt")});
    EXPECT_EQ(unanswered.exitCode, 2);
    EXPECT_NE(unanswered.err.find("--yes"), std::string::npos) << unanswered.err;
    EXPECT_EQ(work.read("doc.bil").find("\\{*>"), std::string::npos);

    // --no translates it in the direction that is set.
    testing::CliRun no = cli({"--no", "translate", work.file("doc.txt")});
    ASSERT_EQ(no.exitCode, 0) << no.err;
    EXPECT_NE(work.read("doc.bil").find("<\\}999\\{>"), std::string::npos);

    // --yes switches, stores the direction and ends; the next run translates in it.
    work.write("other.txt", text);
    testing::CliRun yes = cli({"--yes", "translate", work.file("other.txt")});
    ASSERT_EQ(yes.exitCode, 0) << yes.err;
    EXPECT_NE(yes.out.find("direction switched to EC"), std::string::npos) << yes.out;
    EXPECT_EQ(work.read("other.bil").find("\\{*>"), std::string::npos);
    EXPECT_EQ(cli({"settings", "get", "inisetup", "ctoe"}).out, "0\n");
    testing::CliRun next = cli({"translate", work.file("other.txt")});
    ASSERT_EQ(next.exitCode, 0) << next.err;
    EXPECT_NE(work.read("other.bil").find("<\\}999\\{>"), std::string::npos);
}

TEST_F(CliBatchTest, OnATerminalTheDirectionQuestionIsAsked) {
    work.write("doc.txt", "The sky is green today.\r\n");
    testing::CliRun run = testing::runCliOnTerminal({"--home", home.path(), "--direction", "ce", "translate",
                                                     work.file("doc.txt")},
                                                    config.path(), "[y/n]", "y\n");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("direction switched to EC"), std::string::npos) << run.out;
    // The switch the person agreed to is stored, although the run was given its direction.
    EXPECT_EQ(cli({"settings", "get", "inisetup", "ctoe"}).out, "0\n");
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
