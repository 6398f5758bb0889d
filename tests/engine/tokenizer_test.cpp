// Clean-up, punctuation spacing and word cutting, as input -> expected tables.

#include <gtest/gtest.h>

#include "engine/bar_lists.h"
#include "engine/tokenizer.h"

namespace tavricat {
namespace {

TEST(TokenizerTest, ExpandShortForms) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"I can't go.", "I can not go."},
        {"You CANNOT stay", "You can not stay"},
        {"I'm sure they're here, we've won", "I am sure they are here, we have won"},
        {"It ain't so, I shan't, we won't, don't", "It are not so, I shall not, we will not, do not"},
        {"中文 mixed 字", " mixed "},
        {"no apostrophe", "no apostrophe"},
        // Second bytes below 0x80 ("語" is 0xD5 0x5A, "時" 0x95 0x72) go with their character.
        {"語 Hello 時s", " Hello s"},
        // A lead byte that starts no character goes alone; the blank after it stays.
        {"caf\xe9 is \x81", "caf is "},
    };
    for (const Case& c : cases) EXPECT_EQ(expandShortForms(c.in), c.out) << c.in;
}

TEST(TokenizerTest, SpacePunct) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"Well, that's {x}", "Well , that ' s ( x }"},
        {"I can not go.", "I can not go ."},
        {"It is 3.5 m.", "It is 3.5 m ."},
        {"end,! next", "end ,! next"},
        {"a-b \"q\" (x) [y] =*&~", "a - b \" q \" ( x ) [ y ] = * & ~"},
        {"mail@host #1", "mail_@host _#1"},
        {"wait... then", "wait ... then"},
        {"It's ''quoted''", "It ' s \" quoted \""},
        {"?!", "?!"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(spacePunct(c.in), c.out) << c.in;
}

TEST(TokenizerTest, SplitHanChars) {
    EXPECT_EQ(splitHanChars(0, "我们，走"), "我 们 ， 走");
    EXPECT_EQ(splitHanChars(1, "我 们 ， 走"), "我 们 , 走");
    EXPECT_EQ(splitHanChars(0, "ab"), "ab");  // short texts are only trimmed
    EXPECT_EQ(splitHanChars(1, "\xA9\x6F\xA9\x7E" "x"), ",*x");  // small forms become ASCII
    EXPECT_EQ(splitHanChars(0, "\xA9\x6F" "xy"), "\xA9\x6F xy");
    // A trail byte that looks like "[" stays inside its character.
    EXPECT_EQ(spacePunct("\x81\x5B" "x"), "\x81\x5B" "x");
}

TEST(TokenizerTest, CountAndSplitWords) {
    EXPECT_EQ(countWords(""), 0);
    EXPECT_EQ(countWords("   "), 0);
    EXPECT_EQ(countWords(" a  b c "), 3);
    std::vector<std::string> slots(4);
    splitWords("one two three four", slots, 3);
    EXPECT_EQ(slots, (std::vector<std::string>{"", "one", "two", "three"}));
    std::vector<std::string> small(2);
    splitWords("a b c", small, 5);  // never beyond the array
    EXPECT_EQ(small[1], "a");
}

TEST(TokenizerTest, DedupBarAndFields) {
    EXPECT_EQ(dedupBar("a||b|a|"), "a|b");
    EXPECT_EQ(dedupBar(""), "");
    EXPECT_EQ(dedupBar("|x|"), "x");
    EXPECT_EQ(splitFields("a^b^c^d^e", '^', 4), (std::vector<std::string>{"a", "b", "c", "d^e"}));
    EXPECT_EQ(splitFields("a", '^', 4), (std::vector<std::string>{"a"}));
    EXPECT_EQ(joinFields({"a", "", "c"}, '^'), "a^^c");
}

}  // namespace
}  // namespace tavricat
