// The meaning popup as data: its columns, the keyboard mode, paging, the text a chosen cell
// inserts, and the term base change a chosen meaning makes.

#include "area_sentence.h"
#include "engine/pinyin_service.h"
#include "engine/term_base.h"
#include "interactive/meaning_popup.h"
#include "interactive/popup_commands.h"

namespace tavricat {
namespace {

using testing::areaSentence;

std::vector<std::string> column(const MeaningPopup& popup, int col) {
    std::vector<std::string> cells;
    for (std::size_t r = 0; r < popup.rows().size(); ++r) cells.push_back(popup.cell(col, static_cast<int>(r)));
    return cells;
}

std::string twelveMeanings() {
    std::string list;
    for (int i = 0; i < 12; ++i) list += "m" + std::to_string(i) + "|";
    return list;
}

TEST(MeaningPopupTest, ColumnsHoldMeaningsFormsAndLabels) {
    const stClass sentence = areaSentence({{"book ", " 书 |[v.]预订||  |[n.计算机]簿", "books|booked"}});
    MeaningPopup popup;
    popup.open(sentence, 0, false, nullptr);
    // Two forms and room for three pinyin forms: five rows, though only three meanings.
    ASSERT_EQ(popup.rows().size(), 5u);
    EXPECT_EQ(column(popup, 1), (std::vector<std::string>{"书", "预订", "簿", "", ""}));
    EXPECT_EQ(column(popup, 2), (std::vector<std::string>{"books", "booked", "", "", ""}));
    EXPECT_EQ(column(popup, 3), (std::vector<std::string>{"", "[v.]", "[n.计算机]", "", ""}));
    EXPECT_TRUE(popup.hasFormsColumn());
    EXPECT_EQ(popup.rows()[0].number, "");
}

TEST(MeaningPopupTest, ChineseWordsGetTheirPinyinForms) {
    PinyinService pinyin;
    pinyin.loadText("北京\tbei jing\r\n去\tqu\r\n");
    const stClass sentence = areaSentence({{"去北京 ", "go to Beijing", "前往北京"}});
    MeaningPopup popup;
    popup.open(sentence, 0, false, &pinyin);
    EXPECT_EQ(column(popup, 2), (std::vector<std::string>{"前往北京", "QU BEIJING", "Qu Beijing", "qu beijing"}));
    // The popup opened from the keyboard leaves the forms out.
    popup.open(sentence, 0, true, &pinyin);
    EXPECT_EQ(column(popup, 2), std::vector<std::string>{""});
}

TEST(MeaningPopupTest, KeyboardModeNumbersTenRowsAndDigitsFollowThePage) {
    const stClass sentence = areaSentence({{"word ", twelveMeanings(), "a|b|c|d|e|f|g|h|i|j|k|l|m|n"}});
    MeaningPopup popup;
    popup.open(sentence, 0, true, nullptr);
    ASSERT_EQ(popup.rows().size(), 12u);  // the meanings only: the forms do not count
    EXPECT_FALSE(popup.hasFormsColumn());
    EXPECT_EQ(popup.rows()[9].number, "9");
    EXPECT_EQ(popup.rows()[10].number, "");
    EXPECT_EQ(popup.cell(2, 0), "");

    EXPECT_EQ(popup.chooseByKey(' ', false)->row, 0);
    EXPECT_EQ(popup.chooseByKey('3', false)->insertText, " m3");
    EXPECT_FALSE(popup.chooseByKey('[', false));
    EXPECT_EQ(popup.topRow(), 0);
    EXPECT_FALSE(popup.chooseByKey(']', false));
    EXPECT_EQ(popup.topRow(), 10);
    EXPECT_EQ(popup.chooseByKey('1', false)->row, 11);
    EXPECT_FALSE(popup.chooseByKey('2', false));  // row 12 does not exist
    EXPECT_FALSE(popup.chooseByKey(']', false));
    EXPECT_EQ(popup.topRow(), 10);  // no rows below
    EXPECT_FALSE(popup.chooseByKey('x', false));

    popup.open(sentence, 0, true, nullptr);  // a new opening starts at the top
    EXPECT_EQ(popup.topRow(), 0);
}

TEST(MeaningPopupTest, EnterAndCommandKeys) {
    const stClass sentence = areaSentence({{"the ", "这"}, {"Book ", "书"}});
    MeaningPopup popup;
    popup.open(sentence, 1, true, nullptr);
    EXPECT_EQ(popup.enterText(sentence), " Book ");
    EXPECT_EQ(popupCommandOfKey(186), PopupCommand::SplitPhrase);
    EXPECT_EQ(popupCommandOfKey(222), PopupCommand::ExampleSearch2);
    EXPECT_EQ(popupCommandOfKey(219), std::nullopt);  // "[" pages, it starts nothing
}

TEST(MeaningPopupTest, ChosenCellsInsertWithoutLabelsAndSpacedAsAsked) {
    const stClass sentence = areaSentence({{"book ", "[n.]书本|[v.] book in ", "booked"}});
    MeaningPopup popup;
    popup.open(sentence, 0, false, nullptr);
    const std::optional<PopupChoice> meaning = popup.choose(1, 0, true);
    ASSERT_TRUE(meaning);
    EXPECT_EQ(meaning->insertText, "书 本");
    EXPECT_EQ(meaning->newMeaning, "书本");
    // Latin text keeps its blank in front even with spaced Chinese characters.
    EXPECT_EQ(popup.choose(1, 1, true)->insertText, " book in");
    EXPECT_EQ(popup.choose(2, 0, false)->insertText, " booked");
    EXPECT_FALSE(popup.choose(2, 0, false)->newMeaning);
    EXPECT_EQ(popup.choose(3, 0, false)->insertText, " [n.]");
    EXPECT_FALSE(popup.choose(2, 3, false));  // an empty cell
    EXPECT_FALSE(popup.choose(1, 99, false));
    EXPECT_FALSE(popup.choose(0, 0, false));
}

class MeaningPromotionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(terms.insertAt(0, "book", "书|[v.]预订|本^n.v.^^专用"));
        popup.open(sentence, 0, false, nullptr);
    }

    std::optional<TermRewrite> promote(int column, int row) {
        const std::optional<PopupChoice> choice = popup.choose(column, row, false);
        return choice ? promotionOf(popup, *choice, sentence, terms) : std::nullopt;
    }

    TermBase terms;
    stClass sentence = areaSentence({{"book ", "书|[v.]预订|本", "books", "", " book "}});
    MeaningPopup popup;
};

TEST_F(MeaningPromotionTest, AChosenMeaningMovesToTheFrontKeepingTheRestOfTheEntry) {
    const std::optional<TermRewrite> second = promote(1, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->key, "book");
    EXPECT_EQ(second->entry, "[v.]预订|书|本^n.v.^^专用");
    EXPECT_EQ(promote(1, 2)->entry, "本|书|[v.]预订^n.v.^^专用");
}

TEST_F(MeaningPromotionTest, NothingChangesForTheFirstRowOtherColumnsOrUnknownKeys) {
    EXPECT_FALSE(promote(1, 0));
    EXPECT_FALSE(promote(2, 0));
    EXPECT_FALSE(promote(3, 1));
    sentence.segKeys[1] = "bok";
    EXPECT_FALSE(promote(1, 1));
}

TEST(PromotedEntryTest, ListsWithoutFurtherFieldsAndDuplicates) {
    EXPECT_EQ(promotedEntry("a|b|c", "", "c"), "c|a|b");
    EXPECT_EQ(promotedEntry("a||b|a|^x^y", "[n.]", "b"), "[n.]b|a|b^x^y");
    EXPECT_EQ(capitaliseWords("qu  beijing 北京 ok"), "Qu  Beijing 北京 Ok");
}

}  // namespace
}  // namespace tavricat
