// tavricat-cli analyse and dict, run as separate processes.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "support/cli_home_test.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::runCli;

using CliEngineTest = testing::CliHomeTest;

TEST_F(CliEngineTest, BuildADictionaryAndAnalyseWithIt) {
    work.write("dict.txt", reinterpret_cast<const char*>(u8"look after\t照顾^^\napple\t[n.]苹果^个^\n\nzebra\t斑马^^\n"));
    testing::CliRun built = cli({"dict", "build", work.file("dict.txt"), home.file("ecdict")});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_EQ(cli({"dict", "lookup", "--system", "look after"}).out, reinterpret_cast<const char*>(u8"照顾^^\n"));
    EXPECT_EQ(cli({"dict", "lookup", "--system", "ZEBRA"}).out, reinterpret_cast<const char*>(u8"斑马^^\n"));
    EXPECT_EQ(cli({"dict", "lookup", "--system", "look"}).exitCode, 1);

    testing::CliRun analysed = cli({"--json", "analyse", "I look after apples."});
    ASSERT_EQ(analysed.exitCode, 0) << analysed.err;
    EXPECT_NE(analysed.out.find("\"wordCount\": 5"), std::string::npos);
    EXPECT_NE(analysed.out.find("\"key\": \"look after\""), std::string::npos);
    EXPECT_NE(analysed.out.find("\"key\": \"apple\""), std::string::npos);
    // An analysis only reads: the system entries it copied into the term base are not kept.
    EXPECT_EQ(cli({"dict", "lookup", "apple"}).exitCode, 1);
}

TEST_F(CliEngineTest, AChineseKeyIsFoundAsTypedWithoutBlanks) {
    auto u8text = [](const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); };
    work.write("dict.txt", u8text(u8"关 闭\tclose|shut^^\n"));
    ASSERT_EQ(cli({"dict", "build", work.file("dict.txt"), home.file("cedict")}).exitCode, 0);
    EXPECT_EQ(cli({"--direction", "ce", "dict", "lookup", "--system", u8text(u8"关闭")}).out, "close|shut^^\n");
    EXPECT_EQ(cli({"--direction", "ce", "dict", "lookup", "--system", u8text(u8"关 闭")}).out, "close|shut^^\n");
    EXPECT_EQ(cli({"--direction", "ce", "dict", "lookup", "--system", u8text(u8"关门")}).exitCode, 1);
}

TEST_F(CliEngineTest, BadDictionaryInputIsRefused) {
    work.write("bad.txt", "no tab here\n");
    testing::CliRun run = cli({"dict", "build", work.file("bad.txt"), work.file("out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(work.exists("out.IDX"));
    work.write("gbk.txt", "key\t\xC4\xE3\n");
    EXPECT_EQ(cli({"dict", "build", work.file("gbk.txt"), work.file("out")}).exitCode, 1);  // not UTF-8
    EXPECT_EQ(cli({"dict", "build", "--encoding", "gbk", work.file("gbk.txt"), work.file("out")}).exitCode, 0);
    EXPECT_EQ(cli({"dict", "build", work.file("missing.txt"), work.file("out2")}).exitCode, 1);
}

TEST_F(CliEngineTest, TermsAddedDefinedAndDeletedAsTheWindowDoes) {
    auto u8text = [](const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); };
    // --new keys the term by its analysed words, the full stop attached, and refuses a key
    // the term base holds instead of merging.
    testing::CliRun added = cli({"dict", "add", "--new", "  Zqbb  zqbc . ", u8text(u8"甲 乙^^n^")});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, u8text(u8"zqbb zqbc. = 甲乙^^n^\n"));
    EXPECT_EQ(cli({"dict", "add", "--new", "zqbb zqbc.", u8text(u8"丙")}).exitCode, 1);
    EXPECT_EQ(cli({"dict", "lookup", "zqbb zqbc."}).out, u8text(u8"甲乙^^n^\n"));

    testing::CliRun defined = cli({"dict", "define", "zqbf zqbg", "--meaning", u8text(u8"丁戊")});
    ASSERT_EQ(defined.exitCode, 0) << defined.err;
    EXPECT_EQ(cli({"dict", "lookup", "zqbf zqbg"}).out, u8text(u8"丁戊^^^\n"));

    // A deleted key is remembered, so that the system dictionary does not bring it back, even
    // when the term base did not hold it.
    EXPECT_EQ(cli({"dict", "delete", "zqbf zqbg"}).exitCode, 0);
    EXPECT_EQ(cli({"dict", "delete", "zqbx"}).exitCode, 1);
    const std::string deleted = home.read("userdata/DeletedWords.ini");
    EXPECT_NE(deleted.find("zqbf zqbg\r\n"), std::string::npos);
    EXPECT_NE(deleted.find("zqbx\r\n"), std::string::npos);
    EXPECT_NE(home.read("userdata/userlibw.saw").find("dddit zqbf zqbg\r\n"), std::string::npos);
}

TEST_F(CliEngineTest, ChineseAnalysis) {
    testing::CliRun run = cli({"--direction", "ce", "analyse", reinterpret_cast<const char*>(u8"我们，走")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("wordCount: 4"), std::string::npos);
    EXPECT_NE(run.out.find(reinterpret_cast<const char*>(u8"text: 我 们 ， 走")), std::string::npos);
}

}  // namespace
}  // namespace tavricat
