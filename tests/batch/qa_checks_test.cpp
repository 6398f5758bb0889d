// The quality checks find every planted fault of a bilingual document, one of each kind, and
// nothing else; numbers written in other forms and terms rendered by their meaning pass.

#include <gtest/gtest.h>

#include "batch/qa_checks.h"
#include "engine/term_base.h"

namespace tavricat {
namespace {

std::string segment(const std::string& source, const std::string& translation) {
    return "{*>" + source + "<}999{>" + translation + "<*}";
}

TermBase termsOf(const std::vector<std::pair<std::string, std::string>>& entries) {
    TermBase terms;
    for (const auto& [key, entry] : entries) {
        const SortedFind at = terms.find(key);
        terms.insertAt(at.index, key, entry);
    }
    return terms;
}

TEST(QaChecksTest, EveryPlantedFaultIsFoundOnceAndNothingElse) {
    const std::string document =
        "Title line, not translated yet.\r\n" +
        segment("The valve is closed.", "阀门已关闭。") + " " +                       // 0 clean
        segment("Press <1:>Start<:1> now.", "现在按<1:>开始。") + "\r\n" +          // 1 tags
        segment("It weighs 1,250 kg.", "重１２５０公斤。") + " " +                  // 2 clean: one number
        segment("Set it to 40 degrees.", "设为45度。") + " " +                        // 3 numbers
        segment("Open the valve slowly.", "慢慢打开开关。") + "\r\n" +              // 4 terms
        segment("Keep dry.", "Keep dry.") + " " +                                    // 5 untranslated
        segment("Do not drop.", "") + " " +                                          // 6 empty
        segment("The valve is closed.", "阀门关着。") + "\r\n" +                    // 7 inconsistent
        segment("Wait here.", "请在这里  等待。") + " " +                            // 8 double blanks
        segment("Stop now.", "现在停止.") + "\r\n";                                  // 9 punctuation
    const std::vector<QaSegment> segments = bilingualSegments(document);
    ASSERT_EQ(segments.size(), 10u);
    EXPECT_EQ(segments[0].line, 2u);
    EXPECT_EQ(segments[9].line, 5u);
    const TermBase terms = termsOf({{"valve", "[n.]阀门|阀"}, {"open", "打开|开"}});

    const std::vector<QaFinding> findings = checkSegments(segments, Direction::EC, &terms);
    std::vector<std::pair<std::size_t, QaKind>> found;
    for (const QaFinding& finding : findings) found.emplace_back(finding.segment, finding.kind);
    EXPECT_EQ(found, (std::vector<std::pair<std::size_t, QaKind>>{{1, QaKind::Tags},
                                                                   {3, QaKind::Numbers},
                                                                   {4, QaKind::Terms},
                                                                   {5, QaKind::Untranslated},
                                                                   {6, QaKind::Empty},
                                                                   {7, QaKind::Inconsistent},
                                                                   {8, QaKind::DoubleBlanks},
                                                                   {9, QaKind::Punctuation}}));
    EXPECT_EQ(findings[1].detail, "40");
    EXPECT_EQ(findings[2].detail, "valve -> 阀门");
    EXPECT_EQ(findings[5].detail, "阀门已关闭。");
}

TEST(QaChecksTest, ChineseToEnglishChecksTheEnglishTarget) {
    const std::string document = segment("水泵每周检查一次。", "Check the pump once a week.") +
                                 segment("阀门已关闭。", "The valve is closed。") +        // full-width stop
                                 segment("请等待。", "请等待。") +                        // untranslated
                                 segment("重量为１２５０公斤。", "It weighs 1,250 kg.") +  // one number
                                 segment("水泵", "water pump");
    const TermBase terms = termsOf({{"水 泵", "Pump|pumps"}});
    const std::vector<QaFinding> findings = checkSegments(bilingualSegments(document), Direction::CE, &terms);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].kind, QaKind::Punctuation);
    EXPECT_EQ(findings[0].segment, 1u);
    EXPECT_EQ(findings[1].kind, QaKind::Untranslated);
    EXPECT_EQ(findings[1].segment, 2u);
}

TEST(QaChecksTest, NumbersAreComparedInOneForm) {
    EXPECT_EQ(numbersIn("1,000 and 1000 and １０００"), (std::vector<std::string>{"1000", "1000", "1000"}));
    EXPECT_EQ(numbersIn("pH 7.5, page 3."), (std::vector<std::string>{"7.5", "3"}));
    EXPECT_EQ(numbersIn("第３章，共12页"), (std::vector<std::string>{"3", "12"}));
    EXPECT_TRUE(numbersIn("no digits").empty());
}

TEST(QaChecksTest, WordFormMarkersAndBrokenSegmentsAreRead) {
    const auto segments = bilingualSegments("{0>One.<}90{>一。<0}{*>Two.<}999{>二。");
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].source, "One.");
    EXPECT_EQ(segments[0].translation, "一。");
}

}  // namespace
}  // namespace tavricat
