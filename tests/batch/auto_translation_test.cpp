// Automatic translation of a document from the sentence library: which sentences take an
// example, what the fallbacks write, stopping, and what the run leaves behind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/workbench_fixture.h"
#include "batch/auto_translation.h"
#include "support/nonsense_words.h"

namespace tavricat {
namespace {

std::string words(int from, int count) { return testing::nonsenseWords(from, count); }

class AutoTranslationTest : public testing::WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        // Without any term the analysis gives no segments.
        SortedFind at = bench->engine.termBase.find("zzterm");
        bench->engine.termBase.insertAt(at.index, "zzterm", "术语");
    }

    void addExample(const std::string& pair) {
        ASSERT_TRUE(bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), pair).isOk()) << pair;
    }

    Result<AutoTranslationCounts> run(RichText& document, AutoTranslationOptions options = {}, std::size_t from = 0) {
        SortedListsLookup abbreviations({&bench->abbreviations, &bench->engine.termBase.termKeys});
        AutoTranslationContext context{{bench->engine, bench->analysisOptions(), bench->grammar, bench->selectedDomainNames},
                                       bench->sentenceLibrary,
                                       abbreviations,
                                       dialogs,
                                       progress,
                                       stop,
                                       switchTo};
        document.setCaret(from);
        return runAutoTranslation(document, context, options);
    }

    static RichText documentOf(const std::string& text) {
        RichText document;
        document.append(text, document.defaultFormat());
        return document;
    }

    std::unique_ptr<Workbench> bench;
    StopRequest stop;
    std::function<void(Direction)> switchTo;
};

TEST_F(AutoTranslationTest, TheMatchRateDecidesBetweenTheExampleAndTheFallback) {
    // A 100-token example (99 words and the full stop).
    addExample(words(0, 99) + ".^例句译文。");
    // 80 of its tokens: rated 0.80, not above 80; 81 tokens: 0.81.
    RichText document = documentOf(words(0, 79) + ".\r\n" + words(0, 80) + ".\r\n");
    AutoTranslationOptions options;
    options.matchrate = 80;
    options.userefmode = 1;
    Result<AutoTranslationCounts> counts = run(document, options);
    ASSERT_TRUE(counts.isOk()) << counts.status().message();
    EXPECT_EQ(counts->fromMemory, 1u);
    EXPECT_EQ(counts->fromFallback, 1u);
    EXPECT_EQ(document.text(), "{*>" + words(0, 79) + ".<}999{>" + words(0, 79) + ".<*}\r\n{*>" + words(0, 80) +
                                   ".<}81{>例句译文。<*}\r\n");
}

TEST_F(AutoTranslationTest, AtMatchRate100OnlyFullMatchesComeFromTheLibrary) {
    addExample(words(0, 99) + ".^例句译文。");
    // The example itself, and 99 of its 100 tokens (99 %).
    RichText document = documentOf(words(0, 99) + ".\r\n" + words(0, 98) + ".\r\n");
    AutoTranslationOptions options;
    options.matchrate = 100;
    options.userefmode = 1;
    Result<AutoTranslationCounts> counts = run(document, options);
    ASSERT_TRUE(counts.isOk()) << counts.status().message();
    EXPECT_EQ(counts->fromMemory, 1u);
    EXPECT_EQ(counts->fromFallback, 1u);
    EXPECT_EQ(document.text(), "{*>" + words(0, 99) + ".<}100{>例句译文。<*}\r\n{*>" + words(0, 98) + ".<}999{>" +
                                   words(0, 98) + ".<*}\r\n");
}

TEST_F(AutoTranslationTest, WithoutExamplesTheOptionsCopyKeepOrMachineTranslate) {
    const std::string text = "I have a book.\r\n";
    for (int mode : {1, 2, 3}) {
        RichText document = documentOf(text);
        AutoTranslationOptions options;
        options.userefmode = mode;
        Result<AutoTranslationCounts> counts = run(document, options);
        ASSERT_TRUE(counts.isOk());
        if (mode == 1) {
            EXPECT_EQ(document.text(), "{*>I have a book.<}999{>I have a book.<*}\r\n");
        }
        if (mode == 2) {
            EXPECT_EQ(document.text(), text);  // no markup at all
            EXPECT_EQ(counts->leftAsIs, 1u);
        }
        if (mode == 3) {
            EXPECT_NE(document.text().find("<}999{>我"), std::string::npos) << document.text();
            EXPECT_EQ(counts->fromFallback, 1u);
        }
    }
}

TEST_F(AutoTranslationTest, TranslatedSegmentsStayAndTheTermBaseIsPutBack) {
    addExample("Good morning.^早上好。");
    const std::size_t terms = bench->engine.termBase.size();
    RichText document = documentOf("{*>Good morning.<}100{>上午好！<*}\r\nGood morning.\r\n");
    Result<AutoTranslationCounts> counts = run(document);
    ASSERT_TRUE(counts.isOk());
    EXPECT_EQ(counts->kept, 1u);
    EXPECT_EQ(document.text(), "{*>Good morning.<}100{>上午好！<*}\r\n{*>Good morning.<}100{>早上好。<*}\r\n");
    // Entries the analysis copied from the system dictionary are gone again.
    EXPECT_EQ(bench->engine.termBase.size(), terms);
    EXPECT_EQ(progress.events.back(), "hide");
}

TEST_F(AutoTranslationTest, AStopLeavesTheSentenceInHandUntouched) {
    addExample("Good morning.^早上好。");
    RichText document = documentOf("Good morning.\r\nGood morning.\r\n");
    // The stop is seen at the first pause of the second cycle.
    int pumps = 0;
    progress.onPump = [&] {
        if (++pumps == 2) stop.request();
    };
    Result<AutoTranslationCounts> counts = run(document);
    ASSERT_TRUE(counts.isOk());
    EXPECT_TRUE(counts->stopped);
    EXPECT_EQ(document.text(), "{*>Good morning.<}100{>早上好。<*}\r\nGood morning.\r\n");
}

TEST_F(AutoTranslationTest, ChineseTextInEnglishDirectionAsksToSwitch) {
    RichText document = documentOf("We go to 北京 tomorrow.\r\n");
    Direction switched = Direction::EC;
    switchTo = [&](Direction d) { switched = d; };
    dialogs.answers = {true};
    Result<AutoTranslationCounts> counts = run(document);
    ASSERT_TRUE(counts.isOk());
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(counts->directionSwitched);
    EXPECT_EQ(switched, Direction::CE);
    EXPECT_EQ(document.text(), "We go to 北京 tomorrow.\r\n");
    // "No" translates the sentence as it is.
    dialogs.answers = {false};
    ASSERT_TRUE(run(document).isOk());
    EXPECT_EQ(document.text().substr(0, 3), "{*>");
}

TEST_F(AutoTranslationTest, ASentenceHoldingMarkersIsLeftAndTheRunGoesOn) {
    const std::string text = "Keep <} this.\r\nThe sky is green.\r\n";
    RichText document = documentOf(text);
    AutoTranslationOptions options;
    options.userefmode = 1;  // the copy would carry the marker into the translation
    Result<AutoTranslationCounts> counts = run(document, options);
    ASSERT_TRUE(counts.isOk()) << counts.status().message();
    EXPECT_EQ(counts->leftAsIs, 1u);
    EXPECT_EQ(counts->fromFallback, 1u);
    EXPECT_EQ(document.text(), "Keep <} this.\r\n{*>The sky is green.<}999{>The sky is green.<*}\r\n");
}

TEST_F(AutoTranslationTest, AfterASwitchTheNextRunStartsWhereTheTranslatorPlacedTheCaret) {
    // Chinese text in the English direction: the English getter passes over the sentences
    // without letters and asks at the third, so it ends with that one selected.
    const std::string intro = "Intro line.\r\n";
    RichText document = documentOf(intro + "本产品很好。它很安静。过滤PM2.5颗粒。\r\n");
    switchTo = [](Direction) {};
    dialogs.answers = {true};
    Result<AutoTranslationCounts> counts = run(document, {}, intro.size());
    ASSERT_TRUE(counts.isOk());
    ASSERT_TRUE(counts->directionSwitched);
    EXPECT_EQ(document.caret(), intro.size());
    EXPECT_EQ(document.selLength(), 0u);
}

TEST_F(AutoTranslationTest, AStopWhileTheDirectionQuestionIsOpenLeavesTheSentenceUntouched) {
    const std::string text = "We go to 北京 tomorrow.\r\n";
    RichText document = documentOf(text);
    switchTo = [](Direction) {};
    dialogs.onAsk = [&] { stop.request(); };
    Result<AutoTranslationCounts> counts = run(document);
    ASSERT_TRUE(counts.isOk());
    EXPECT_TRUE(counts->stopped);
    EXPECT_EQ(counts->sentences, 0);
    EXPECT_EQ(document.text(), text);
    EXPECT_EQ(document.caret(), 0u);
}

}  // namespace
}  // namespace tavricat
