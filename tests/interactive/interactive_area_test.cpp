// The interactive area as data: what each token shows, which labels the display mode and
// `maxshowcharnum` let through, and how shortcut letters page over a long sentence.

#include <tuple>

#include "area_sentence.h"
#include "interactive/interactive_area.h"
#include "interactive/sentence_translation.h"

namespace tavricat {
namespace {

using testing::areaSentence;
using testing::wordsSentence;

// The letters of tokens 0..n-1 as one string, '.' for a token without a letter.
std::string letters(const InteractiveArea& area) {
    std::string out;
    for (const AreaToken& token : area.tokens()) out += token.shortcut ? token.shortcut : '.';
    return out;
}

InteractiveArea built(const stClass& sentence, AreaOptions options = {}, const std::vector<SentenceToken>& tokens = {}) {
    InteractiveArea area;
    area.build(sentence, tokens, options);
    return area;
}

TEST(FirstMeaningTest, TakesTheFirstItemWithoutItsLabel) {
    const std::pair<const char*, const char*> cases[] = {
        {"书|本子", "书"},
        {"  [n.]书|[v.]预订 ", "书"},
        {"[n.计算机]书", "书"},
        {"[]书", "书"},            // the "]" right after the bracket still closes it
        {"[n.书", "[n.书"},        // no closing bracket: no label
        {"n.]书", "n.]书"},        // not a leading label
        {"|书|本", "|书|本"},      // "|" first: the whole entry
        {"", ""},
    };
    for (const auto& [translations, meaning] : cases) EXPECT_EQ(firstMeaningOf(translations), meaning) << translations;
}

TEST(InteractiveAreaTest, TokensCarryTextMeaningBoldAndRed) {
    const stClass sentence = areaSentence({{"Smith ", "[人名]史密斯", "", "人名专用"}, {"read ", "读|阅读"}, {"it ", "它"}});
    std::vector<SentenceToken> translated(2);
    translated[1].differs = true;  // shorter than the sentence: the rest is not red
    const InteractiveArea area = built(sentence, {}, translated);
    ASSERT_EQ(area.size(), 3u);
    EXPECT_EQ(area.token(0).text, "Smith ");
    EXPECT_EQ(area.token(0).meaning, "史密斯");
    EXPECT_TRUE(area.token(0).bold);
    EXPECT_FALSE(area.token(1).bold);
    EXPECT_EQ(area.token(1).meaning, "读");
    EXPECT_EQ((std::vector<bool>{area.token(0).red, area.token(1).red, area.token(2).red}),
              (std::vector<bool>{false, true, false}));
    EXPECT_EQ(area.currentWord(), 0);
}

TEST(InteractiveAreaTest, ShortWordsShowNeitherMeaningNorLetter) {
    // Counted in characters of the trimmed text: "a " is one letter, "书" one character of
    // two bytes.
    const stClass sentence = areaSentence({{"a ", "一"}, {"书 ", "book"}, {"book ", "书"}, {"ok", "好"}});
    InteractiveArea area = built(sentence, {DisplayMode::MeaningsAndShortcuts, 2});
    std::vector<bool> meanings, shortcuts;
    for (const AreaToken& token : area.tokens()) {
        meanings.push_back(token.meaningVisible);
        shortcuts.push_back(token.shortcutVisible);
    }
    EXPECT_EQ(meanings, (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(shortcuts, (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(area.token(0).text, "a ");  // the word itself stays

    area.setOptions({DisplayMode::MeaningsAndShortcuts, 1});
    for (const AreaToken& token : area.tokens()) EXPECT_TRUE(token.meaningVisible && token.shortcutVisible);
}

TEST(InteractiveAreaTest, DisplayModesSetTheTwoFlags) {
    const stClass sentence = areaSentence({{"book ", "书"}});
    InteractiveArea area = built(sentence);
    const std::tuple<DisplayMode, bool, bool, const char*> modes[] = {
        {DisplayMode::MeaningsAndShortcuts, true, true, "Ctrl+Y"},
        {DisplayMode::MeaningsOnly, true, false, "Ctrl+E"},
        {DisplayMode::ShortcutsOnly, false, true, "Ctrl+T"},
        {DisplayMode::SourceOnly, false, false, "Ctrl+R"},
    };
    for (const auto& [mode, explanations, shortcuts, key] : modes) {
        area.setOptions({mode, 1});
        EXPECT_EQ(area.token(0).meaningVisible, explanations);
        EXPECT_EQ(area.token(0).shortcutVisible, shortcuts);
        EXPECT_STREQ(displayModeInfo(mode).menuShortcut, key);
        EXPECT_EQ(displayModeOf(explanations, shortcuts), mode);
    }
    EXPECT_STREQ(displayModeInfo(DisplayMode::MeaningsAndShortcuts).buttonHint, "原文+释义+快捷键");
    EXPECT_STREQ(displayModeInfo(DisplayMode::MeaningsAndShortcuts).menuCaption, "原文+释义+提示");
}

TEST(ShortcutPagesTest, ThirtyTokensPageInOverlappingHalves) {
    InteractiveArea area = built(wordsSentence(30));
    EXPECT_EQ(letters(area), "abcdefghijklmnopqrstuvwxyz....");

    ASSERT_TRUE(area.nextShortcutPage());
    EXPECT_EQ(letters(area), ".............abcdefghijklmnopq");
    ASSERT_TRUE(area.nextShortcutPage());
    EXPECT_EQ(area.shortcutPage(), 2);
    EXPECT_EQ(letters(area), "..........................abcd");
    EXPECT_FALSE(area.nextShortcutPage());  // no token beyond 29 to start a page at
    EXPECT_EQ(area.shortcutPage(), 2);
    EXPECT_EQ(letters(area), "..........................abcd");

    EXPECT_TRUE(area.previousShortcutPage());
    EXPECT_TRUE(area.previousShortcutPage());
    EXPECT_FALSE(area.previousShortcutPage());
    EXPECT_EQ(area.shortcutPage(), 0);
    EXPECT_EQ(letters(area), "abcdefghijklmnopqrstuvwxyz....");
}

TEST(ShortcutPagesTest, APageThatWouldStartAtTheEndIsRefused) {
    // 26 tokens: page 2 would start at token 26, which does not exist, and carry no letter.
    InteractiveArea area = built(wordsSentence(26));
    EXPECT_TRUE(area.nextShortcutPage());
    EXPECT_FALSE(area.nextShortcutPage());
    EXPECT_EQ(area.shortcutPage(), 1);
    EXPECT_EQ(area.tokenOfShortcut('a'), 13);

    InteractiveArea small = built(wordsSentence(13));
    EXPECT_FALSE(small.nextShortcutPage());
}

TEST(ShortcutPagesTest, AltLetterReachesOnlyTokensOfTheSentence) {
    InteractiveArea area = built(wordsSentence(30));
    EXPECT_EQ(area.tokenOfShortcut('a'), 0);
    EXPECT_EQ(area.tokenOfShortcut('Z'), 25);
    ASSERT_TRUE(area.nextShortcutPage());
    ASSERT_TRUE(area.nextShortcutPage());
    EXPECT_EQ(area.tokenOfShortcut('d'), 29);
    EXPECT_EQ(area.tokenOfShortcut('e'), std::nullopt);
    EXPECT_EQ(area.tokenOfShortcut('['), std::nullopt);

    const InteractiveArea small = built(wordsSentence(5));
    EXPECT_EQ(small.tokenOfShortcut('e'), 4);
    EXPECT_EQ(small.tokenOfShortcut('f'), std::nullopt);
    EXPECT_EQ(InteractiveArea().tokenOfShortcut('a'), std::nullopt);
}

TEST(ShortcutPagesTest, AltKeysTurnPagesAndOpenThePopupOfALetteredToken) {
    InteractiveArea area = built(wordsSentence(20));
    EXPECT_FALSE(area.altKey(219, false).pageTurned);  // already on page 0
    EXPECT_TRUE(area.altKey(221, false).pageTurned);
    const InteractiveArea::AltKeyResult g = area.altKey('G', false);
    EXPECT_EQ(g.openPopupFor, 19);
    EXPECT_EQ(area.currentWord(), 19);
    EXPECT_FALSE(area.altKey('H', false).openPopupFor);  // token 20 does not exist
    EXPECT_FALSE(area.altKey('A', true).openPopupFor);   // the popup is already up
    EXPECT_EQ(area.currentWord(), 19);
}

TEST(InteractiveAreaTest, ANewSentenceStartsClean) {
    InteractiveArea area = built(wordsSentence(30));
    ASSERT_TRUE(area.toggleMarked(3));
    ASSERT_TRUE(area.toggleMarked(5));
    ASSERT_TRUE(area.toggleMarked(3));
    EXPECT_EQ(area.markedTokens(), std::vector<int>{5});
    EXPECT_FALSE(area.toggleMarked(30));
    ASSERT_TRUE(area.setCurrentWord(7));
    EXPECT_FALSE(area.setCurrentWord(30));
    EXPECT_EQ(area.currentWord(), 7);
    ASSERT_TRUE(area.nextShortcutPage());

    area.build(wordsSentence(4), {}, {});
    EXPECT_TRUE(area.markedTokens().empty());
    EXPECT_EQ(area.currentWord(), 0);
    EXPECT_EQ(area.shortcutPage(), 0);
    EXPECT_EQ(letters(area), "abcd");

    area.build(wordsSentence(0), {}, {});
    EXPECT_EQ(area.currentWord(), -1);
}

}  // namespace
}  // namespace tavricat
