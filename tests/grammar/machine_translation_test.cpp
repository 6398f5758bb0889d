// Ordering translations by domain and assembling the machine translation from segments and
// placed patterns.

#include <gtest/gtest.h>

#include "grammar/translation_pipeline.h"

namespace tavricat {
namespace {

stClass sentenceOf(const std::vector<std::string>& translations) {
    stClass s;
    s.reset(translations.size() + 1);
    s.wordCount = static_cast<std::int32_t>(translations.size());
    s.segCount = s.wordCount;
    for (std::size_t k = 0; k < translations.size(); ++k) s.segTrans[k + 1] = translations[k];
    return s;
}

TEST(OrderByDomainTest, DropsUnselectedDomainsAndPutsSelectedFirst) {
    stClass s = sentenceOf({"[n.计算机]a|c|[n.医学]b", "only", "x|[v.]y|"});
    orderByDomain(s, -1, {"医学", "计算机"});
    EXPECT_EQ(s.segTrans[1], "[n.计算机]a|[n.医学]b|c");
    EXPECT_EQ(s.segTrans[3], "x|[v.]y");  // class labels alone never drop an item
    s = sentenceOf({"[n.计算机]a|c|[n.医学]b"});
    orderByDomain(s, 1, {"医学"});
    EXPECT_EQ(s.segTrans[1], "c|[n.医学]b");
    s = sentenceOf({"[n.计算机]a|c"});
    orderByDomain(s, -1, {});
    EXPECT_EQ(s.segTrans[1], "c");
}

TEST(MachineTranslateTest, WithoutPatternsSegmentsFollowSourceOrder) {
    stClass s = sentenceOf({"[n.]我|自己", "Smith", "2000", "的", "的", "书"});
    EXPECT_EQ(machineTranslate(s, {}, Direction::EC), "我Smith 2000的书");  // first "的的" becomes "的"
    stClass en = sentenceOf({"I", "go", "."});
    EXPECT_EQ(machineTranslate(en, {}, Direction::CE), "I go.");
    stClass twice = sentenceOf({"的", "的", "x", "的", "的"});
    EXPECT_EQ(machineTranslate(twice, {}, Direction::EC), "的x的的");
}

MatchRecord record(int first, int last, std::string templ, int gaps, std::vector<GapRange> gapRanges, int fixed) {
    MatchRecord r;
    r.first = first;
    r.last = last;
    r.templ = std::move(templ);
    r.span = last - first + 1;
    r.gapCount = gaps;
    for (std::size_t g = 0; g < gapRanges.size(); ++g) r.gaps[g] = gapRanges[g];
    r.fixedTokens = fixed;
    r.score = r.span + 2 * fixed;
    return r;
}

TEST(MachineTranslateTest, PlacedTemplatesReorderAndCanBeDisabled) {
    // i want you to go: "want * to" placed on segments 2..4 with the gap at segment 3.
    stClass s = sentenceOf({"我", "想要", "你", "到", "去"});
    GrammarPlacement placement;
    placement.matchTable.push_back(record(2, 4, "要#1", 1, {{3, 1}}, 2));
    EXPECT_EQ(machineTranslate(s, placement, Direction::EC), "我要你去");
    placement.matchTable[0].first = MatchRecord::kDisabled;
    EXPECT_EQ(machineTranslate(s, placement, Direction::EC), "我想要你到去");
}

TEST(MachineTranslateTest, BracedTagsFillTheirSegmentsTranslation) {
    stClass s = sentenceOf({"[n.]书的|本", "好"});
    MatchRecord r = record(1, 2, "@1d的很@2", 0, {}, 0);
    r.braceCount = 2;
    r.score = 5;
    r.tagSegments = {1, 2};
    GrammarPlacement placement;
    placement.matchTable.push_back(r);
    EXPECT_EQ(machineTranslate(s, placement, Direction::EC), "书很好");
    // A "d" character the translation does not end with is dropped from the template too.
    s.segTrans[1] = "书";
    placement.matchTable[0].templ = "@1d了很@2";
    EXPECT_EQ(machineTranslate(s, placement, Direction::EC), "书很好");
}

}  // namespace
}  // namespace tavricat

namespace tavricat {
namespace {

TEST(MachineTranslateTest, WordsThatAreTheirOwnTranslationKeepTheirCase) {
    stClass s = sentenceOf({"我", "smith", "."});
    s.segKeys = {"", "i", "smith", "."};
    s.segText = {"", "I ", "Smith ", ". "};
    EXPECT_EQ(machineTranslate(s, {}, Direction::EC), "我Smith。");
}

}  // namespace
}  // namespace tavricat

#include "engine/engine.h"
#include "grammar/grammar_library.h"

namespace tavricat {
namespace {

TEST(MachineTranslateTest, ChineseToEnglishDropsTheBlankBeforeAFinalMark) {
    stClass s = sentenceOf({"I", "go", " ."});
    EXPECT_EQ(machineTranslate(s, {}, Direction::CE), "I go.");
    EXPECT_EQ(machineTranslate(s, {}, Direction::EC), "I go .");
}

TEST(MachineTranslateTest, SentencePunctuationTakesTheTargetLanguagesForm) {
    // Chinese to English: an English mark with one blank after it and none before.
    stClass ce = sentenceOf({"next Monday", "，", "we", "send", "it", "。"});
    EXPECT_EQ(machineTranslate(ce, {}, Direction::CE), "next Monday, we send it.");
    stClass list = sentenceOf({"A", "、", "B", "；", "C", "？"});
    EXPECT_EQ(machineTranslate(list, {}, Direction::CE), "A, B; C?");
    // English to Chinese: full-width marks, no blanks.
    stClass ec = sentenceOf({"如果", "是", ",", "我们", "发送", "."});
    EXPECT_EQ(machineTranslate(ec, {}, Direction::EC), "如果是，我们发送。");
    // A mark inside a word or a number is not sentence punctuation.
    stClass number = sentenceOf({"3.5", "e.g.", "!"});
    EXPECT_EQ(machineTranslate(number, {}, Direction::EC), "3.5 e.g.！");
}

TEST(PrepareSentTest, AnalysisOnlyGivesTheCleanedCopyAndLeavesTheMatchTable) {
    Engine engine;
    GrammarLibrary grammar;
    std::vector<std::string> labels;
    engine.grammarPlacement.matchTable.push_back(MatchRecord{});
    PipelineContext context{engine, {Direction::EC, true, true}, grammar, labels};
    std::string sentence = "Hyphen-\r\nated\tline^with  caret\r\n";
    std::string cleaned;
    prepareSent(sentence, cleaned, context, true);
    EXPECT_EQ(sentence, "Hyphenated\tline^with  caret");
    EXPECT_EQ(cleaned, "Hyphenated linewith caret ");
    EXPECT_EQ(engine.grammarPlacement.matchTable.size(), 1u);
    EXPECT_EQ(engine.workSent.words[1], "hyphenated");

    prepareSent(sentence, cleaned, context, false);
    EXPECT_EQ(cleaned, "");
    EXPECT_TRUE(engine.grammarPlacement.matchTable.empty());
}

}  // namespace
}  // namespace tavricat
