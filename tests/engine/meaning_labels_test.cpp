// Bracketed labels of translation items ("[v.]", "[n.计算机]") say what an item is; they never
// reach a translation, be it made by the machine translation or adapted from an example.

#include <gtest/gtest.h>

#include "engine/analyser.h"
#include "engine/engine.h"
#include "engine/morphology.h"
#include "grammar/translation_pipeline.h"
#include "memory/fuzzy_search.h"
#include "memory/sentence_library.h"

namespace tavricat {
namespace {

TEST(MeaningOfTest, TheFirstItemWithoutItsLabels) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"[v.]被|[n.]被子", "被"},
        {"[n.计算机]存储器|内存", "存储器"},
        {"[n.][口]书本|书", "书本"},  // several labels in a row
        {"书|[v.]预订", "书"},
        {"[v.]|被", ""},
        {"[unclosed 书", "[unclosed 书"},
        {" .", " ."},  // blanks of an unlabelled item stay
        {"", ""},
    };
    for (const auto& [field, meaning] : cases) EXPECT_EQ(meaningOf(field), meaning) << field;
}

TEST(MeaningLabelsTest, MachineTranslationTakesNoLabel) {
    stClass s;
    s.reset(6);
    s.wordCount = s.segCount = 5;
    const char* translations[] = {"[pron.]我们", "[v.]有", "两个", "[n.][v.]被|[n.]被子", "。"};
    for (std::size_t k = 0; k < 5; ++k) s.segTrans[k + 1] = translations[k];
    EXPECT_EQ(machineTranslate(s, {}, Direction::EC), "我们有两个被。");
}

// The example's word of the gap is found in its translation by a meaning and replaced by
// the meaning of the sentence's word, without that word's label.
TEST(MeaningLabelsTest, AnAdaptedTranslationTakesNoLabel) {
    Engine engine;
    for (auto [key, entry] : {std::pair{"we", "[pron.]我们"}, {"have", "[v.]有"}, {"two", "两个"},
                              {"cups", "杯子"}, {"quilts", "[n.][v.]被|[n.]被子"}}) {
        SortedFind at = engine.termBase.find(key);
        engine.termBase.insertAt(at.index, key, entry);
    }
    AnalysisOptions ec{Direction::EC, true, true};
    SentenceLibrary library;
    ASSERT_TRUE(library.addAsent(engine, ec, "We have two cups.^我们有两个杯子。").isOk());

    analyseSent("We have two quilts.", engine.workSent, engine, ec);
    FuzzySearch found;
    SimilarityOptions options;
    options.analysis = ec;
    EXPECT_EQ(adaptBestExample(library, engine, options, found), "我们有两个被。");
}

}  // namespace
}  // namespace tavricat
