// The term base editor's rows: filling by the filter, marks and their row numbers, deletion,
// new rows, the meaning limit and the write-back into the file's lists.

#include <gtest/gtest.h>

#include "engine/term_grid.h"

namespace tavricat {
namespace {

class TermGridTest : public ::testing::Test {
protected:
    LineList deleted{"kiwi"};
    TermGrid grid{{"apple", "green tea", "kiwi fruit", "pear"},
                  {"苹果|苹^^n^专用", "绿茶^^n^已校|专用", "^^^", "梨|鸭梨|雪梨^^n^已校"},
                  false,
                  &deleted};

    std::vector<std::string> shownKeys() const {
        std::vector<std::string> keys;
        for (std::size_t i = 0; i < grid.shownCount(); ++i) keys.push_back(grid.row(i).cells[kKeyColumn]);
        return keys;
    }
};

TEST_F(TermGridTest, FilterChoosesRowsAndNumbersCarryTheMarks) {
    grid.fill({});
    ASSERT_EQ(grid.rowCount(), 5u);
    EXPECT_EQ(grid.row(0).cells[kNumberColumn], "1.t");
    EXPECT_EQ(grid.row(1).cells[kNumberColumn], "2.vt");
    EXPECT_EQ(grid.row(2).cells[kNumberColumn], "3");
    EXPECT_EQ(grid.row(3).cells[kNumberColumn], "4.v");
    EXPECT_EQ(grid.row(4).cells[kNumberColumn], "*");
    EXPECT_EQ(grid.row(3).cells[kMeaningsColumn], "梨|鸭梨|雪梨");
    EXPECT_EQ(grid.row(3).cells[kAttributeColumn], "已校");

    grid.fill({50, 2, 0, TermShow::All});
    EXPECT_EQ(shownKeys(), (std::vector<std::string>{"green tea", "kiwi fruit"}));
    grid.fill({50, 0, 2, TermShow::Verified});
    EXPECT_EQ(shownKeys(), (std::vector<std::string>{"pear"}));  // green tea has one meaning
    grid.fill({50, 0, 0, TermShow::Domain});
    EXPECT_EQ(shownKeys(), (std::vector<std::string>{"apple", "green tea"}));
    grid.fill({50, 5, 5, TermShow::NewWords});  // the minimums do not apply to new words
    EXPECT_EQ(shownKeys(), (std::vector<std::string>{"kiwi fruit"}));
}

TEST_F(TermGridTest, MarksReplaceEachOtherAndClearADeletion) {
    grid.fill({});
    grid.markDeleted({0});
    EXPECT_EQ(grid.row(0).cells[kNumberColumn], "X");
    grid.mark({0, 4}, TermMark::Verified);  // the "*" row is left alone
    EXPECT_EQ(grid.row(0).cells[kAttributeColumn], "已校");
    EXPECT_EQ(grid.row(0).cells[kNumberColumn], "1.v");
    EXPECT_EQ(grid.row(4).cells[kNumberColumn], "*");
    grid.mark({1}, TermMark::Domain);
    EXPECT_EQ(grid.row(1).cells[kAttributeColumn], "专用");
    EXPECT_EQ(grid.row(1).cells[kNumberColumn], "2.t");
    ASSERT_TRUE(grid.setCell(2, kAttributeColumn, "|外来||词|"));
    grid.mark({2}, TermMark::Domain);
    EXPECT_EQ(grid.row(2).cells[kAttributeColumn], "外来|词|专用");
    grid.mark({1, 2}, TermMark::Ordinary);
    EXPECT_EQ(grid.row(1).cells[kAttributeColumn], "");
    EXPECT_EQ(grid.row(2).cells[kAttributeColumn], "外来|词");
    EXPECT_EQ(grid.row(2).cells[kNumberColumn], "3");
}

TEST_F(TermGridTest, WriteBackReplacesInsertsAndDeletes) {
    grid.fill({});
    ASSERT_TRUE(grid.setCell(0, kMeaningsColumn, "苹果|林檎"));
    grid.markDeleted({3});
    ASSERT_TRUE(grid.setCell(4, kKeyColumn, "kiwi"));
    ASSERT_TRUE(grid.setCell(4, kMeaningsColumn, "猕猴桃"));
    ASSERT_TRUE(grid.addRow());
    EXPECT_EQ(grid.row(4).cells[kNumberColumn], "5");
    EXPECT_FALSE(grid.addRow());  // the new "*" row has no key yet
    grid.writeBack();
    EXPECT_EQ(grid.keys(), (LineList{"apple", "green tea", "kiwi", "kiwi fruit"}));
    EXPECT_EQ(grid.values()[0], "苹果|林檎^^n^专用");
    EXPECT_EQ(grid.values()[2], "猕猴桃^^^");
    EXPECT_EQ(deleted, (LineList{"pear"}));  // kiwi is back, pear is gone
}

TEST_F(TermGridTest, ARowMarkedDeletedNeverBringsAnEntryBackUnderAnEditedKey) {
    grid.fill({});
    ASSERT_TRUE(grid.setCell(0, kKeyColumn, "apples"));
    grid.markDeleted({0});
    grid.writeBack();
    EXPECT_EQ(grid.keys(), (LineList{"green tea", "kiwi fruit", "pear"}));
    // An edited key without the mark is a new entry; the old one stays.
    grid.fill({});
    ASSERT_TRUE(grid.setCell(0, kKeyColumn, "black tea"));
    grid.writeBack();
    EXPECT_EQ(grid.keys(), (LineList{"black tea", "green tea", "kiwi fruit", "pear"}));
}

TEST_F(TermGridTest, TheMeaningLimitAppliesOnlyWhenAsked) {
    grid.fill({});
    grid.writeBack(nullptr);
    EXPECT_EQ(grid.values()[3], "梨|鸭梨|雪梨^^n^已校");
    TermGridFilter limit{2, 0, 0, TermShow::All};
    grid.writeBack(&limit);
    EXPECT_EQ(grid.values()[3], "梨|鸭梨^^n^已校");
    TermGrid all{{"pear"}, {"1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21|22"}, false, nullptr};
    all.fill({});
    TermGridFilter twenty{20, 0, 0, TermShow::All};
    all.writeBack(&twenty);
    EXPECT_EQ(all.values()[0], "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21|22^^^");
}

TEST_F(TermGridTest, CEKeysGetTheirBlanksAndFurtherFieldsSurvive) {
    TermGrid ce{{"中 国"}, {"China^^n^^extra"}, true, nullptr};
    ce.fill({});
    EXPECT_EQ(ce.row(0).cells[kAttributeColumn], "^extra");
    ASSERT_TRUE(ce.setCell(1, kKeyColumn, "苹果"));
    ASSERT_TRUE(ce.addRow());
    ce.writeBack();
    EXPECT_EQ(ce.keys(), (LineList{"苹 果", "中 国"}));
    EXPECT_EQ(ce.values()[1], "China^^n^^extra");
    EXPECT_TRUE(ce.findKey("中国").exact);
}

TEST_F(TermGridTest, RowNumbersLookUpAndCellItems) {
    grid.fill({});
    EXPECT_EQ(grid.rowOfNumber(" 2 "), std::optional<std::size_t>(1));
    for (const char* bad : {"0", "5", "", "2a", "-1", "99999999999999999999"}) EXPECT_FALSE(grid.rowOfNumber(bad)) << bad;
    EXPECT_EQ(grid.findKey("PEAR").row, 3u);
    EXPECT_TRUE(grid.findKey("PEAR").exact);
    TermGrid::Found nearest = grid.findKey("banana");
    EXPECT_FALSE(nearest.exact);
    EXPECT_EQ(nearest.row, 1u);  // green tea
    EXPECT_EQ(grid.findKey("zebra").row, 3u);
    EXPECT_EQ(cellItems("a||b|"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(moveItemToFront("a|b|c", 2), "c|a|b");
    EXPECT_EQ(moveItemToFront("a|b|c", 7), "a|b|c");
}

}  // namespace
}  // namespace tavricat
