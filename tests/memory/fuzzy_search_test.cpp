// The sentence search: which examples become candidates, how the best one is rated and
// used, and how a translation is adapted to the sentence.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "memory/fuzzy_search.h"
#include "memory/sentence_library.h"
#include "support/analysis_builder.h"

namespace tavricat {
namespace {

using testing::analysisOf;

// `count` distinct four-character tokens from number `from` ("t007"); no token is a
// substring of another, so plain text search finds only real matches.
// The candidates as they are shown: rate and hexadecimal index.
std::vector<std::string> texts(const FuzzySearch& search) {
    std::vector<std::string> shown;
    for (const Candidate& candidate : search.CandidateList) shown.push_back(candidate.text());
    return shown;
}

std::vector<std::string> tokens(int from, int count) {
    std::vector<std::string> out;
    for (int k = from; k < from + count; ++k) {
        char text[8];
        std::snprintf(text, sizeof text, "t%03d", k);
        out.push_back(text);
    }
    return out;
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class FuzzySearchTest : public ::testing::Test {
protected:
    std::size_t add(const std::vector<std::string>& keys, const std::string& translation) {
        Result<std::size_t> added = lib.addAnalysed(analysisOf(keys), translation);
        EXPECT_TRUE(added.isOk()) << added.status().message();
        return added.isOk() ? *added : 0;
    }
    FuzzySearch search(const std::vector<std::string>& keys) {
        FuzzySearch s;
        rankSimilarExamples(lib, analysisOf(keys), s);
        return s;
    }

    SentenceLibrary lib;
};

TEST_F(FuzzySearchTest, CandidatesImproveAndTiesGoToTheNewerExample) {
    add(tokens(0, 16), "old");     // 13 of 16: 0.8125
    add(tokens(0, 16), "newer");   // the same rate, newer
    add(join(tokens(0, 10), tokens(100, 6)), "lower");  // 10 of 16 -> 0.625, dropped
    FuzzySearch s = search(join(tokens(0, 13), tokens(200, 3)));
    // Visited newest first: example 2 is dropped, example 1 enters, example 0 only ties.
    EXPECT_EQ(texts(s), std::vector<std::string>{"0.81250000001"});
    EXPECT_EQ(s.bestExample(), 1u);
    EXPECT_FALSE(s.ExactHit);
}

TEST_F(FuzzySearchTest, AnIdenticalKeyAnywhereReplacesTheWholeList) {
    add(tokens(0, 4), "exact");      // 0
    add(join(tokens(0, 4), {"t900"}), "longer");  // 1: 4 of 5 -> 0.8
    FuzzySearch s = search(tokens(0, 4));
    EXPECT_EQ(texts(s), std::vector<std::string>{"1.00000000000"});
    EXPECT_TRUE(s.ExactHit);
}

TEST_F(FuzzySearchTest, ThresholdIsStrictlyAbove064) {
    add(tokens(0, 25), "x");  // the sentence's 16 of the example's 25 tokens: exactly 0.64
    EXPECT_TRUE(search(tokens(0, 16)).CandidateList.empty());
    EXPECT_EQ(texts(search(tokens(0, 17))), std::vector<std::string>{"0.68000000000"});
}

TEST_F(FuzzySearchTest, RatedAgainstTheLongerOfSentenceAndExample) {
    add(tokens(0, 5), "short");
    // 5 sentence tokens found in a 5-token example, but the sentence has 7 tokens.
    EXPECT_EQ(texts(search(join(tokens(0, 5), tokens(50, 2)))), std::vector<std::string>{"0.71428600000"});
    // 4 of 4 sentence tokens in the 5-token example: 0.8.
    EXPECT_EQ(texts(search(tokens(0, 4))), std::vector<std::string>{"0.80000000000"});
}

TEST_F(FuzzySearchTest, FrequentTokensAloneVisitNothingButAnIdenticalExampleIsAlwaysFound) {
    // "the" is pushed past 700 postings and becomes the stop marker.
    for (int k = 0; k < 701; ++k) add({"the", "of"}, "x");
    ASSERT_EQ(lib.libPostings[lib.libWords.size() - 1], kStopMarker);
    EXPECT_TRUE(search({"of", "the"}).CandidateList.empty());
    // Identical examples are found through the index of sources, whatever the caps: the newest.
    for (SearchScope scope : {SearchScope::Full, SearchScope::BestOnly}) {
        FuzzySearch s;
        rankSimilarExamples(lib, analysisOf({"the", "of"}), s, scope);
        EXPECT_TRUE(s.ExactHit);
        EXPECT_EQ(s.bestExample(), 700u);
    }
    ASSERT_TRUE(lib.deleteSample(700).isOk());
    EXPECT_EQ(search({"the", "of"}).bestExample(), 699u) << "a deleted example is not found";
    // An indexed token brings the examples in; the frequent ones are then found as text.
    add({"the", "of", "cat"}, "y");
    EXPECT_EQ(texts(search({"the", "of", "cat"})), std::vector<std::string>{"1.000000002BD"});
}

// An example that shares nothing but capped tokens with the sentence is reached through the
// lists of the capped tokens' examples, kept in step by adds made after they were built (also
// across the cap itself), by deletes, and built again for a copy of the library.
TEST_F(FuzzySearchTest, ExamplesSharingOnlyCappedTokensAreStillFound) {
    for (int k = 0; k < 600; ++k) add({"the", "of", "a"}, "x");
    const std::vector<std::string> query{"the", "of", "a", "the", "zz"};
    ASSERT_EQ(lib.cappedExamples().examplesOf("the"), nullptr);  // built here, nothing capped yet
    for (int k = 0; k < 101; ++k) add({"the", "of", "a"}, "x");
    ASSERT_EQ(lib.libPostings[*lib.wordIndexOf("the")], kStopMarker);
    ASSERT_EQ(lib.libPostings[*lib.wordIndexOf("a")], kStopMarker);
    // The fillers hold 3 of the 5 tokens (0.6); the planted example 4 (0.8).
    const std::size_t planted = add({"the", "of", "a", "the", "yy"}, "planted");
    for (SearchScope scope : {SearchScope::Full, SearchScope::CandidatesOnly, SearchScope::BestOnly}) {
        FuzzySearch s;
        rankSimilarExamples(lib, analysisOf(query), s, scope);
        EXPECT_EQ(texts(s), std::vector<std::string>{"0.800000" + exampleIndexHex(planted)});
    }
    const std::size_t newer = add({"the", "of", "a", "the", "ww"}, "newer");
    EXPECT_EQ(search(query).bestExample(), newer) << "the newer of two equal rates";
    ASSERT_TRUE(lib.deleteSample(newer).isOk());
    EXPECT_EQ(search(query).bestExample(), planted);

    SentenceLibrary copy = lib;
    copy.libSentences.push_back("05 the of a the vv ^outside");  // a line added from outside
    FuzzySearch s;
    rankSimilarExamples(copy, analysisOf(query), s, SearchScope::BestOnly);
    EXPECT_EQ(s.bestExample(), copy.exampleCount() - 1);
}

// How common an example's words are in the rest of the library does not change its rate: the
// capped words it holds count in any order, as they did while they were indexed.
TEST_F(FuzzySearchTest, AnExampleRatesTheSameOnceItsWordsAreCapped) {
    const std::vector<std::string> query{"we", "see", "them", "here", "now", "zz"};
    const std::size_t reordered = add({"here", "we", "see", "them", "now", "yy"}, "reordered");
    const std::vector<std::string> whileIndexed = texts(search(query));
    for (int k = 0; k < 701; ++k) add({"we", "see", "them", "here", "filler"}, "x");
    ASSERT_EQ(lib.libPostings[*lib.wordIndexOf("here")], kStopMarker);
    ASSERT_TRUE(lib.libPostings[*lib.wordIndexOf("now")] != kStopMarker);
    // The fillers, newer and rated lower, would lead the candidates.
    for (int k = 1; k <= 701; ++k) ASSERT_TRUE(lib.deleteSample(static_cast<std::size_t>(k)).isOk());
    ASSERT_EQ(lib.libPostings[*lib.wordIndexOf("here")], kStopMarker);
    EXPECT_EQ(whileIndexed, std::vector<std::string>{"0.833333" + exampleIndexHex(reordered)});
    EXPECT_EQ(texts(search(query)), whileIndexed);
}

TEST_F(FuzzySearchTest, PhraseHitsRecordTheLongestRunPerStart) {
    add({"a1", "b2", "c3", "x9"}, "first");        // 0: run a1 b2 c3 (positions 0-2)
    add({"a1", "b2", "y8", "d4", "e5"}, "second");  // 1: runs 0-1 and 3-4
    FuzzySearch s = search({"a1", "b2", "c3", "d4", "e5"});
    ASSERT_EQ(s.PhraseHits.size(), 5u);
    EXPECT_EQ(s.PhraseHits[0].span, 3);
    EXPECT_EQ(s.PhraseHits[0].example, "00000");
    EXPECT_EQ(s.PhraseHits[3].span, 2);
    EXPECT_EQ(s.PhraseHits[3].example, "00001");
    EXPECT_EQ(s.PhraseHits[1].span + s.PhraseHits[2].span + s.PhraseHits[4].span, 0);
}

TEST_F(FuzzySearchTest, EmptyLibraryAndTombstonesGiveNothing) {
    EXPECT_TRUE(search({"a1"}).CandidateList.empty());
    add({"a1", "b2"}, "x");
    ASSERT_TRUE(lib.deleteSample(0).isOk());
    FuzzySearch s = search({"a1", "b2"});
    EXPECT_TRUE(s.CandidateList.empty());
    EXPECT_FALSE(s.ExactHit);
}

// Stored keys are tokens between blanks; a token the library does not index is looked for
// in an example as whole tokens, never inside a longer one.
TEST_F(FuzzySearchTest, ATokenIsNotFoundInsideALongerToken) {
    add({"a1", "b2", "c3", "password"}, "x");
    FuzzySearch s = search({"a1", "b2", "c3", "or"});
    EXPECT_EQ(texts(s), std::vector<std::string>{"0.75000000000"});
    EXPECT_FALSE(s.ExactHit);
    // A token of several words is found where the example holds those words.
    add({"z1", "filter", "cartridge", "z2"}, "y");
    EXPECT_EQ(texts(search({"z1", "filter cartridge", "z2", "z3"})), std::vector<std::string>{"0.75000000001"});
    EXPECT_TRUE(search({"z1", "ilter cartridg", "z2", "z3"}).CandidateList.empty());
}

TEST_F(FuzzySearchTest, OnlyTheSameTokensInTheSameOrderRateOne) {
    add(tokens(0, 4), "x");
    // Every token, two of them swapped: one short of a full match.
    FuzzySearch swapped = search({"t001", "t000", "t002", "t003"});
    EXPECT_EQ(texts(swapped), std::vector<std::string>{"0.75000000000"});
    EXPECT_FALSE(swapped.ExactHit);
    // A token twice against an example that holds it once.
    EXPECT_EQ(texts(search({"t000", "t000", "t001", "t002", "t003"})), std::vector<std::string>{"0.80000000000"});
}

TEST_F(FuzzySearchTest, TheSameWordsCutIntoOtherTokensAreAnExactHit) {
    add({"replace", "the", "filter", "cartridge", "."}, "old");  // stored before "filter cartridge" was a term
    add({"replace", "the", "filter", "cartridge", "now", "."}, "longer");
    FuzzySearch s = search({"replace", "the", "filter cartridge", "."});
    EXPECT_TRUE(s.ExactHit);
    EXPECT_EQ(texts(s), std::vector<std::string>{"1.00000000000"});
    FuzzySearch best;
    rankSimilarExamples(lib, analysisOf({"replace", "the", "filter cartridge", "."}), best, SearchScope::BestOnly);
    EXPECT_TRUE(best.ExactHit);
    EXPECT_EQ(texts(best), std::vector<std::string>{"1.00000000000"});
}

class GetSimSentTest : public FuzzySearchTest {
protected:
    std::string run(const std::vector<std::string>& keys, int matchrate, bool rateOnly = false,
                    const std::vector<std::string>& meanings = {}) {
        engine.workSent = analysisOf(keys, meanings);
        found = FuzzySearch{};
        found.ExampleRate = rateOnly ? 0 : kNoExampleRate;
        found.RateOnly = rateOnly;
        SimilarityOptions options;
        options.matchrate = matchrate;
        return adaptBestExample(lib, engine, options, found);
    }

    Engine engine;
    FuzzySearch found;
};

TEST_F(GetSimSentTest, MatchrateDecidesOnTheIntegerPercent) {
    add(tokens(0, 200), "译文");
    // 161 of 200: 0.805, percent 80, not above 80.
    EXPECT_EQ(run(tokens(0, 161), 80), "");
    EXPECT_DOUBLE_EQ(found.ExampleRate, kNoExampleRate);
    // 162 of 200: 0.81.
    EXPECT_EQ(run(tokens(0, 162), 80), "译文");
    EXPECT_DOUBLE_EQ(found.ExampleRate, 0.81);
}

TEST_F(GetSimSentTest, RateOnlyLeavesTheRateAndReturnsNothing) {
    add(tokens(0, 3), "全译");
    EXPECT_EQ(run(tokens(0, 3), 65, true), "");
    EXPECT_DOUBLE_EQ(found.ExampleRate, 1.0);
    EXPECT_EQ(found.StoredTarget, "全译");
    // Without candidates the caller's rate stays.
    EXPECT_EQ(run(tokens(500, 3), 65, true), "");
    EXPECT_DOUBLE_EQ(found.ExampleRate, 0.0);
    // A full match gives the stored translation.
    EXPECT_EQ(run(tokens(0, 3), 65), "全译");
}

TEST_F(GetSimSentTest, WithoutAUsableExampleMeaningsOfSharedRunsGoFirst) {
    add({"a1", "b2", "z0", "z1", "z2"}, "甲乙丙");
    // a1 b2 is a shared run; rated 2/5 the example is not a candidate, nothing is returned.
    EXPECT_EQ(run({"a1", "b2", "c3"}, 65, false, {"一|甲", "二|丁|乙", "三"}), "");
    EXPECT_TRUE(found.CandidateList.empty());
    EXPECT_EQ(engine.workSent.segTrans[1], "一|甲");  // no candidate, no promotion

    add({"a1", "b2", "c3", "z9"}, "甲乙丙");
    // 3 of 4: a candidate, but matchrate 90 refuses it; the run's meanings move up.
    EXPECT_EQ(run({"a1", "b2", "c3"}, 90, false, {"一|甲", "二|丁|乙", "三"}), "");
    EXPECT_DOUBLE_EQ(found.ExampleRate, kNoExampleRate);
    EXPECT_EQ(engine.workSent.segTrans[1], "甲|一|甲");
    EXPECT_EQ(engine.workSent.segTrans[2], "乙|二|丁|乙");
    EXPECT_EQ(engine.workSent.segTrans[3], "三");  // no meaning of c3 occurs in 甲乙丙
}

TEST_F(GetSimSentTest, AFullMatchIsTheSameTokenSequence) {
    add({"replace", "the", "filter cartridge", "."}, "更换滤芯。");
    // "cart" is only inside "cartridge": three of four tokens.
    run({"replace", "the", "cart", "."}, 65);
    EXPECT_DOUBLE_EQ(found.ExampleRate, 0.75);
    EXPECT_EQ(run({"replace", "the", "cart", "."}, 80), "");
    // Every token found, but not in the stored order.
    run({"the", "replace", "filter cartridge", "."}, 65);
    EXPECT_DOUBLE_EQ(found.ExampleRate, 0.75);
    // The same words, cut into tokens as a term base without the term cuts them.
    EXPECT_EQ(run({"replace", "the", "filter", "cartridge", "."}, 65), "更换滤芯。");
    EXPECT_DOUBLE_EQ(found.ExampleRate, 1.0);
    EXPECT_EQ(run({"replace", "the", "filter cartridge", "."}, 65, true), "");
    EXPECT_DOUBLE_EQ(found.ExampleRate, 1.0);
}

TEST_F(GetSimSentTest, Matchrate100TakesFullMatchesOnly) {
    add(tokens(0, 200), "译文");
    EXPECT_EQ(run(tokens(0, 200), 100), "译文");
    EXPECT_DOUBLE_EQ(found.ExampleRate, 1.0);
    // 199 of 200: percent 99.
    EXPECT_EQ(run(tokens(0, 199), 100), "");
    EXPECT_DOUBLE_EQ(found.ExampleRate, kNoExampleRate);
    EXPECT_EQ(run(tokens(0, 199), 99), "");
    EXPECT_EQ(run(tokens(0, 199), 98), "译文");
    EXPECT_DOUBLE_EQ(found.ExampleRate, 0.995);
}

// The fuzzy path with a real analysis: the example's words of the gap are found in the
// stored translation by their meanings and replaced by the meanings of the sentence's words.
TEST_F(GetSimSentTest, FuzzyMatchAdaptsTheTranslation) {
    for (auto [key, entry] : {std::pair{"i", "我"}, {"have", "有"}, {"red", "红"}, {"blue", "蓝"}, {"book", "书"}}) {
        SortedFind at = engine.termBase.find(key);
        engine.termBase.insertAt(at.index, key, entry);
    }
    AnalysisOptions ec{Direction::EC, true, true};
    ASSERT_TRUE(lib.addAsent(engine, ec, "I have a red book.^我有一本红书。").isOk());

    analyseSent("I have a blue book.", engine.workSent, engine, ec);
    found = FuzzySearch{};
    SimilarityOptions options;
    options.analysis = ec;
    EXPECT_EQ(adaptBestExample(lib, engine, options, found), "我有一本蓝书。");
    EXPECT_EQ(found.StoredTarget, "我有一本红书。");
    EXPECT_NEAR(found.ExampleRate, 5.0 / 6, 1e-9);
}

// The example's word is found in its translation as the whole word it is there: a class
// label does not hide it, and a shorter meaning inside it (洁 in 清洁) is not cut out.
TEST_F(GetSimSentTest, TheReplacedMeaningIsTheWholeWordOfTheTranslation) {
    for (auto [key, entry] : {std::pair{"clean", "[v.]清洁|洁^^^"}, {"check", "[v.]检查^^^"}, {"the", "这^^^"},
                              {"filter", "过滤器^^^"}, {"once", "一次^^^"}, {"a", "一^^^"}, {"month", "月^^^"}}) {
        SortedFind at = engine.termBase.find(key);
        engine.termBase.insertAt(at.index, key, entry);
    }
    AnalysisOptions ec{Direction::EC, true, true};
    ASSERT_TRUE(lib.addAsent(engine, ec, "Clean the filter once a month.^每月清洁一次过滤器。").isOk());

    analyseSent("Check the filter once a month.", engine.workSent, engine, ec);
    found = FuzzySearch{};
    SimilarityOptions options;
    options.analysis = ec;
    EXPECT_EQ(adaptBestExample(lib, engine, options, found), "每月检查一次过滤器。");
}

}  // namespace
}  // namespace tavricat
