// Rating and fitting the best example when a sentence is translated interactively: the rate
// rules, the threshold, and what a fuzzy match shows and puts into the translation box.

#include <gtest/gtest.h>

#include "interactive/sentence_fixture.h"
#include "document/han_spacing.h"
#include "grammar/translation_pipeline.h"
#include "memory/example_adaptation.h"
#include "memory/fuzzy_search.h"

namespace tavricat {
namespace {

using testing::nonsenseWords;

class BestExampleTest : public testing::SentenceFixture {};

TEST_F(BestExampleTest, EveryWordFoundOutOfOrderRates99NeverFull) {
    addExample(nonsenseWords(0, 3) + " .^甲乙丙。");
    // zqbb zqbf zqbc: each found (the search start moves on by a token's length less one),
    // but not in the example's order.
    const SentenceTranslation result = suggest("zqbb zqbf zqbc .");
    EXPECT_EQ(result.path, ExamplePath::Fuzzy);
    EXPECT_DOUBLE_EQ(result.ExampleRate, 0.99);
    ASSERT_EQ(result.reference.lines.size(), 2u);
    EXPECT_EQ(result.reference.lines[1], "[99%]甲乙丙。");
    EXPECT_FALSE(bench->sentenceState.exampleUsed);
    for (const SentenceToken& token : result.tokens) EXPECT_FALSE(token.differs) << token.word;
}

TEST_F(BestExampleTest, TheThresholdComparesTheWholePercentWithMatchrate) {
    bench->settings.matchrate = 70;
    // 39 of 55 tokens: 70.9 %, whose whole part is not above 70.
    addExample(nonsenseWords(0, 54) + " .^五十五。");
    SentenceTranslation below = suggest(nonsenseWords(0, 38) + " .");
    EXPECT_EQ(below.path, ExamplePath::None);
    EXPECT_EQ(below.ExampleRate, kNoExampleRate);
    EXPECT_TRUE(below.reference.empty());
    EXPECT_NE(below.translationBox, "五十五。");

    // 71 of 100 tokens: offered, labelled 71 %.
    addExample(nonsenseWords(100, 99) + " .^一百。");
    SentenceTranslation above = suggest(nonsenseWords(100, 70) + " .");
    EXPECT_EQ(above.path, ExamplePath::Fuzzy);
    ASSERT_EQ(above.reference.lines.size(), 2u);
    EXPECT_EQ(above.reference.lines[1], "[71%]一百。");
    EXPECT_EQ(above.reference.ranges.front(), (ColouredRange{1, 0, 5, ReferenceColour::Blue, true, false}));
    EXPECT_EQ(above.translationBox, "一百。");
}

TEST_F(BestExampleTest, TagsAreNeverMatchedAndLeaveTheDenominator) {
    addExample("zqbb zqbc <1:> zqbf zqbg .^甲乙<1:>丙丁。");
    // The same tag in both: still not a matched word; 4 of 5 words (the tags left out of
    // both counts) rate 80 %, not 4 of 6.
    const SentenceTranslation result = suggest("zqbb zqbc <1:> zqbf zqbx .");
    ASSERT_EQ(result.tokens.size(), 6u);
    EXPECT_EQ(result.tokens[2].word, "<1:>");
    EXPECT_TRUE(result.tokens[2].differs);
    EXPECT_TRUE(result.tokens[4].differs);
    EXPECT_FALSE(result.tokens[3].differs);
    EXPECT_DOUBLE_EQ(result.ExampleRate, 0.8);
    ASSERT_EQ(result.reference.lines.size(), 2u);
    EXPECT_EQ(result.reference.lines[1].substr(0, 5), "[80%]");
}

TEST_F(BestExampleTest, AWordTheTranslationHoldsAsItIsIsReplacedLiterally) {
    addTerm("zqbm", "丁");
    addExample("zqbb zqbc zqbf 25 zqbg zqbk zqbh zqbj .^甲25乙zqbk丙。");
    // The number and the untranslated word are put in as the sentence has them, even where
    // the sentence's word has a meaning.
    const SentenceTranslation result = suggest("zqbb zqbc zqbf 30 zqbg zqbm zqbh zqbj .");
    EXPECT_EQ(result.path, ExamplePath::Fuzzy);
    EXPECT_EQ(result.translationBox, "甲30乙zqbm丙。");
    ASSERT_EQ(result.tokens.size(), 9u);
    EXPECT_TRUE(result.tokens[3].differs);
    EXPECT_TRUE(result.tokens[5].differs);
    EXPECT_FALSE(result.tokens[4].differs);
    // The differing words of the example are marked red, bold and underlined in its source line.
    std::vector<std::string> marked;
    for (const ColouredRange& range : result.reference.ranges) {
        if (range.colour != ReferenceColour::Red) continue;
        EXPECT_TRUE(range.bold && range.underline);
        marked.push_back(result.reference.lines[0].substr(range.start, range.length));
    }
    EXPECT_EQ(marked, (std::vector<std::string>{" 25 ", " zqbk "}));
}

TEST_F(BestExampleTest, ADifferingWordIsReplacedByMeaning) {
    addTerm("zqbk", "丙");
    addTerm("zqbm", "[n.]丁|戊");
    addExample("zqbb zqbk zqbc .^甲丙乙。");
    const SentenceTranslation result = suggest("zqbb zqbm zqbc .");
    EXPECT_EQ(result.translationBox, "甲丁乙。");
    ASSERT_FALSE(result.reference.empty());
    EXPECT_EQ(result.reference.lines[0], " zqbb zqbk zqbc . ");
    const ColouredRange& gap = result.reference.ranges.back();
    EXPECT_EQ(result.reference.lines[0].substr(gap.start, gap.length), " zqbk ");
}

TEST_F(BestExampleTest, AFullMatchIsUsedAsStoredAndRemembered) {
    const std::size_t index = addExample("zqbb zqbc .^甲乙。");
    bench->settings.SpaceInHanChar = true;
    const SentenceTranslation result = suggest("zqbb zqbc .");
    EXPECT_EQ(result.path, ExamplePath::Full);
    EXPECT_TRUE(bench->sentenceState.exampleUsed);
    EXPECT_EQ(bench->sentenceState.exampleIndex, index);
    ASSERT_EQ(result.reference.lines.size(), 2u);
    EXPECT_EQ(result.reference.lines[1], "[100%]甲 乙 。");
    EXPECT_EQ(result.reference.ranges.front().length, 6u);
    EXPECT_EQ(result.translationBox, "甲 乙 。");
}

TEST_F(BestExampleTest, WithoutCandidatesTheMachineTranslationDependsOnGiveMT) {
    addTerm("zqbb", "甲");
    SentenceTranslation offered = suggest("zqbb zqbc .");
    EXPECT_EQ(offered.path, ExamplePath::None);
    EXPECT_FALSE(offered.translationBox.empty());
    EXPECT_EQ(offered.translationBox, ClearSpaceInCChars(machineTranslationOfSentence(bench->engine, Direction::EC)));

    bench->settings.giveMT = false;
    EXPECT_EQ(suggest("zqbb zqbc .").translationBox, "");
}

}  // namespace
}  // namespace tavricat
