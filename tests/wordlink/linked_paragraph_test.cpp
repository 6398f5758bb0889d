// A paragraph taken from Writer is cut into sentences by the program's own getters, and the
// sentence found in GBK bytes is selected in Writer by characters.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "wordlink/bridge_protocol.h"
#include "wordlink/linked_paragraph.h"

namespace tavricat::wordlink {
namespace {

class NoAbbreviations : public AbbreviationLookup {
public:
    bool contains(std::string_view) const override { return false; }
};

const NoAbbreviations kNone;

// Writer speaks UTF-8; the literals of this file are GBK.
std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }
const BreakOptions kBreaks{};

// Every sentence of `utf8` in order, as Writer would be asked to select them (characters).
std::vector<std::pair<std::size_t, std::size_t>> walk(const std::string& utf8, Direction direction) {
    const LinkedParagraph paragraph(utf8);
    std::vector<std::pair<std::size_t, std::size_t>> picks;
    std::size_t caret = 0;
    while (auto pick = pickSentence(paragraph, caret, direction, kBreaks, kNone)) {
        picks.emplace_back(paragraph.characterAt(pick->start), paragraph.characterAt(pick->end));
        if (pick->end <= caret) break;
        caret = pick->end;
    }
    return picks;
}

TEST(LinkedParagraphTest, PositionsCountCharactersWhateverTheirWidth) {
    // An emoji has no GBK form: it stands as one "?", so positions stay in step.
    const LinkedParagraph paragraph(utf8("a中b") + "\xF0\x9F\x98\x80" "c");
    EXPECT_EQ(paragraph.characterCount(), 5u);
    EXPECT_EQ(paragraph.text(), "a\xD6\xD0" "b?c");
    EXPECT_EQ(paragraph.lostCharacters(), 1u);
    EXPECT_EQ(paragraph.byteOf(2), 3u);
    EXPECT_EQ(paragraph.characterAt(2), 1u);  // the trail byte of 中
    EXPECT_EQ(paragraph.characterAt(4), 3u);
    EXPECT_EQ(paragraph.byteOf(99), paragraph.text().size());
}

TEST(LinkedParagraphTest, EnglishSentencesAreWalkedAndTranslatedOnesSteppedOver) {
    EXPECT_EQ(walk("Press the button. Then wait.", Direction::EC),
              (std::vector<std::pair<std::size_t, std::size_t>>{{0, 18}, {18, 28}}));
    // A sentence written back in Writer's marker form is not taken again.
    const std::string done = utf8("{0>Press the button. <}999{>按下按钮。<0}Then wait.");
    const auto picks = walk(done, Direction::EC);
    ASSERT_FALSE(picks.empty());
    const LinkedParagraph paragraph(done);
    auto next = pickSentence(paragraph, paragraph.byteOf(36), Direction::EC, kBreaks, kNone);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->sentence, "Then wait.");
    EXPECT_FALSE(next->revision);
    // After the last segment of a paragraph nothing is left to take.
    const LinkedParagraph ended(utf8("{0>Before you start<}999{>之前你开始<0}"));
    EXPECT_FALSE(pickSentence(ended, ended.text().size(), Direction::EC, kBreaks, kNone));
}

TEST(LinkedParagraphTest, TheCursorInsideATranslatedSentenceRevisesIt) {
    const LinkedParagraph paragraph(utf8("{0>Press the button.<}87{>按下按钮。<0} Then wait."));
    auto pick = pickSentence(paragraph, paragraph.byteOf(5), Direction::EC, kBreaks, kNone);
    ASSERT_TRUE(pick);
    EXPECT_TRUE(pick->revision);
    EXPECT_EQ(pick->sentence, "Press the button.");
    EXPECT_EQ(paragraph.text().substr(pick->start, pick->end - pick->start), "按下按钮。");
}

TEST(LinkedParagraphTest, ChineseSentencesEndAtTheirStops) {
    const LinkedParagraph paragraph(utf8("请先阅读说明书。然后插上电源！"));
    auto first = pickSentence(paragraph, 0, Direction::CE, kBreaks, kNone);
    ASSERT_TRUE(first);
    EXPECT_EQ(paragraph.characterAt(first->start), 0u);
    EXPECT_EQ(paragraph.characterAt(first->end), 8u);
    auto second = pickSentence(paragraph, first->end, Direction::CE, kBreaks, kNone);
    ASSERT_TRUE(second);
    EXPECT_EQ(paragraph.characterAt(second->end), 15u);
}

TEST(BridgeProtocolTest, FieldsSurviveTabsLineBreaksAndBackslashes) {
    const std::vector<std::string> fields{"putback", "a\tb\\c\r\nd", "", "\\t"};
    const std::string line = requestLine(fields);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(fieldsOf(line), fields);
}

}  // namespace
}  // namespace tavricat::wordlink
