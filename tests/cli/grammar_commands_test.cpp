// tavricat-cli grammar add/delete/import, run as separate processes.

#include <gtest/gtest.h>

#include "support/cli_home_test.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::runCli;

const char* utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class CliGrammarTest : public testing::CliHomeTest {
protected:
    void SetUp() override {
        CliHomeTest::SetUp();
        if (HasFatalFailure()) return;
        // Start from empty libraries rather than the delivered starter grammar.
        for (const char* name : {"modesEC.m1", "modesEC.m2", "modesCE.m1", "modesCE.m2"})
            home.write(std::string("userdata/") + name, "");
    }
};

TEST_F(CliGrammarTest, AddedPatternsAreSavedAsGbkLinesWithCrLf) {
    ASSERT_EQ(cli({"grammar", "add", utf8(u8"want * to^^想要#1")}).exitCode, 0);
    testing::CliRun added = cli({"grammar", "add", utf8(u8"Look after {sb}^1(2 0 0)^照 顾@1")});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "pattern added\n");
    EXPECT_EQ(home.read("userdata/modesEC.m1"), "look after\r\nwant\r\n");
    EXPECT_EQ(home.read("userdata/modesEC.m2"), "~ {sb}^<1(2 0 0)~>\xD5\xD5\xB9\xCB@1\r\n~ * to^<~>\xCF\xEB\xD2\xAA#1\r\n");
    EXPECT_EQ(home.read("userdata/userlibg.sag"), "aawant * to^^想要#1\r\naaLook after {sb}^1(2 0 0)^照 顾@1\r\n");
    EXPECT_FALSE(home.exists("userdata/modesEC.m1bak"));

    // The same pattern again changes nothing and is not logged again.
    testing::CliRun again = cli({"--json", "grammar", "add", utf8(u8"look after {sb}^1(2 0 0)^照顾@1")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "{\"result\":\"already-present\"}\n");
    EXPECT_EQ(home.read("userdata/modesEC.m1"), "look after\r\nwant\r\n");
    EXPECT_EQ(home.read("userdata/userlibg.sag"), "aawant * to^^想要#1\r\naaLook after {sb}^1(2 0 0)^照 顾@1\r\n");
}

TEST_F(CliGrammarTest, AddThenDeleteLeavesTheLibraryFilesAsTheyWere) {
    const std::string m1 = "as\r\nwant\r\n";
    const std::string m2 = "~ * ~^<~>和#1一样\r\n~ * to^<~>想要#1\r\n";
    home.write("userdata/modesEC.m1", m1);
    home.write("userdata/modesEC.m2", m2);
    ASSERT_EQ(cli({"grammar", "add", utf8(u8"as {adj} as^^像@1一样")}).exitCode, 0);
    EXPECT_EQ(home.read("userdata/modesEC.m1"), "as\r\nas\r\nwant\r\n");
    testing::CliRun deleted = cli({"grammar", "delete", utf8(u8"as {adj} as^^像@1一样")});
    ASSERT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(deleted.out, "pattern deleted\n");
    EXPECT_EQ(home.read("userdata/modesEC.m1"), m1);
    EXPECT_EQ(home.read("userdata/modesEC.m2"), m2);

    testing::CliRun missing = cli({"grammar", "delete", "as {adj} as^^"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "pattern not in the grammar library: nothing changed\n");
    EXPECT_EQ(home.read("userdata/modesEC.m2"), m2);
}

TEST_F(CliGrammarTest, ImportAppliesEveryLineAndReportsTheLineCount) {
    work.write("update.sag", "aawant * to^^想要#1\r\nas * as^^和#1一样\r\n\r\nddwant * to^^\r\nbad record\r\n");
    testing::CliRun run = cli({"grammar", "import", work.file("update.sag")});
    EXPECT_EQ(run.exitCode, 1);  // one line refused; the others are imported and saved
    EXPECT_EQ(run.out, "5 lines: 2 added, 1 deleted, 0 unchanged, 1 blank, 1 refused\n");
    EXPECT_NE(run.err.find(utf8(u8"语法更新完毕！共加入语法5条。")), std::string::npos);
    EXPECT_EQ(home.read("userdata/modesEC.m1"), "as\r\n");
    EXPECT_EQ(home.read("userdata/modesEC.m2"), "~ * ~^<~>和#1一样\r\n");
    EXPECT_EQ(home.read("userdata/userlibg.sag"), "");  // imports are not logged

    EXPECT_EQ(cli({"grammar", "import", work.file("none.sag")}).exitCode, 1);
}

TEST_F(CliGrammarTest, EachDirectionHasItsOwnLibraryAndBadRecordsAreRefused) {
    ASSERT_EQ(cli({"--direction", "ce", "grammar", "add", utf8(u8"我们*走^^we * go")}).exitCode, 0);
    EXPECT_EQ(home.read("userdata/modesCE.m1"), "我 们\r\n");
    EXPECT_EQ(home.read("userdata/modesCE.m2"), "~ * 走^<~>we * go\r\n");
    EXPECT_EQ(home.read("userdata/modesEC.m1"), "");

    for (const char* bad : {"no carets", "^^x", "a^7^x"}) {
        testing::CliRun run = cli({"grammar", "add", bad});
        EXPECT_EQ(run.exitCode, 1) << bad;
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(home.read("userdata/modesEC.m1"), "");
}

}  // namespace
}  // namespace tavricat
