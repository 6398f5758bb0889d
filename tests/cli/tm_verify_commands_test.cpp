// tavricat-cli tm list, edit, delete and replace: verifying the stored examples from the
// command line, each change saved and printed.

#include <gtest/gtest.h>

#include <string>

#include "support/cli_home_test.h"
#include "support/cli_runner.h"

namespace tavricat {
namespace {

const char* u8text(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class CliTmVerifyTest : public testing::CliHomeTest {
protected:
    void SetUp() override {
        CliHomeTest::SetUp();
        for (const char8_t* pair : {u8"I have a book.^我有一本书。", u8"They have time.^他们有时间。", u8"Go home.^回家。"})
            ASSERT_EQ(cli({"tm", "add", u8text(pair)}).exitCode, 0);
    }
};

TEST_F(CliTmVerifyTest, ListShowsTheExamplesAFilterLets) {
    testing::CliRun all = cli({"tm", "list"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, u8text(u8"0  i have a book . ^我有一本书。\n"
                              u8"1  they have time . ^他们有时间。\n"
                              u8"2  go home . ^回家。\n"
                              u8"3 examples listed\n"));
    testing::CliRun both = cli({"tm", "list", "--source", "HAVE", "--target", u8text(u8"书")});
    EXPECT_EQ(both.out, u8text(u8"0  i have a book . ^我有一本书。\n1 examples listed\n"));
    testing::CliRun either = cli({"--json", "tm", "list", "--source", "home", "--target", u8text(u8"时间"), "--or"});
    EXPECT_NE(either.out.find("\"index\": 1"), std::string::npos) << either.out;
    EXPECT_NE(either.out.find("\"index\": 2"), std::string::npos) << either.out;
    EXPECT_EQ(either.out.find("\"index\": 0"), std::string::npos) << either.out;
}

TEST_F(CliTmVerifyTest, AnEditedSourceIsSavedAndFoundByItsNewWording) {
    testing::CliRun edited = cli({"tm", "edit", "1", "--source", "they have money .", "--translation", u8text(u8"他们有钱。")});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_EQ(edited.out, u8text(u8"- 1  they have time . ^他们有时间。\n"
                                 u8"+ 1  they have money . ^他们有钱。\n"
                                 u8"source re-indexed\n"));
    EXPECT_NE(home.read("userdata/MySentsEC.rf0").find("04 they have money . ^他们有钱。\r\n"), std::string::npos);

    testing::CliRun found = cli({"--json", "tm", "search", "They have money."});
    EXPECT_NE(found.out.find("\"rate\": 100"), std::string::npos) << found.out;
    EXPECT_NE(found.out.find("\"index\": 1"), std::string::npos) << found.out;
    testing::CliRun old = cli({"--json", "tm", "search", "They have time."});
    EXPECT_EQ(old.out.find("\"rate\": 100"), std::string::npos) << old.out;

    testing::CliRun translation = cli({"tm", "edit", "2", "--translation", u8text(u8"回家吧。")});
    EXPECT_EQ(translation.out, u8text(u8"- 2  go home . ^回家。\n+ 2  go home . ^回家吧。\n"));
    EXPECT_EQ(cli({"tm", "edit", "2", "--translation", u8text(u8"回家吧。")}).out, "example 2 unchanged\n");
    EXPECT_EQ(cli({"tm", "edit", "2"}).exitCode, 2);
    EXPECT_EQ(cli({"tm", "edit", "7", "--translation", "x"}).exitCode, 1);
    testing::CliRun caret = cli({"tm", "edit", "2", "--source", "go ^ home"});
    EXPECT_EQ(caret.exitCode, 1);
    EXPECT_NE(home.read("userdata/MySentsEC.rf0").find("02 go home . ^回家吧。\r\n"), std::string::npos);
}

TEST_F(CliTmVerifyTest, ADeletedExampleIsATombstoneFoundByNothing) {
    testing::CliRun deleted = cli({"tm", "delete", "0"});
    ASSERT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(deleted.out, u8text(u8"deleted 0  i have a book . ^我有一本书。\n"));
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0").substr(0, 6), "05 ^\r\n");
    EXPECT_EQ(home.read("userdata/MySentsEC.rf2").find("00000"), std::string::npos);
    testing::CliRun search = cli({"--json", "tm", "search", "I have a book."});
    EXPECT_EQ(search.out.find("\"index\": 0"), std::string::npos) << search.out;
    EXPECT_EQ(cli({"tm", "delete", "0"}).exitCode, 1);  // already deleted
    EXPECT_EQ(cli({"tm", "list"}).out.find("0  "), std::string::npos);
}

TEST_F(CliTmVerifyTest, ReplaceChangesTheListedTranslationsOnly) {
    testing::CliRun replaced = cli({"tm", "replace", u8text(u8"有"), u8text(u8"拥有"), "--source", "they"});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_EQ(replaced.out, u8text(u8"- 1  they have time . ^他们有时间。\n"
                                   u8"+ 1  they have time . ^他们拥有时间。\n"
                                   u8"replaced in 1 of 1 listed translations\n"));
    const std::string rf0 = home.read("userdata/MySentsEC.rf0");
    EXPECT_NE(rf0.find("^我有一本书。"), std::string::npos);
    EXPECT_NE(rf0.find("^他们拥有时间。"), std::string::npos);
    EXPECT_EQ(cli({"tm", "replace", "", "x"}).exitCode, 2);
    EXPECT_EQ(cli({"tm", "replace", "nowhere", "x"}).out, "replaced in 0 of 3 listed translations\n");
}

}  // namespace
}  // namespace tavricat
