// The translate-a-sentence command on a document: which text it takes, what it refuses or
// asks, split phrases put back, and what the views put into the translation box.

#include <gtest/gtest.h>

#include "base/list_order.h"
#include "interactive/sentence_acquisition.h"
#include "interactive/sentence_fixture.h"

namespace tavricat {
namespace {

using testing::nonsenseWords;

class SentenceTranslationTest : public testing::SentenceFixture {};

TEST_F(SentenceTranslationTest, TheLengthLimitIsInclusive) {
    const std::string limit(kMaxSentenceLength, 'a');
    EXPECT_EQ(checkSentence(limit, Direction::EC, dialogs), AcquisitionOutcome::Sentence);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(checkSentence(limit + "a", Direction::EC, dialogs), AcquisitionOutcome::Refused);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{kSentenceTooLong});

    // The translator's own selection is held to the same limit.
    RichText document = documentOf(std::string(kMaxSentenceLength + 1, 'b') + "\r\n");
    document.select(0, kMaxSentenceLength + 1);
    EXPECT_EQ(translate(document).outcome, SentenceOutcome::Refused);
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(SentenceTranslationTest, TheDirectionIsQuestionedOnlyForLongerSentences) {
    EXPECT_EQ(checkSentence("中", Direction::EC, dialogs), AcquisitionOutcome::Sentence);
    EXPECT_EQ(checkSentence("ab", Direction::CE, dialogs), AcquisitionOutcome::Sentence);
    EXPECT_TRUE(dialogs.questions.empty());

    dialogs.answers = {false};
    EXPECT_EQ(checkSentence("中文", Direction::EC, dialogs), AcquisitionOutcome::Sentence);
    EXPECT_EQ(dialogs.questions.back(), kChineseInEnglishSource);
    dialogs.answers = {true};
    EXPECT_EQ(checkSentence("abc", Direction::CE, dialogs), AcquisitionOutcome::SwitchDirection);
    EXPECT_EQ(dialogs.questions.back(), kNoChineseInChineseSource);
}

TEST_F(SentenceTranslationTest, TheTranslatorsSelectionWinsUnlessItCrossesAHiddenMark) {
    RichText document = documentOf("zqbb zqbc. zqbf zqbg.\r\n");
    document.select(5, 4);  // "zqbc"
    SentenceTranslation result = translate(document);
    EXPECT_EQ(result.outcome, SentenceOutcome::Translated);
    EXPECT_EQ(result.sentence, "zqbc");
    EXPECT_EQ(bench->sentenceState.selection, (DocumentSelection{5, 4}));

    RichText marked = documentOf("zqbb zqbc.\x1E\x1D\r\nzqbf zqbg.\r\n");
    marked.select(14, 4);  // on the next line; the mark's line is not touched
    EXPECT_EQ(translate(marked).outcome, SentenceOutcome::Translated);
    marked.select(0, 15);
    EXPECT_EQ(translate(marked).outcome, SentenceOutcome::Refused);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{kHiddenMarkInSelection});
}

TEST_F(SentenceTranslationTest, ASentenceTranslatedBeforeShowsItsTranslation) {
    addExample("zqbb zqbc .^甲乙。");
    RichText document = documentOf("{*>zqbb zqbc .<}100{>旧的译文<*}\r\n");
    document.setCaret(4);
    const SentenceTranslation result = translate(document);
    EXPECT_TRUE(bench->sentenceState.reEdit);
    EXPECT_EQ(result.translationBox, "旧的译文");

    // The next sentence clears the flag again.
    RichText next = documentOf("zqbb zqbc .\r\n");
    EXPECT_EQ(translate(next).translationBox, "甲乙。");
    EXPECT_FALSE(bench->sentenceState.reEdit);
}

TEST_F(SentenceTranslationTest, TheOtherViewsAlwaysGiveTheirSelectedTarget) {
    addExample("zqbb zqbc .^甲乙。");
    for (TranslationView view : {TranslationView::SentenceBySentence, TranslationView::SideBySide}) {
        EXPECT_EQ(suggest("zqbb zqbc .", {view, "选定的译文"}).translationBox, "选定的译文");
        EXPECT_EQ(suggest("zqbx zqby .", {view, "选定的译文"}).translationBox, "选定的译文");
    }
    EXPECT_EQ(suggest("zqbb zqbc .", {TranslationView::Bilingual, "选定的译文"}).translationBox, "甲乙。");
}

TEST_F(SentenceTranslationTest, ASplitPhraseComesBackWithTheNextSentence) {
    const std::string phrase = "zqbb zqbc";
    bench->sentenceState.PendingRestore = {phrase + "^甲乙"};
    LineList& deleted = bench->engine.deletedWords;
    deleted.insert(deleted.begin() + static_cast<std::ptrdiff_t>(findSorted(deleted, phrase).index), phrase);

    // Translating the same sentence again after the split keeps the phrase out.
    RichText document = documentOf("zqbb zqbc zqbf.\r\n");
    translate(document, TranslateTrigger::PhraseSplit);
    EXPECT_FALSE(bench->engine.termBase.find(phrase).found);
    EXPECT_EQ(bench->sentenceState.PendingRestore.size(), 1u);

    document.setCaret(0);
    translate(document);
    EXPECT_TRUE(bench->sentenceState.PendingRestore.empty());
    const SortedFind at = bench->engine.termBase.find(phrase);
    ASSERT_TRUE(at.found);
    EXPECT_EQ(bench->engine.termBase.termEntries[at.index], "甲乙");
    EXPECT_FALSE(findSorted(deleted, phrase).found);
}

TEST_F(SentenceTranslationTest, ARunStartsFromACleanState) {
    addExample("zqbb zqbc .^甲乙。");
    ASSERT_TRUE(suggest("zqbb zqbc .").path == ExamplePath::Full);
    RichText document = documentOf("zqbx zqby .\r\n");
    const SentenceTranslation result = translate(document);
    EXPECT_FALSE(bench->sentenceState.exampleUsed);
    EXPECT_EQ(bench->sentenceState.ExampleRate, kNoExampleRate);
    EXPECT_EQ(bench->sentenceState.CurrentWord, 0);
    EXPECT_TRUE(result.reference.empty());

    // Past the last sentence there is nothing to translate: an empty box.
    RichText empty = documentOf("\r\n");
    EXPECT_EQ(translate(empty).translationBox, "");
}

TEST(CommonCharacterHead, TheOldHeadGivesWayToTheNewOne) {
    EXPECT_EQ(commonCharacterHeadOf("的|是||的|在"), "的 是 在");
    EXPECT_EQ(withCommonCharacterHead("old head\r\n>>\r\n的了\r\n", "新"), "新 \r\n>>\r\n的了\r\n");
    EXPECT_EQ(withCommonCharacterHead("\r\n  \r\n的了\r\n", "新"), "新 \r\n的了\r\n");
}

}  // namespace
}  // namespace tavricat
