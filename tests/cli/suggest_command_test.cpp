// tavricat-cli suggest: the words with their shortcut letters, the best example with its rate
// and differences, and the first version of the translation.

#include <gtest/gtest.h>

#include "support/cli_home_test.h"
#include "support/cli_runner.h"

namespace tavricat {
namespace {

using CliSuggestTest = testing::CliHomeTest;

const char* u8text(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(CliSuggestTest, ShowsTheExampleItsDifferencesAndTheFirstVersion) {
    ASSERT_EQ(cli({"tm", "add", u8text(u8"She reads two books every week.^她每周读两本书。")}).exitCode, 0);
    testing::CliRun near = cli({"--json", "suggest", "She reads two books every day."});
    ASSERT_EQ(near.exitCode, 0) << near.err;
    EXPECT_NE(near.out.find("\"shortcut\": \"a\""), std::string::npos) << near.out;
    EXPECT_NE(near.out.find("\"path\": \"fuzzy\""), std::string::npos) << near.out;
    EXPECT_NE(near.out.find("\"rate\": 83"), std::string::npos) << near.out;
    EXPECT_NE(near.out.find("\"colour\": \"red\""), std::string::npos) << near.out;
    EXPECT_NE(near.out.find("\"differs\": true"), std::string::npos) << near.out;

    testing::CliRun exact = cli({"suggest", "She reads two books every week."});
    ASSERT_EQ(exact.exitCode, 0) << exact.err;
    EXPECT_NE(exact.out.find(u8text(u8"[100%]她每周读两本书。")), std::string::npos) << exact.out;
    EXPECT_NE(exact.out.find(u8text(u8"translation: 她每周读两本书。")), std::string::npos) << exact.out;
    // A command that only looks saves nothing.
    EXPECT_EQ(cli({"--json", "tm", "stats"}).out.find("\"examples\": 1") != std::string::npos, true);
}

TEST_F(CliSuggestTest, ASentenceOfTheOtherDirectionIsNotTranslated) {
    testing::CliRun run = cli({"--yes", "suggest", u8text(u8"这是中文句子。")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("--direction ce"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tavricat
