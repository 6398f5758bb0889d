// The concordance's index is kept in step by every change of the library: what a search
// finds after adds, deletes, corrections and a word reaching the posting cap is what an index
// built afresh over the same lines finds.

#include <gtest/gtest.h>

#include <random>

#include "memory/concordance.h"
#include "memory/sentence_library.h"
#include "support/analysis_builder.h"

namespace tavricat {
namespace {

using testing::analysisOf;

// What a search finds: the examples, newest first.
std::vector<std::size_t> found(const SentenceLibrary& library, const std::string& query, bool inTranslation) {
    std::vector<std::size_t> examples;
    for (const ConcordanceHit& hit : concordance(library, query, inTranslation, 100000)) examples.push_back(hit.example);
    return examples;
}

// The same search over a copy of the library, whose index is built afresh.
std::vector<std::size_t> foundAfresh(const SentenceLibrary& library, const std::string& query, bool inTranslation) {
    const SentenceLibrary copy = library;
    EXPECT_FALSE(copy.concordanceIndexReady());
    return found(copy, query, inTranslation);
}

// Enough examples with "common" for its postings to reach the cap.
constexpr std::size_t kCapping = kMaxPostingsLength / 5 + 1;

TEST(ConcordanceIndexTest, AWordThatReachesTheCapWhileTheIndexIsBuiltIsStillFoundWhole) {
    SentenceLibrary library;
    ASSERT_TRUE(library.addAnalysed(analysisOf({"common", "first"}), "甲").isOk());
    EXPECT_EQ(found(library, "甲", true).size(), 1u);  // a search of the translations builds the index
    EXPECT_TRUE(library.concordanceIndexReady());
    for (std::size_t i = 1; i < kCapping + 10; ++i)
        ASSERT_TRUE(library.addAnalysed(analysisOf({"common", "w" + std::to_string(i)}), "乙").isOk());
    ASSERT_TRUE(library.concordanceIndexReady()) << "kept in step, not built again";
    const std::vector<std::size_t> examples = found(library, "common", false);
    ASSERT_EQ(examples.size(), kCapping + 10);
    EXPECT_EQ(examples.front(), kCapping + 9) << "newest first";
    EXPECT_EQ(examples.back(), 0u) << "the examples named before the cap are not lost";
    EXPECT_EQ(found(library, "common w7", false), std::vector<std::size_t>{7});
}

TEST(ConcordanceIndexTest, CorrectionsAndDeletionsAnywhereInTheLibraryAreSeen) {
    SentenceLibrary library;
    for (std::size_t i = 0; i < kCapping + 5; ++i)
        ASSERT_TRUE(library.addAnalysed(analysisOf({"common", "w" + std::to_string(i)}), "阀门 valve").isOk());
    ASSERT_EQ(found(library, "valve", true).size(), kCapping + 5);

    // A translation corrected in the middle: the old text leaves, the new one is found.
    ASSERT_TRUE(library.replaceTranslation(3, "水泵 Pump"));
    EXPECT_EQ(found(library, "pump", true), std::vector<std::size_t>{3});
    EXPECT_EQ(found(library, "泵", true), std::vector<std::size_t>{3});
    EXPECT_EQ(found(library, "valve", true).size(), kCapping + 4);

    // A deleted example is found by nothing.
    ASSERT_TRUE(library.deleteSample(5).isOk());
    EXPECT_EQ(found(library, "valve", true).size(), kCapping + 3);
    for (std::size_t example : found(library, "common", false)) EXPECT_NE(example, 5u);

    // A new source: found by its new words only, the capped word included.
    ASSERT_TRUE(library.replaceExample(8, analysisOf({"fresh", "words"}), "新的").isOk());
    EXPECT_EQ(found(library, "fresh words", false), std::vector<std::size_t>{8});
    for (std::size_t example : found(library, "common", false)) EXPECT_NE(example, 8u);
    ASSERT_TRUE(library.replaceExample(9, analysisOf({"common", "again"}), "又").isOk());
    EXPECT_EQ(found(library, "common again", false), std::vector<std::size_t>{9});

    EXPECT_TRUE(library.concordanceIndexReady());
    for (const char* query : {"valve", "pump", "阀", "新", "又"}) EXPECT_EQ(found(library, query, true), foundAfresh(library, query, true)) << query;
    EXPECT_EQ(found(library, "common", false), foundAfresh(library, "common", false));
}

// Random changes through every method: the index kept in step answers as one built afresh.
TEST(ConcordanceIndexTest, KeptInStepItAnswersAsAnIndexBuiltAfresh) {
    std::mt19937 random(20261210);
    const std::vector<std::string> words = {"common", "valve", "pump", "seal", "gear"};
    const std::vector<std::string> meanings = {"甲", "阀", "泵", "封", "齿", "x1", "y2"};
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    SentenceLibrary library;
    (void)found(library, "common", false);  // built while empty, kept in step from then on
    for (int step = 0; step < 4000; ++step) {
        const unsigned action = random() % 10;
        const std::size_t count = library.exampleCount();
        if (action < 6 || count == 0) {
            ASSERT_TRUE(library.addAnalysed(analysisOf({pick(words), pick(words), "n" + std::to_string(step % 50)}),
                                            pick(meanings) + " " + pick(meanings))
                            .isOk());
        } else if (action < 7) {
            library.replaceTranslation(random() % count, pick(meanings));
        } else if (action < 8) {
            (void)library.deleteSample(random() % count);
        } else {
            (void)library.replaceExample(random() % count, analysisOf({pick(words), "r" + std::to_string(step % 7)}),
                                         pick(meanings));
        }
    }
    ASSERT_TRUE(library.concordanceIndexReady());
    for (const std::string& word : words) EXPECT_EQ(found(library, word, false), foundAfresh(library, word, false)) << word;
    for (const std::string& meaning : meanings)
        EXPECT_EQ(found(library, meaning, true), foundAfresh(library, meaning, true)) << meaning;
    EXPECT_EQ(found(library, "common r3", false), foundAfresh(library, "common r3", false));
}

TEST(ConcordanceIndexTest, LinesAddedFromOutsideTheLibraryMakeItBuildAgain) {
    SentenceLibrary library;
    ASSERT_TRUE(library.addAnalysed(analysisOf({"one"}), "一").isOk());
    EXPECT_EQ(found(library, "一", true).size(), 1u);
    library.libSentences.push_back("01 two ^一二");
    EXPECT_FALSE(library.concordanceIndexReady());
    EXPECT_EQ(found(library, "一", true), (std::vector<std::size_t>{1, 0}));
}

}  // namespace
}  // namespace tavricat
