// What clicks in the interactive area, the punctuation buttons and the common-character box
// put into the translation box.

#include <set>
#include <tuple>

#include "area_sentence.h"
#include "interactive/area_insertion.h"
#include "interactive/interactive_area.h"
#include "interactive/phrase_tip.h"

namespace tavricat {
namespace {

TEST(LabelInsertionTest, ABlankSeparatesOnlyTwoLatinWords) {
    // "\x81\x61" is one Chinese character whose second byte reads as "a".
    const std::tuple<std::string, std::size_t, std::string, std::string> cases[] = {
        {"a", 1, "book", " book"},
        {"中", 2, "book", "book"},
        {"\x81\x61", 2, "book", "book"},
        {"a", 0, "book", "book"},           // caret at the start
        {"ab cd", 2, "book", " book"},      // caret inside the text
        {"a ", 2, "book", "book"},
        {"a", 1, "书", "书"},
        {"3", 1, "4x", " 4x"},
        {"a", 1, "", ""},
        {"a", 5, "book", "book"},           // a caret past the text is not read
    };
    for (const auto& [box, caret, text, expected] : cases)
        EXPECT_EQ(withSeparatingBlank(box, caret, text), expected) << box << " @" << caret << " + " << text;
}

TEST(LabelInsertionTest, WordAndMeaningClicks) {
    AreaToken token;
    token.text = " book ";
    token.meaning = "预订'";
    EXPECT_EQ(wordClickText(token), "book");
    EXPECT_EQ(meaningClickText(token, false), "预订");
    EXPECT_EQ(meaningClickText(token, true), "预 订");
    token.meaning.clear();
    EXPECT_EQ(meaningClickText(token, false), " book ");
}

TEST(LabelInsertionTest, TheMeaningIsFoundFromTheCaretOnThenFromTheStart) {
    const std::string box = "书 and 书 or";
    EXPECT_EQ(findFromCaret(box, 0, "书")->start, 0u);
    EXPECT_EQ(findFromCaret(box, 1, "书")->start, 7u);
    EXPECT_EQ(findFromCaret(box, 8, "书")->start, 0u);
    EXPECT_EQ(findFromCaret(box, 99, "or")->start, 10u);
    EXPECT_FALSE(findFromCaret(box, 0, "书本"));
    EXPECT_FALSE(findFromCaret(box, 0, ""));
    // "\x81\x61" ends in the byte of "a": the "a" of "ab" is found, not the half character.
    EXPECT_EQ(findFromCaret("\x81\x61" "ab", 0, "a")->start, 2u);
}

TEST(PunctuationTest, TextByDirectionAndTheCaretInsideBrackets) {
    const PunctuationButton& comma = kPunctuationButtons[0];
    const PunctuationButton& brackets = kPunctuationButtons[6];
    EXPECT_EQ(punctuationInsertion(comma, Direction::CE, true).text, ", ");
    EXPECT_EQ(punctuationInsertion(comma, Direction::EC, true).text, " ，");
    EXPECT_EQ(punctuationInsertion(comma, Direction::EC, false).text, "，");
    EXPECT_EQ(punctuationInsertion(comma, Direction::EC, false).caretBack, 0);
    for (Direction direction : {Direction::CE, Direction::EC}) {
        const BoxInsertion pair = punctuationInsertion(brackets, direction, false);
        EXPECT_EQ(pair.caretBack, 1) << pair.text;
    }
    EXPECT_EQ(punctuationInsertion(brackets, Direction::EC, false).text, "（）");
}

TEST(CommonCharactersTest, TheRunUnderThePositionBetweenBlanksAndLineBreaks) {
    const std::string box = "的 了\r\n是不是 么";
    auto runAt = [&](std::size_t pos) {
        const std::optional<TextRun> run = commonCharacterRunAt(box, pos);
        return run ? box.substr(run->start, run->length) : std::string("<none>");
    };
    EXPECT_EQ(runAt(0), "的");
    EXPECT_EQ(runAt(4), "了");
    EXPECT_EQ(runAt(10), "是不是");  // the second byte of "不"
    EXPECT_EQ(runAt(14), "么");
    EXPECT_EQ(runAt(2), "<none>");   // on the blank
    EXPECT_EQ(runAt(6), "<none>");   // on the line break
    EXPECT_EQ(runAt(box.size()), "<none>");

    EXPECT_EQ(commonCharacterInsertText(" 是不是\r\n", Direction::EC, true), "是 不 是");
    EXPECT_EQ(commonCharacterInsertText("of the", Direction::CE, false), " of the");
}

TEST(PhraseTipTest, TheLongestAnsweredRunUpToTheFirstShortAnswer) {
    const stClass sentence = testing::wordsSentence(6);
    auto answering = [](std::set<int> counts) {
        return [counts](int, int count) { return counts.count(count) ? std::string("^译文") : std::string("^x"); };
    };
    EXPECT_EQ(phraseTipOf(sentence, 1, answering({2, 3})).count, 3);
    EXPECT_EQ(phraseTipOf(sentence, 1, answering({2, 3})).first, 1);
    EXPECT_EQ(phraseTipOf(sentence, 1, answering({3, 4})).count, 0);  // stops at the run of 2
    EXPECT_EQ(phraseTipOf(sentence, 2, answering({2, 3, 4, 5, 6})).count, 4);  // up to the end
    EXPECT_EQ(phraseTipOf(sentence, 5, answering({2})).count, 0);  // the last token has no run

    std::vector<std::pair<int, int>> asked;
    phraseTipOf(sentence, 3, [&](int first, int count) {
        asked.emplace_back(first, count);
        return std::string("^译文");
    });
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{4, 2}, {4, 3}}));  // 1-based slots
}

}  // namespace
}  // namespace tavricat
