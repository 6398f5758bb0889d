// tavricat-cli confirm: a translation confirmed for one sentence of a .bil without a window.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/cli_home_test.h"
#include "support/cli_runner.h"

namespace tavricat {
namespace {

// Arguments and printed text are UTF-8; plain literals of the tests are GBK.
const char* u8text(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class CliConfirmTest : public testing::CliHomeTest {
protected:
    void SetUp() override {
        CliHomeTest::SetUp();
        work.write("doc.txt", "The sky is green today.\r\nClean the filter once a month.\r\n");
        // A bilingual document with nothing translated yet.
        ASSERT_EQ(cli({"translate", work.file("doc.txt"), "--fallback", "keep"}).exitCode, 0);
        ASSERT_TRUE(work.exists("doc.bil"));
    }
};

TEST_F(CliConfirmTest, ThePairGoesIntoTheLibraryAndTheTargetIntoTheDocument) {
    testing::CliRun run = cli({"confirm", work.file("doc.bil"), "--sentence", "2", "--translation", u8text(u8"每月清洗一次过滤器。")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("sentence 2: Clean the filter once a month."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("stored as example 0"), std::string::npos) << run.out;

    testing::CliRun search = cli({"tm", "search", "Clean the filter once a month."});
    EXPECT_NE(search.out.find("rate: 100%"), std::string::npos) << search.out;
    EXPECT_NE(search.out.find(u8text(u8"每月清洗一次过滤器。")), std::string::npos) << search.out;

    // The .bil opens again, holds the segment, and its sentences are numbered as before.
    ASSERT_EQ(cli({"doc", "pairs", work.file("doc.bil"), "-o", work.file("pairs.exs")}).exitCode, 0);
    EXPECT_EQ(cli({"segment", work.file("doc.bil")}).out, "The sky is green today.\nClean the filter once a month.\n");
    EXPECT_EQ(work.read("pairs.exs"), "Clean the filter once a month.^每月清洗一次过滤器。\r\n");
}

TEST_F(CliConfirmTest, ConfirmingAgainReplacesTheTargetAndCorrectsTheExample) {
    ASSERT_EQ(cli({"confirm", work.file("doc.bil"), "--sentence", "1", "--translation", u8text(u8"今天天空是绿的。")}).exitCode, 0);
    testing::CliRun again =
        cli({"--json", "confirm", work.file("doc.bil"), "--sentence", "1", "--translation", u8text(u8"今天的天空是绿色的。")});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("\"outcome\": \"corrected\""), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("\"rate\": 100"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("\"revised\": true"), std::string::npos) << again.out;

    ASSERT_EQ(cli({"doc", "pairs", work.file("doc.bil"), "-o", work.file("pairs.exs")}).exitCode, 0);
    EXPECT_EQ(work.read("pairs.exs"), "The sky is green today.^今天的天空是绿色的。\r\n");
    EXPECT_NE(cli({"tm", "stats"}).out.find("examples: 1 (deleted: 0)"), std::string::npos);
}

TEST_F(CliConfirmTest, RefusalsLeaveTheDocumentAndTheLibraryAsTheyWere) {
    const std::string before = work.read("doc.bil");
    testing::CliRun beyond = cli({"confirm", work.file("doc.bil"), "--sentence", "3", "--translation", u8text(u8"三")});
    EXPECT_EQ(beyond.exitCode, 1);
    EXPECT_NE(beyond.err.find("has 2 sentences"), std::string::npos) << beyond.err;
    EXPECT_EQ(cli({"confirm", work.file("doc.bil"), "--sentence", "0", "--translation", u8text(u8"三")}).exitCode, 1);
    EXPECT_EQ(cli({"confirm", work.file("doc.bil"), "--sentence", "1", "--translation", "  "}).exitCode, 2);
    // A translation that would break the segment structure stores nothing either.
    EXPECT_EQ(cli({"confirm", work.file("doc.bil"), "--sentence", "1", "--translation", u8text(u8"甲<*}乙")}).exitCode, 1);
    EXPECT_EQ(cli({"confirm", work.file("missing.bil"), "--sentence", "1", "--translation", u8text(u8"三")}).exitCode, 1);
    EXPECT_EQ(work.read("doc.bil"), before);
    EXPECT_NE(cli({"tm", "stats"}).out.find("examples: 0 (deleted: 0)"), std::string::npos);
}

// The pair is confirmed in memory before the document is saved: when the save fails, the
// library must not keep a pair whose target the document never got.
TEST_F(CliConfirmTest, ADocumentThatCannotBeSavedStoresNothing) {
    const std::string before = work.read("doc.bil");
    // A folder where the save writes its scratch copy: the write fails, even for root.
    ASSERT_EQ(::mkdir(work.file("doc.bil.tmp-save").c_str(), 0755), 0);
    work.write("doc.bil.tmp-save/keep", "x");
    testing::CliRun run = cli({"confirm", work.file("doc.bil"), "--sentence", "1", "--translation", u8text(u8"三")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(work.read("doc.bil"), before);
    EXPECT_NE(cli({"tm", "stats"}).out.find("examples: 0 (deleted: 0)"), std::string::npos);
}

}  // namespace
}  // namespace tavricat
