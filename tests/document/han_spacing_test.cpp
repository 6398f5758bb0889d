// Blanks between Chinese characters: added, removed, and never inside a double-byte
// character whose trail byte looks like ASCII ("乗" ends in "\\", "亄" in "{").

#include <gtest/gtest.h>

#include "document/han_spacing.h"

namespace tavricat {
namespace {

struct SpacingCase {
    const char* input;
    const char* expected;
};

TEST(HanSpacingTest, AddSpaceInCChars) {
    const SpacingCase cases[] = {
        {"我们OK", "我 们 OK"},
        {"OK我们", "OK 我 们"},
        {"  我  们  ", "我 们"},
        {"a,我.b", "a, 我 .b"},
        {"我 们", "我 们"},
        {"乗亄x", "乗 亄 x"},
        {"plain text", "plain text"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AddSpaceInCChars(c.input), c.expected) << c.input;
}

TEST(HanSpacingTest, ClearSpaceInCChars) {
    const SpacingCase cases[] = {
        {"我 们 OK", "我们 OK"},
        {" 我 们 的 ", "我们的"},
        {"我  们", "我  们"},
        {"OK 我 a 们", "OK 我 a 们"},
        {"乗 亄", "乗亄"},
        {"\r\n我 们\r\n", "我们"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ClearSpaceInCChars(c.input), c.expected) << c.input;
}

TEST(HanSpacingTest, ClearUndoesAddBetweenChineseCharacters) {
    for (const char* text : {"我们的书", "乗亄乚亇", "中文，标点。"})
        EXPECT_EQ(ClearSpaceInCChars(AddSpaceInCChars(text)), text) << text;
}

TEST(HanSpacingTest, HasCChars) {
    EXPECT_TRUE(hasCChars("abc我"));
    EXPECT_TRUE(hasCChars("乗"));
    EXPECT_FALSE(hasCChars("abc {x}"));
    EXPECT_FALSE(hasCChars("abc\x81"));  // a lone lead byte at the end is no character
    EXPECT_FALSE(hasCChars(""));
    // Western text read through GBK: a stray lead byte before a blank, GBK's own accented
    // Latin letters and full-width punctuation are no Chinese.
    EXPECT_FALSE(hasCChars("The caf\xe9  is open."));
    EXPECT_FALSE(hasCChars("The café is closed，today。"));
    EXPECT_TRUE(hasCChars("語 Hello"));
    EXPECT_TRUE(hasCChars("“北京”"));
}

}  // namespace
}  // namespace tavricat
