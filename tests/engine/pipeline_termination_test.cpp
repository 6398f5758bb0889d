// The sentence pipeline on a started workbench with the delivered dictionaries, fed with
// broken GBK: stray lead bytes, runs of 0xA0, 0x80 and 0xFF, truncated characters. Every
// input must come back (a loop that never ends shows as the test's timeout) with an analysis
// whose parts agree.

#include <gtest/gtest.h>

#include <random>

#include "app/workbench_fixture.h"
#include "base/gbk.h"
#include "grammar/translation_pipeline.h"
#include "engine/tokenizer.h"

namespace tavricat {
namespace {

class PipelineTermination : public testing::WorkbenchFixture {
protected:
    Workbench& bench(Direction direction) {
        auto& slot = direction == Direction::EC ? m_ec : m_ce;
        if (!slot) {
            slot = makeWorkbench(direction);
            EXPECT_TRUE(slot->start().isOk());
        }
        return *slot;
    }

    // Runs the sentence through analysis-only and full preparation and the machine
    // translation, checking what every caller relies on.
    void run(Direction direction, const std::string& input) {
        Workbench& b = bench(direction);
        SCOPED_TRACE(::testing::PrintToString(input));
        PipelineContext context{b.engine, b.analysisOptions(), b.grammar, b.selectedDomainNames};

        std::string sentence = input;
        std::string cleaned;
        prepareSent(sentence, cleaned, context, true);
        EXPECT_EQ(cleaned.find("  "), std::string::npos);
        EXPECT_EQ(cleaned.find_first_of("\r\n\t"), std::string::npos);
        EXPECT_FALSE(caretAtCharacter(cleaned)) << ::testing::PrintToString(cleaned);
        checkAnalysis(b.engine.workSent);

        sentence = input;
        prepareSent(sentence, cleaned, context, false);
        EXPECT_TRUE(cleaned.empty());
        checkAnalysis(b.engine.workSent);
        const std::string translation = machineTranslate(b.engine.workSent, b.engine.grammarPlacement, direction);
        EXPECT_LE(translation.size(), 64 * (input.size() + 16));
    }

    // A "^" that is a character of its own (a second byte may have its value).
    static bool caretAtCharacter(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); i += gbk::charLength(text, i))
            if (text[i] == '^' && gbk::charLength(text, i) == 1) return true;
        return false;
    }

    static void checkAnalysis(const stClass& s) {
        ASSERT_GE(s.wordCount, 0);
        EXPECT_LE(s.segCount, s.wordCount);
        // A sentence with words has segments: a word no dictionary knows is a segment of its own.
        if (s.wordCount > 0) {
            EXPECT_GE(s.segCount, 1);
        }
        for (std::int32_t k = 1; k <= s.segCount; ++k) EXPECT_FALSE(s.segKeys[static_cast<std::size_t>(k)].empty()) << k;
    }

private:
    std::unique_ptr<Workbench> m_ec, m_ce;
};

TEST_F(PipelineTermination, StrayLeadBytesBeforeBlanksEnd) {
    const std::vector<std::string> inputs = {
        "The caf\xe9  is open.\r\n",       // a Latin-1 letter before two blanks
        "Price: \xa0\xa0  10 yuan.",        // no-break blanks of a mail program
        "ab \xd6\xd0\xce  cd",              // a truncated Chinese character
        "\x81  \x81  \x81",                 // nothing but lead bytes and blanks
        "end\xfe",                          // a lead byte as the last byte
        "\x80\xff  \xff\x80  x",
    };
    for (const std::string& input : inputs) {
        run(Direction::EC, input);
        run(Direction::CE, input);
    }
}

TEST_F(PipelineTermination, TheBlanksOfTheCleanedCopyAreReducedAcrossAStrayLeadByte) {
    Workbench& b = bench(Direction::EC);
    PipelineContext context{b.engine, b.analysisOptions(), b.grammar, b.selectedDomainNames};
    std::string sentence = "The caf\xe9  is open.\r\n";
    std::string cleaned;
    prepareSent(sentence, cleaned, context, true);
    EXPECT_EQ(sentence, "The caf\xe9  is open.");
    EXPECT_EQ(cleaned, "The caf\xe9 is open. ");
}

TEST_F(PipelineTermination, PseudoRandomBytesEnd) {
    // Pieces the strings are made of: broken bytes weigh as much as real text.
    const std::vector<std::string> pieces = {
        " ",   "  ",   "\r\n", "\t",     "\x81", "\xa0", "\xa0\xa0", "\x80", "\xff", "\xfe",
        "\xe9", "a",   "Be",   "went",   "the",  ".",    ",",        "^",    "@1",   "#",
        "[v.]", "-",   "'",    "\"",     "{*>",  "<*}",  "<1:>",     "中",   "文",   "。",
        "，",   "　",  "１",   "７",     "s",    "ing",  "comics",   "Siemens", "S7", "\x95\x5a",
    };
    std::mt19937 random(20260101u);
    std::uniform_int_distribution<std::size_t> pieceOf(0, pieces.size() - 1), lengthOf(0, 24);
    std::uniform_int_distribution<int> byteOf(0, 255);
    for (int round = 0; round < 300; ++round) {
        std::string input;
        const std::size_t length = lengthOf(random);
        for (std::size_t k = 0; k < length; ++k) {
            if (round % 3 == 0) input += static_cast<char>(byteOf(random) | 1);  // raw bytes, no NUL
            else input += pieces[pieceOf(random)];
        }
        run(round % 2 == 0 ? Direction::EC : Direction::CE, input);
        if (HasFatalFailure()) return;
    }
}

TEST(MachineTranslateMarkers, ATranslationHoldingItsOwnMarkerIsInsertedOnce) {
    stClass s;
    s.reset(3);
    s.wordCount = 2;
    s.segCount = 2;
    s.segTrans[1] = "@1";
    s.segTrans[2] = "x@2";
    MatchRecord r;
    r.first = 1;
    r.last = 2;
    r.span = 2;
    r.templ = "<@1-@2>";
    r.braceCount = 2;
    r.tagSegments = {1, 2};
    r.score = 5;
    GrammarPlacement placement;
    placement.matchTable.push_back(r);
    EXPECT_EQ(machineTranslate(s, placement, Direction::EC), "<@1-x@2>");
}

}  // namespace
}  // namespace tavricat
