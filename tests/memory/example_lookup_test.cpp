// Looking up the examples that hold a group of words: what is listed, what is highlighted,
// and the limits on how many.

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "memory/example_lookup.h"
#include "support/analysis_builder.h"

namespace tavricat {
namespace {

using testing::analysisOf;

class ExampleLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        add({"look", "after", "the", "child"}, "照顾孩子");       // 0
        add({"they", "look", "at", "the", "child"}, "他们看孩子");  // 1
        add({"look", "after", "it"}, "照顾它");                   // 2
        add({"after", "the", "look"}, "看过之后");                 // 3
        sentence = analysisOf({"please", "look", "after", "the", "child"});
    }
    void add(const std::vector<std::string>& keys, const std::string& translation) {
        ASSERT_TRUE(lib.addAnalysed(analysisOf(keys), translation).isOk());
    }
    std::vector<std::size_t> indexes(const std::vector<ListedExample>& listed) {
        std::vector<std::size_t> out;
        for (const ListedExample& e : listed) out.push_back(e.index);
        return out;
    }

    SentenceLibrary lib;
    stClass sentence;
    ExampleLookupOptions options{9, false};
};

TEST_F(ExampleLookupTest, ContiguousGroupsListOnlyExamplesHoldingTheRun) {
    // "look after" (tokens 2-3): examples 2 and 0 hold it as a run, example 3 only scattered.
    std::vector<ListedExample> run = findExamplesOfTokenSpan(lib, sentence, 2, 2, true, options);
    EXPECT_EQ(indexes(run), (std::vector<std::size_t>{2, 0}));
    ASSERT_EQ(run[0].line, " look after it ^照顾它");
    ASSERT_EQ(run[0].highlights.size(), 1u);
    EXPECT_EQ(run[0].line.substr(run[0].highlights[0].start, run[0].highlights[0].length), "look after");

    std::vector<ListedExample> scattered = findExamplesOfTokenSpan(lib, sentence, 2, 2, false, options);
    EXPECT_EQ(indexes(scattered), (std::vector<std::size_t>{3, 2, 0}));
    // Each word is marked wherever it stands as a word.
    ASSERT_EQ(scattered[0].highlights.size(), 2u);
    EXPECT_EQ(scattered[0].line.substr(scattered[0].highlights[0].start, scattered[0].highlights[0].length), "after");
}

TEST_F(ExampleLookupTest, ListsStopAtTheLimitAndFindsim4AtFour) {
    options.limit = 1;
    EXPECT_EQ(indexes(findExamplesOfTokenSpan(lib, sentence, 2, 2, false, options)), (std::vector<std::size_t>{3}));
    for (int k = 0; k < 5; ++k) add({"look", "after", "us"}, "照顾我们" + std::to_string(k));
    EXPECT_EQ(translationsOfTokenSpan(lib, sentence, 2, 2), "^照顾我们4^照顾我们3^照顾我们2^照顾我们1");
    // Four tokens of which an example holds three: below 0.99, no translation.
    EXPECT_EQ(translationsOfTokenSpan(lib, analysisOf({"look", "after", "the", "dog"}), 1, 4), "");
}

TEST_F(ExampleLookupTest, BlanksBetweenChineseCharactersMoveTheHighlights) {
    options.spaceInHanChar = true;
    std::vector<ListedExample> listed = findExamplesOfTokenSpan(lib, sentence, 2, 2, true, options);
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed[0].line, "look after it ^ 照 顾 它");
    ASSERT_EQ(listed[0].highlights.size(), 1u);
    EXPECT_EQ(listed[0].line.substr(listed[0].highlights[0].start, listed[0].highlights[0].length), "look after");
}

TEST_F(ExampleLookupTest, ModeTwoLooksUpThePhraseTipsAndTheShownSpan) {
    Engine engine;
    SortedFind at = engine.termBase.find("look");
    engine.termBase.insertAt(at.index, "look", "看");
    engine.workSent = analysisOf({"please", "look", "after", "the", "dog"});
    std::vector<TokenMarks> marks(5);
    marks[1].phraseTip = marks[2].phraseTip = true;  // "look after": contiguous phrase tips
    marks[1].meaningShown = marks[2].meaningShown = true;
    // The shown span is no longer than the phrase tips: only they are looked up.
    EXPECT_EQ(indexes(listExamplesOfMarkedWords(2, marks, lib, engine, {}, options)), (std::vector<std::size_t>{2, 0}));
    // A longer shown span with one-token gaps counts as contiguous: "look after the dog" is
    // held by no example as a run, and scattered it would have needed 80 % of its words.
    marks[4].meaningShown = true;
    EXPECT_EQ(indexes(listExamplesOfMarkedWords(2, marks, lib, engine, {}, options)), (std::vector<std::size_t>{2, 0}));
    // Mode 1 takes the selected words, here not following each other: any example holding
    // both is listed.
    marks = std::vector<TokenMarks>(5);
    marks[1].selected = marks[3].selected = true;  // "look", "the"
    EXPECT_EQ(indexes(listExamplesOfMarkedWords(1, marks, lib, engine, {}, options)), (std::vector<std::size_t>{3, 1, 0}));
}

}  // namespace
}  // namespace tavricat
