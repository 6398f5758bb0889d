// The editing commands of the translation box over GBK text: a double-byte character is
// never cut in two.

#include <gtest/gtest.h>

#include "interactive/translation_box_edits.h"
#include "memory/sentence_library.h"

namespace tavricat {
namespace {

TEST(TranslationBoxEditsTest, DeleteRightTakesExactlyTheNextCharacter) {
    // After a Chinese character, whether the next one is Latin or Chinese.
    BoxText latin = eraseRight("中a文", 2, 0);
    EXPECT_EQ(latin.text, "中文");
    EXPECT_EQ(latin.caret, 2u);
    EXPECT_EQ(eraseRight("中文字", 2, 0).text, "中字");
    EXPECT_EQ(eraseRight("中文", 4, 0).text, "中文");  // nothing right of the caret
    EXPECT_EQ(eraseRight("", 0, 0).text, "");
    EXPECT_EQ(eraseRight("ab中文", 1, 3).text, "a文");  // a selection ending inside 中 takes it whole
}

TEST(TranslationBoxEditsTest, BackspaceTakesTheWholeCharacterLeftOfTheCaret) {
    BoxText erased = eraseLeft("a中文", 3, 0);
    EXPECT_EQ(erased.text, "a文");
    EXPECT_EQ(erased.caret, 1u);
    EXPECT_EQ(eraseLeft("ab", 0, 0).text, "ab");
    EXPECT_EQ(eraseLeft("abcd", 1, 2).text, "ad");
}

TEST(TranslationBoxEditsTest, CapitalsChangeTheSelectionOrTheWholeText) {
    EXPECT_EQ(toAllCapitals("ab cd", 3, 2).text, "ab CD");
    EXPECT_EQ(toAllCapitals("ab 中 cd", 0, 0).text, "AB 中 CD");
    BoxText titled = toCapitalInitials("the  GREAT wall 长城", 0, 0);
    EXPECT_EQ(titled.text, "The Great Wall 长城");
    EXPECT_EQ(titled.caret, titled.text.size());
    EXPECT_EQ(toCapitalInitials("see the wall", 4, 8).text, "see The Wall");
}

TEST(TranslationBoxEditsTest, TheExampleBoxUpdatesTheStoredTranslation) {
    SentenceLibrary library;
    library.libSentences = {"03 zqbb zqbc . ^甲乙。"};
    EXPECT_TRUE(updateExampleFromBox(library, 0, "zqbb zqbc .\r\n[100%]丙 丁\r\n戊"));
    EXPECT_EQ(library.libSentences[0], "03 zqbb zqbc . ^丙丁  戊");
    EXPECT_FALSE(updateExampleFromBox(library, 0, "没有比率"));
    EXPECT_FALSE(updateExampleFromBox(library, 5, "[100%]丙"));

    EXPECT_FALSE(exampleForBox("", true).has_value());
    EXPECT_EQ(exampleForBox("甲乙", true), "甲 乙");
    EXPECT_EQ(exampleForBox("甲乙", false), "甲乙");
}

}  // namespace
}  // namespace tavricat
