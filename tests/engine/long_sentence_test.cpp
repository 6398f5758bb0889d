// A sentence of a megabyte without a full stop: segmentation and analysis take time in
// proportion to its length and cut it as they cut each of its parts.

#include <gtest/gtest.h>

#include <ctime>

#include "base/gbk.h"

#include "engine/analyser.h"
#include "engine/engine.h"
#include "grammar/grammar_matcher.h"
#include "engine/segmentation.h"

namespace tavricat {
namespace {

class LongSentenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto [key, entry] : {std::pair{"book", "[n.]书^^n^"}, {"city", "[n.]城市^^n^"}, {"knife", "[n.]刀^^n^"},
                                  {"look", "看^^v^"}, {"look after", "照顾^^v^"}, {"make", "做^^v^"},
                                  {"the", "这^^^"}}) {
            SortedFind at = engine.termBase.find(key);
            engine.termBase.insertAt(at.index, key, entry);
        }
    }

    static std::string repeated(std::string_view unit, std::size_t bytes) {
        std::string text;
        text.reserve(bytes + unit.size());
        while (text.size() < bytes) text += unit;
        return text;
    }

    Engine engine;
};

// Processor time, which a busy machine does not stretch.
using Clock = std::clock_t;

Clock now() { return std::clock(); }

double secondsSince(Clock start) { return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

TEST_F(LongSentenceTest, SegmentationOfAMegabyteIsLinearAndCutsLikeItsParts) {
    // Multi-word keys, inflected words (shortened in place), unknown words and marks.
    const std::string unit = "look after the books of the cities and making knives unknownword , ";
    const Segmentation one = segmentText(unit, DictSource::TermBase, engine);
    ASSERT_EQ(one.keys.size(), 11u);
    EXPECT_EQ(one.keys[0], "look after");
    EXPECT_EQ(one.keys[2], "book");

    const std::string text = repeated(unit, 1 << 20);
    const std::size_t units = text.size() / unit.size();
    const Clock start = now();
    const Segmentation all = segmentText(text, DictSource::TermBase, engine);
    const double seconds = secondsSince(start);

    ASSERT_EQ(all.keys.size(), units * one.keys.size());
    for (std::size_t i = 0; i < all.keys.size(); i += 997) {
        EXPECT_EQ(all.keys[i], one.keys[i % one.keys.size()]) << i;
        EXPECT_EQ(all.entries[i], one.entries[i % one.entries.size()]) << i;
    }
    // Quadratic copying took most of a minute here.
    EXPECT_LT(seconds, 5.0);
}

TEST_F(LongSentenceTest, AnalysisOfAMegabyteSentenceIsLinear) {
    const std::string text = repeated("Look after the books of the cities and making knives, ", 1 << 20);
    const Clock start = now();
    stClass analysis;
    analyseSent(text, analysis, engine, AnalysisOptions{Direction::EC, true, true});
    const double seconds = secondsSince(start);
    EXPECT_GT(analysis.segCount, 100000);
    EXPECT_EQ(analysis.segKeys[1], "look after");
    EXPECT_LT(seconds, 10.0);
}

// The grammar finder tries the triggers at every word of the sentence.
TEST_F(LongSentenceTest, TriggersAreMatchedAtEveryWordOfAMegabyteInLinearTime) {
    const std::vector<std::string> triggers = {"after", "look after", "make"};
    const std::string text = repeated("look after the book and make it ", 1 << 20);
    const Clock start = now();
    std::size_t found = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const TriggerMatch match = matchTrigger(rest, triggers);
        if (match.found) ++found;
        const std::size_t skip = match.found ? match.trigger.size() : rest.find(' ');
        rest = skip == std::string_view::npos ? std::string_view{} : gbk::trim(rest.substr(skip));
    }
    const double seconds = secondsSince(start);
    EXPECT_EQ(found, 2 * (text.size() / 32));
    EXPECT_LT(seconds, 5.0);
}

}  // namespace
}  // namespace tavricat
