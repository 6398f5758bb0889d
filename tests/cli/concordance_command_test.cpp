// tm concordance: a phrase of the sources (analysed as keys are: "checked" finds "check"),
// a text of the translations, the limit, and a word too common for the library's own index.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using ConcordanceCommandTest = testing::CliHomeTest;

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

TEST_F(ConcordanceCommandTest, PhrasesOfSourcesAndTextsOfTranslationsAreFound) {
    ASSERT_EQ(cli({"--direction", "ec", "tm", "new", "Conc"}).exitCode, 0);
    ASSERT_EQ(cli({"--direction", "ec", "tm", "use", "Conc"}).exitCode, 0);
    // 800 examples hold "zzcommon": its postings reach the cap and it leaves the word index.
    std::string tmx = "<tmx version=\"1.4\"><header srclang=\"en\"/><body>";
    for (int i = 0; i < 800; ++i)
        tmx += "<tu><tuv xml:lang=\"en\"><seg>zzcommon zzrare" + std::to_string(i) + " item.</seg></tuv>"
               "<tuv xml:lang=\"zh\"><seg>" + utf8("项目") + std::to_string(i) + "</seg></tuv></tu>";
    tmx += "</body></tmx>";
    work.write("many.tmx", tmx);
    ASSERT_EQ(cli({"--direction", "ec", "tm", "import", work.file("many.tmx")}).exitCode, 0);
    ASSERT_EQ(cli({"--direction", "ec", "tm", "add", utf8("The pump must be checked every week.^水泵必须每周检查。")}).exitCode, 0);
    ASSERT_EQ(cli({"--direction", "ec", "tm", "add", utf8("Check the pump first.^先检查水泵。")}).exitCode, 0);

    testing::CliRun run = cli({"--direction", "ec", "--json", "tm", "concordance", "checked every week"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    nlohmann::json hits = nlohmann::json::parse(run.out)["hits"];
    ASSERT_EQ(hits.size(), 1u) << run.out;
    EXPECT_EQ(hits[0]["translation"], utf8("水泵必须每周检查。"));

    run = cli({"--direction", "ec", "--json", "tm", "concordance", "pump"});
    hits = nlohmann::json::parse(run.out)["hits"];
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0]["translation"], utf8("先检查水泵。")) << "newest first";

    run = cli({"--direction", "ec", "--json", "tm", "concordance", utf8("检查"), "--target", "--limit", "1"});
    hits = nlohmann::json::parse(run.out)["hits"];
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0]["field"], "translation");
    EXPECT_EQ(hits[0]["at"], 2);

    // The capped word is found through the concordance's own index.
    run = cli({"--direction", "ec", "--json", "tm", "concordance", "zzcommon zzrare7", "--limit", "5"});
    hits = nlohmann::json::parse(run.out)["hits"];
    ASSERT_EQ(hits.size(), 1u) << run.out;
    EXPECT_EQ(hits[0]["translation"], utf8("项目7"));
    run = cli({"--direction", "ec", "--json", "tm", "concordance", "zzcommon", "--limit", "5"});
    EXPECT_EQ(nlohmann::json::parse(run.out)["hits"].size(), 5u);
}

}  // namespace
}  // namespace tavricat
