// Grammar patterns: triggers, the subject string, kept rules and their placements, as
// sentence -> dump tables over hand-built sentences, and one run through a real analysis.

#include <gtest/gtest.h>

#include "engine/analyser.h"
#include "engine/bar_lists.h"
#include "engine/engine.h"
#include "grammar/grammar_matcher.h"

namespace tavricat {
namespace {

// Segments separated by blanks, each "key[=words]/classes/attributes/translations";
// "_" joins the words of a multi-word key ("look_after/v").
stClass sentenceOf(std::string_view layout) {
    std::vector<std::vector<std::string>> segments;
    std::size_t words = 0;
    for (const std::string& seg : splitFields(layout, ' ')) {
        std::vector<std::string> f = splitFields(seg, '/');
        f.resize(4);
        for (char& c : f[0]) c = c == '_' ? ' ' : c;
        const std::vector<std::string> keyWords = splitFields(f[0], '=', 2);
        words += splitFields(keyWords[0], ' ').size();
        segments.push_back(f);
    }
    stClass s;
    s.reset(words + 1);
    int w = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const std::vector<std::string> keyWords = splitFields(segments[i][0], '=', 2);
        const std::string& source = keyWords.size() > 1 ? keyWords[1] : keyWords[0];
        const int k = static_cast<int>(i) + 1;
        s.segKeys[k] = keyWords[0];
        for (const std::string& word : splitFields(source, ' ')) s.segWords[k] += word + " ";
        for (const std::string& word : splitFields(keyWords[0], ' ')) {
            ++w;
            s.words[w] = word;
            s.baseWords[w] = word;
        }
        s.segClass[k] = segments[i][1];
        s.segAttr[k] = segments[i][2];
        s.segTrans[k] = segments[i][3];
    }
    s.wordCount = w;
    s.segCount = static_cast<int>(segments.size());
    return s;
}

// "[first-last pattern>template gGapFirst+count,... tTag,...]" per record.
std::string dump(const GrammarPlacement& placement) {
    std::string out;
    for (const MatchRecord& r : placement.matchTable) {
        out += "[" + std::to_string(r.first) + "-" + std::to_string(r.last) + " " + r.pattern + ">" + r.templ;
        for (int k = 0; k < r.gapCount; ++k)
            out += (k ? "," : " g") + std::to_string(r.gaps[k].first) + "+" + std::to_string(r.gaps[k].count);
        for (std::size_t k = 0; k < r.tagSegments.size() && r.tagSegments[k]; ++k)
            out += (k ? "," : " t") + std::to_string(r.tagSegments[k]);
        out += "]";
    }
    return out;
}

std::string place(std::string_view layout, std::string_view grammarText) {
    stClass s = sentenceOf(layout);
    buildGrammarSubject(s);
    s.grammarText = grammarText;
    return dump(placeGrammar(s));
}

TEST(GrammarMatchTrigger, LongestTriggerAtAWordBoundary) {
    const std::vector<std::string> triggers{"look", "look after", "want"};
    const std::vector<std::string> doubled{"a", "a b c", "look", "look", "want"};
    struct Row {
        const std::vector<std::string>* list;
        std::string text;
        std::string expected;  // trigger@line, or "-"
    } rows[] = {
        {&triggers, "look after the baby", "look after@1"},
        {&triggers, "looking at", "-"},
        {&triggers, "look at it", "look@0"},
        {&triggers, "Look After", "look after@1"},
        {&triggers, "want", "want@2"},
        {&triggers, "wanted to", "-"},
        {&triggers, "a look", "-"},
        {&triggers, "", "-"},
        {&doubled, "look here", "look@2"},
        {&doubled, "a b d", "a@0"},
        {&doubled, "a b c d", "a b c@1"},
    };
    for (const Row& row : rows) {
        const TriggerMatch m = matchTrigger(row.text, *row.list);
        EXPECT_EQ(m.found ? m.trigger + "@" + std::to_string(m.line) : "-", row.expected) << row.text;
    }
}

TEST(GrammarMatchInOrder, TokensInTurnWithSpacesAround) {
    struct Row {
        std::string pattern, subject;
        bool expected;
    } rows[] = {
        {"want * to", " want  want  you  you  to  to  ", true},
        {"to * want", " want  want  you  you  to  to  ", false},
        {"want to", " wanted  to  ", false},
        {"a a", " a  a  ", true},
        {"a a", " a ", false},
        {"{n} of", " book  book  {n}  of  of  ", true},
        {"", " a ", false},
        {"*", " a ", false},
    };
    for (const Row& row : rows) EXPECT_EQ(inOrder(row.pattern, row.subject), row.expected) << row.pattern;
}

TEST(GrammarMatchSubject, SpacedKeysAndBracedClassesIngHidesPp) {
    stClass s = sentenceOf("run=running/ing|pp|v| book/n/本");
    EXPECT_EQ(buildGrammarSubject(s), "  run  running   {ing}  {v}  book  book   {本}  {n}  ");
    EXPECT_EQ(s.segClass[1], " {ing}  {v} ");
    EXPECT_EQ(s.segWords[1], " running  ");
    stClass pp = sentenceOf("looked=looked/pp|v");
    buildGrammarSubject(pp);
    EXPECT_EQ(pp.segClass[1], " {pp}  {v} ");
}

TEST(GrammarMatchFind, KeepsTheRulesWhosePatternIsPresent) {
    struct Row {
        std::string sentence;
        std::vector<std::string> anchors, entries;
        std::string expected;
    } rows[] = {
        {"i want you to go", {"want"}, {"~ * to^<~>想要#1去"}, "<want * to>想要#1去"},
        {"i want to go", {"want"}, {"~ * to^<~>想要#1去"}, "<want * to>想要#1去"},
        {"to want it", {"want"}, {"~ * to^<~>想要#1去"}, ""},
        {"i want you to want it", {"want"}, {"~ * to^<~>想要#1去"}, "<want * to>想要#1去"},
        {"i want you to go", {"want"}, {"~ * to^<1(2 0 0)~>想要#1去"}, "<1(2 0 0)want * to>想要#1去"},
        {"make=made a decision", {"make"}, {"~ * decision^<0~>作出#1决定"}, "<0make * decision>作出#1决定"},
        {"decision to make", {"make"}, {"~ * decision^<0~>作出#1决定"}, "<0make * decision>作出#1决定"},
        {"make a decisions", {"make"}, {"~ * decision^<0~>作出#1决定"}, ""},
        {"look_after the baby/n", {"look", "look after"}, {"~ *^<~>看#1", "~ {n}^<~>照顾@1"},
         "<look after {n}>照顾@1"},
        {"look at the baby/n", {"look", "look after"}, {"~ *^<~>看#1", "~ {n}^<~>照顾@1"}, "<look *>看#1"},
        {"ok fine", {"ok", "ok"}, {"~ *^<~>Say ~ #1", "~ no ^"}, "<ok *>say ok #1"},
        {"ok fine", {"ok", "ok"}, {"no caret", ""}, ""},
        {"ok fine", {"ok", "ok"}, {"~ *^<~>x"}, "<ok *>x"},  // entries list shorter than the anchors
        {"ok fine", {"ok"}, {"~ *^<~>葉#1"}, "<ok *>葉#1"},  // a trail byte "~" is no trigger
    };
    for (const Row& row : rows) {
        stClass s = sentenceOf(row.sentence);
        s.grammarText = "old";
        findGrammar(s, GrammarLibrary{row.anchors, row.entries});
        EXPECT_EQ(s.grammarText, row.expected) << row.sentence;
    }
}

TEST(GrammarMatchPlace, GapsBoundariesLimitsAndClauses) {
    const std::string clause = "he said , the top of the hill is high .";
    struct Row {
        std::string sentence, grammar, expected;
    } rows[] = {
        {"i want you to go", "<want * to>想要#1去", "[2-4 want * to>想要#1去 g3+1]"},
        {"i want to go", "<want * to>想要#1去", ""},
        {"a want b to c want d to", "<want * to>x", "[2-4 want * to>x g3+1][6-8 want * to>x g7+1]"},
        {"i want you all to go", "<(1,0,0)want * to>x", ""},
        {"i want you all to go", "<(2,0,0)want * to>x", "[2-5 want * to>x g3+2]"},
        {"i want you to go", "<(1,2)want * to>x", "[2-4 want * to>x g3+1]"},
        {"i want_to go", "<want * to>x", ""},
        {"i want you , to go", "<want * to>x", ""},
        {"i want you \" to go", "<want * to>x", ""},
        {"i want you , to go", "<want * , to>x", "[2-5 want * , to>x g3+1]"},
        {clause, "<* of the *>#2的#1", "[4-10 * of the *>#2的#1 g4+2,8+3]"},
        {clause, "<(1,2,0)* of the *>x", "[5-9 * of the *>x g5+1,8+2]"},
        {clause, "<(0,5,0)* of the *>x", ""},
        {clause, "<(9,0,0)* of the *>x", ""},
        {"of the hill", "<* of the *>x", ""},
        {"look here and look after it", "<look after *>照顾#1", "[4-6 look after *>照顾#1 g6+1]"},
        {"the top/n of hill/n", "<{n} of {n}>@2的@1", "[2-4 {n} of {n}>@2的@1 t2,4]"},
        {"book/n is/n of", "<{n} of>x", "[2-3 {n} of>x t2]"},
        {"i want you to go", "<1want * to>x", ""},
        {"want you to go", "<1want * to>x", "[1-3 want * to>x g2+1]"},
        {"100 long years", "<100 * years>x", "[1-3 100 * years>x g2+1]"},
        {"( a ) and b", "<( a ) * b>x", "[1-5 ( a ) * b>x g4+1]"},
        {"a b c d e f g h i", "<a * c * e * g * i>x", ""},
        {"i want you to go", "<want * * to>x<*>x<>x<(1,0,0)>x", ""},
        {"i want you to go", "<want * to", ""},
        {"i want you to go", "<want * to>縷#1|b", "[2-4 want * to>縷#1 g3+1]"},  // trail byte "|"
        {"i want you to go", "<want * to>a|b<want * go>c", "[2-4 want * to>a g3+1][2-5 want * go>c g3+2]"},
    };
    for (const Row& row : rows) EXPECT_EQ(place(row.sentence, row.grammar), row.expected) << row.grammar;
}

TEST(GrammarMatchPlace, RecordSlotsOfAPlacementWithBracedTags) {
    stClass s = sentenceOf("they ask/v him to read/v the book/n .");
    buildGrammarSubject(s);
    s.grammarText = "<{v} * to {v} * {n}>使#1去@2#2的@3|其他";
    const GrammarPlacement p = placeGrammar(s);
    ASSERT_EQ(p.matchTable.size(), 1u);
    const MatchRecord& r = p.matchTable[0];
    EXPECT_EQ(r.first, 2);
    EXPECT_EQ(r.last, 7);
    EXPECT_EQ(r.pattern, "{v} * to {v} * {n}");
    EXPECT_EQ(r.templ, "使#1去@2#2的@3");
    EXPECT_EQ(r.span, 6);
    EXPECT_EQ(r.fixedTokens, 4);
    EXPECT_EQ(r.braceCount, 3);
    EXPECT_EQ(r.score, 6 + 2 * 4 - 3);
    EXPECT_EQ(r.gapCount, 2);
    EXPECT_EQ(r.gaps[0].first, 3);
    EXPECT_EQ(r.gaps[0].count, 1);
    EXPECT_EQ(r.gaps[1].first, 6);
    EXPECT_EQ(r.gaps[1].count, 1);
    EXPECT_EQ(r.gaps[2].count, 0);
    EXPECT_EQ(r.tagSegments, (std::array<int, 9>{2, 5, 7, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(r.disabled());
}

TEST(GrammarMatchPlace, DisplayStrings) {
    stClass s = sentenceOf("i want you to go to the top/n of hill/n");
    buildGrammarSubject(s);
    s.grammarText = "<want * to>想要#1去丂<{n} of {n}>@2的@1d的|的";  // 丂: a trail byte "@"
    const GrammarPlacement p = placeGrammar(s);
    EXPECT_EQ(dump(p), "[2-4 want * to>想要#1去丂 g3+1][8-10 {n} of {n}>@2的@1d的 t8,10]");
    EXPECT_EQ(p.placedPatterns, "want * to\r\n想要#1去丂\r\n{n} of {n}\r\n@2的@1d的\r\n");
    EXPECT_EQ(p.fixedWords, "想要|去丂||的|");
}

TEST(GrammarMatchPlace, CollocationChangesTheFirstTranslationsOfTwoSegments) {
    struct Row {
        std::string sentence, grammar, expected;  // segTrans 1..n joined by " / "
    } rows[] = {
        {"decision///决策 , they make=made///做|制造 a decision///决策", "<0make * decision>作出#1决定",
         "决策 /  /  / 作出|做|制造 /  / 决定|决策"},
        {"they make=made///做 tea", "<0make * decision>作出#1决定", " / 做 / "},
        {"make a decision", "<0make * {n}>作出#1决定", " /  / "},
        {"make a decision", "<0make * decision>作出", "作出 /  / "},
    };
    for (const Row& row : rows) {
        stClass s = sentenceOf(row.sentence);
        buildGrammarSubject(s);
        s.grammarText = row.grammar;
        EXPECT_TRUE(placeGrammar(s).matchTable.empty());
        std::string trans;
        for (int i = 1; i <= s.segCount; ++i) trans += (i > 1 ? " / " : "") + s.segTrans[i];
        EXPECT_EQ(trans, row.expected) << row.sentence;
    }
}

TEST(GrammarMatchPlace, ShortArraysAndEmptySentencesAreSafe) {
    stClass s = sentenceOf("i want you to go");
    buildGrammarSubject(s);
    s.segClass.resize(3);  // segments beyond the arrays are not read
    s.grammarText = "<want * to>x<1want * to>x<0want * go>a#1b";
    EXPECT_EQ(dump(placeGrammar(s)), "");
    stClass empty;
    findGrammar(empty, GrammarLibrary{{"want"}, {"~ * to^<~>x"}});
    empty.grammarText = "<want * to>x<1want>x";
    EXPECT_TRUE(placeGrammar(empty).matchTable.empty());
}

TEST(GrammarMatchEngine, AnalysedSentencesThroughBothStages) {
    Engine engine;
    for (const auto& [key, entry] : std::vector<std::pair<std::string, std::string>>{
             {"go", "去"}, {"i", "我"}, {"to", "到"}, {"want", "[v.]想要^^v^"}, {"you", "你"}}) {
        const SortedFind at = engine.termBase.find(key);
        ASSERT_TRUE(engine.termBase.insertAt(at.index, key, entry)) << key;
    }
    const GrammarLibrary grammar{{"want"}, {"~ * to^<~>想要#1去"}};
    struct Row {
        std::string sentence, expected;
    } rows[] = {
        {"I want you to go.", "[2-4 want * to>想要#1去 g3+1]"},
        {"I want to go.", ""},
    };
    for (const Row& row : rows) {
        analyseSent(row.sentence, engine.workSent, engine, {Direction::EC, false, true});
        findGrammar(engine.workSent, grammar);
        EXPECT_EQ(engine.workSent.grammarText, "<want * to>想要#1去") << row.sentence;
        EXPECT_EQ(engine.workSent.segClass[2], " {v} ");
        EXPECT_EQ(dump(placeGrammar(engine.workSent)), row.expected) << row.sentence;
    }
}

}  // namespace
}  // namespace tavricat
