// Confirming a sentence: what goes into the sentence library, when the recovery files are
// written, what the document receives, and the questions on the way.

#include <gtest/gtest.h>

#include "app/sentence_confirmation_setup.h"
#include "document/segment_writer.h"
#include "interactive/sentence_confirmation.h"
#include "interactive/sentence_fixture.h"
#include "memory/sentence_library.h"

namespace tavricat {
namespace {

using testing::nonsenseWords;

class SentenceConfirmationTest : public testing::SentenceFixture {
protected:
    // Translates `sentence` as the only line of `document`, then confirms `box`.
    ConfirmationResult translateAndConfirm(RichText& document, const std::string& sentence, std::string box) {
        document = documentOf(sentence + "\r\n");
        EXPECT_EQ(translate(document).outcome, SentenceOutcome::Translated) << sentence;
        return confirm(document, box);
    }

    ConfirmationResult confirm(RichText& document, std::string& box) {
        SentenceConfirmationSetup setup(*bench);
        ConfirmationContext& context = setup.context();
        std::function<void()> write = context.writeRecoveryFiles;
        context.writeRecoveryFiles = [&] {
            ++recoveryWrites;
            write();
        };
        return confirmSentence(context, bench->sentenceState, document, box);
    }

    const std::string& line(std::size_t index) const { return bench->sentenceLibrary.libSentences[index]; }

    int recoveryWrites = 0;
};

TEST_F(SentenceConfirmationTest, TheUsedExampleIsCorrectedOnlyUnderTheSameKey) {
    const std::size_t used = addExample("zqbb zqbc .^甲乙。");
    const std::size_t before = bench->sentenceLibrary.exampleCount();
    RichText document;
    ConfirmationResult result = translateAndConfirm(document, "zqbb zqbc .", "丙丁。");
    ASSERT_TRUE(bench->sentenceState.exampleUsed);
    EXPECT_EQ(result.outcome, ConfirmOutcome::Corrected);
    EXPECT_EQ(result.example, used);
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), before);
    EXPECT_EQ(line(used), "03 zqbb zqbc . ^丙丁。");

    // The remembered example no longer holds this sentence's key (its words changed since):
    // a new example is added and the remembered one keeps its translation.
    const std::size_t other = addExample("zqbb zqbc zqbf .^戊己。");
    document = documentOf("zqbb zqbc .\r\n");
    ASSERT_EQ(translate(document).outcome, SentenceOutcome::Translated);
    ASSERT_TRUE(bench->sentenceState.exampleUsed);
    bench->sentenceState.exampleIndex = other;
    std::string box = "庚辛。";
    result = confirm(document, box);
    EXPECT_EQ(result.outcome, ConfirmOutcome::Stored);
    EXPECT_EQ(line(other), "04 zqbb zqbc zqbf . ^戊己。");
    EXPECT_EQ(line(*result.example), "03 zqbb zqbc . ^庚辛。");
}

TEST_F(SentenceConfirmationTest, EveryTenthExampleWritesTheRecoveryFiles) {
    int word = 0;
    while (bench->sentenceLibrary.exampleCount() % kRecoveryInterval != kRecoveryInterval - 2) {
        addExample(nonsenseWords(300 + word++, 2) + " .^译文");
    }
    const std::string names = bench->workspace().programFile("lastzyliju.sav");
    if (fs.exists(names)) {
        ASSERT_TRUE(fs.remove(names).isOk());
    }

    RichText document;
    ASSERT_EQ(translateAndConfirm(document, nonsenseWords(10, 3) + " .", "第九").outcome, ConfirmOutcome::Stored);
    EXPECT_EQ(recoveryWrites, 0);
    EXPECT_FALSE(fs.exists(names));
    ASSERT_EQ(translateAndConfirm(document, nonsenseWords(20, 3) + " .", "第十").outcome, ConfirmOutcome::Stored);
    EXPECT_EQ(recoveryWrites, 1);
    EXPECT_TRUE(fs.exists(names));
}

TEST_F(SentenceConfirmationTest, TheStoredTranslationIsOneLineWithoutHanBlanks) {
    bench->settings.SpaceInHanChar = true;
    RichText document;
    ConfirmationResult result = translateAndConfirm(document, "zqbb zqbk .", "甲 乙\r\n丙");
    ASSERT_EQ(result.outcome, ConfirmOutcome::Stored);
    EXPECT_EQ(line(*result.example), "03 zqbb zqbk . ^甲乙丙");
    EXPECT_TRUE(result.written);
    EXPECT_NE(document.text().find("{>甲 乙\r\n丙<*}"), std::string::npos) << document.text();
}

TEST_F(SentenceConfirmationTest, AnEmptyBoxOnlyBeeps) {
    RichText document;
    const std::size_t before = bench->sentenceLibrary.exampleCount();
    EXPECT_EQ(translateAndConfirm(document, "zqbb zqbc .", "").outcome, ConfirmOutcome::EmptyBox);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), before);
    EXPECT_EQ(document.text(), "zqbb zqbc .\r\n");
}

TEST_F(SentenceConfirmationTest, ATranslationHoldingSegmentMarkersIsNeitherStoredNorWritten) {
    RichText document = documentOf("zqbb zqbc .\r\n");
    const std::size_t before = bench->sentenceLibrary.exampleCount();
    ASSERT_EQ(translate(document).outcome, SentenceOutcome::Translated);
    std::string box = "甲<}乙";
    const ConfirmationResult result = confirm(document, box);
    EXPECT_EQ(result.outcome, ConfirmOutcome::Cancelled);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), before);
    EXPECT_EQ(document.text(), "zqbb zqbc .\r\n");
    EXPECT_EQ(box, "甲<}乙");  // the translator's text stays in the box
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_STREQ(dialogs.messages[0].c_str(), kMarkersInTarget);
}

TEST_F(SentenceConfirmationTest, CEWritesACapitalIntoTheDocumentButStoresAsTyped) {
    bench = makeWorkbench(Direction::CE);
    ASSERT_TRUE(bench->start().isOk());
    RichText document;
    ConfirmationResult result = translateAndConfirm(document, "甲乙丙丁戊己。", "  the first try.");
    ASSERT_EQ(result.outcome, ConfirmOutcome::Stored);
    EXPECT_NE(line(*result.example).find("^  the first try."), std::string::npos) << line(*result.example);
    EXPECT_NE(document.text().find("{>The first try.<*}"), std::string::npos) << document.text();
}

TEST_F(SentenceConfirmationTest, MismatchedTagsAreQuestioned) {
    RichText document;
    const std::size_t before = bench->sentenceLibrary.exampleCount();
    dialogs.answers = {false};
    ConfirmationResult result = translateAndConfirm(document, "zqbb <1:>zqbc<:1> .", "甲乙");
    EXPECT_EQ(result.outcome, ConfirmOutcome::Cancelled);
    EXPECT_EQ(dialogs.questions, std::vector<std::string>{kTagsDoNotMatch});
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), before);

    // Matching tags pass without a question.
    dialogs.questions.clear();
    std::string box = "甲<1:>乙<:1>";
    EXPECT_EQ(confirm(document, box).outcome, ConfirmOutcome::Stored);
    EXPECT_TRUE(dialogs.questions.empty());

    // Confirm and continue asks before confirming, and Confirm asks again.
    document = documentOf("zqbb <1:>zqbf<:1> .\r\n");
    ASSERT_EQ(translate(document).outcome, SentenceOutcome::Translated);
    dialogs.answers = {true, true};
    box = "甲乙";
    SentenceConfirmationSetup setup(*bench);
    std::optional<ConfirmationResult> next =
        confirmBeforeNext(setup.context(), bench->sentenceState, document, box);
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->outcome, ConfirmOutcome::Stored);
    EXPECT_EQ(dialogs.questions, (std::vector<std::string>{kTagsDoNotMatch, kTagsDoNotMatch}));
}

TEST_F(SentenceConfirmationTest, AMovedSelectionCanBeRestored) {
    RichText document = documentOf("zqbb zqbc . zqbf zqbg .\r\n");
    ASSERT_EQ(translate(document).outcome, SentenceOutcome::Translated);
    const DocumentSelection taken = bench->sentenceState.selection;
    document.select(taken.start + 1, 2);
    dialogs.answers = {true};
    std::string box = "甲乙。";
    ASSERT_TRUE(confirm(document, box).written);
    EXPECT_EQ(dialogs.questions, std::vector<std::string>{kSelectionMoved});
    EXPECT_EQ(document.text().rfind("{*>zqbb zqbc . zqbf zqbg .<}", 0), 0u) << document.text();
}

TEST_F(SentenceConfirmationTest, NothingIsWrittenWithTheCaretAtTheEnd) {
    RichText document = documentOf("zqbb zqbc .");
    ASSERT_EQ(translate(document).outcome, SentenceOutcome::Translated);
    document.setCaret(document.size());
    bench->sentenceState.selection = {document.size(), 0};
    std::string box = "甲乙。";
    EXPECT_FALSE(confirm(document, box).written);
    EXPECT_EQ(document.text(), "zqbb zqbc .");
    EXPECT_EQ(box, "甲乙。");
}

}  // namespace
}  // namespace tavricat

namespace tavricat {
namespace {

class PropagationTest : public testing::SentenceFixture {};

TEST_F(PropagationTest, RepetitionsLaterInTheDocumentTakeTheTranslationAndAreUndoneWithIt) {
    RichText document = documentOf(
        "Zqbb zqbc zqbd. Zqbe zqbf. Zqbb zqbc zqbd.\r\nZqbb zqbc zqbd.\r\nNot Zqbb zqbc zqbd. here.\r\n");
    ASSERT_EQ(translate(document).outcome, SentenceOutcome::Translated);
    std::string box = "甲乙丙。";
    SentenceConfirmationSetup setup(*bench);
    setup.context().autoPropagate = true;
    const ConfirmationResult result = confirmSentence(setup.context(), bench->sentenceState, document, box);
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.propagated, 2u);
    const std::string text = document.text();
    EXPECT_EQ(text.find("{*>Zqbb zqbc zqbd."), 0u);
    EXPECT_NE(text.find("Zqbe zqbf. {*>Zqbb zqbc zqbd.<}101{>甲乙丙。<*}\r\n{*>Zqbb zqbc zqbd.<}101{>甲乙丙。<*}\r\n"),
              std::string::npos)
        << text;
    // Inside another sentence it is no repetition.
    EXPECT_NE(text.find("Not Zqbb zqbc zqbd. here."), std::string::npos);
    // The caret stays after the confirmed sentence: the next one is the one after it.
    EXPECT_LE(document.caret(), text.find("Zqbe"));
    document.undo();
    EXPECT_EQ(document.text().find("{*>"), std::string::npos) << "one undo takes all of it back";
}

TEST_F(PropagationTest, SwitchedOffNothingElseIsWritten) {
    RichText document = documentOf("Zqbb zqbc zqbd. Zqbb zqbc zqbd.\r\n");
    ASSERT_EQ(translate(document).outcome, SentenceOutcome::Translated);
    std::string box = "甲乙丙。";
    SentenceConfirmationSetup setup(*bench);
    setup.context().autoPropagate = false;
    const ConfirmationResult result = confirmSentence(setup.context(), bench->sentenceState, document, box);
    EXPECT_EQ(result.propagated, 0u);
    EXPECT_EQ(document.text().find("{*>", 3), std::string::npos);
}

}  // namespace
}  // namespace tavricat
