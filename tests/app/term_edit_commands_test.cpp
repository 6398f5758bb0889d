// The term edits made while translating a sentence: what each stores under which key, what
// it journals and queues, the deleted words, the sentence translated again with the
// translator's text kept, and a split phrase that lives exactly as long as its sentence.

#include <gtest/gtest.h>

#include "app/term_entry_commands.h"
#include "app/term_removal_commands.h"
#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/deleted_words.h"
#include "engine/term_import.h"
#include "interactive/sentence_fixture.h"
#include "interactive/term_entry_text.h"

namespace tavricat {
namespace {

using testing::SentenceFixture;

// An accepted dialog that sets the key (when given) and the value fields.
std::function<bool(TermEntryForm&)> accept(std::string key, std::string meanings, std::string association = {},
                                           std::string partOfSpeech = {}) {
    return [=](TermEntryForm& form) {
        if (!key.empty()) form.key = key;
        form.meanings = meanings;
        form.association = association;
        form.partOfSpeech = partOfSpeech;
        return true;
    };
}

bool isDeleted(const Workbench& bench, const std::string& key) { return findSorted(bench.engine.deletedWords, key).found; }

class TermEditTest : public SentenceFixture {
protected:
    // Translates the document's first sentence and lays out the area for it.
    void translateFirst(RichText& document) {
        document.setCaret(0);
        translation = translate(document);
        ASSERT_EQ(translation.outcome, SentenceOutcome::Translated);
        area.build(bench->engine.workSent, translation.tokens, {});
    }

    std::vector<std::string> areaWords() const {
        std::vector<std::string> words;
        for (const AreaToken& token : area.tokens()) words.emplace_back(gbk::trim(token.text));
        return words;
    }

    void shareChanges() {
        bench->settings.shareMode = 1;
        bench->settings.curShareLibName = "team";
    }

    SentenceTranslation translation;
    InteractiveArea area;
};

TEST_F(TermEditTest, AnAddedTermIsKeyedByItsAnalysedWordsWithTheFullStopAttached) {
    removeDeletedWord(bench->engine.deletedWords, "zqbb zqbc.");
    addDeletedWord(bench->engine.deletedWords, "zqbb zqbc.");
    shareChanges();
    dialogs.termAnswers = {accept("  ZQBB   zqbc . ", "甲 乙|丙", "", "n")};
    Result<TermEditOutcome> added = addNewTerm(*bench);
    ASSERT_TRUE(added.isOk()) << added.status().message();
    EXPECT_TRUE(added->changed);
    ASSERT_EQ(dialogs.termForms.size(), 1u);
    EXPECT_EQ(dialogs.termForms[0].caption, kAddTermCaption);
    EXPECT_EQ(dialogs.termForms[0].focus, TermEntryField::Key);

    EXPECT_EQ(bench->engine.termBase.lookupKey("zqbb zqbc."), "甲乙|丙^^n^");
    EXPECT_EQ(bench->newUserWords.back(), "zqbb zqbc.^甲乙|丙^^n^");
    EXPECT_EQ(bench->toBeSent, (LineList{"A^zqbb zqbc.^甲乙|丙^^n^"}));
    EXPECT_FALSE(isDeleted(*bench, "zqbb zqbc."));

    // The same key again is left as it is, without a word; so is a cancelled dialog.
    const LineList journal = bench->newUserWords;
    dialogs.termAnswers = {accept("zqbb zqbc.", "别的")};
    ASSERT_TRUE(addNewTerm(*bench).isOk());
    ASSERT_TRUE(addNewTerm(*bench).isOk());
    EXPECT_EQ(bench->engine.termBase.lookupKey("zqbb zqbc."), "甲乙|丙^^n^");
    EXPECT_EQ(bench->newUserWords, journal);
    EXPECT_EQ(bench->toBeSent.size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TermEditTest, FieldsThatWouldBreakTheTermListsAreRefused) {
    const std::size_t terms = bench->engine.termBase.size();
    dialogs.termAnswers = {accept("zqbb", "甲\r\nzqbc^乙"), accept("zqbb", "甲^乙")};
    EXPECT_EQ(addNewTerm(*bench).status().kind(), ErrorKind::BadInput);
    EXPECT_EQ(addNewTerm(*bench).status().kind(), ErrorKind::BadInput);
    // A key that would replay as a deletion of another term.
    dialogs.termAnswers = {accept("dddit zzterm", "甲")};
    EXPECT_FALSE(addNewTerm(*bench).isOk());
    EXPECT_EQ(bench->engine.termBase.size(), terms);
    EXPECT_TRUE(bench->newUserWords.empty());
    EXPECT_TRUE(bench->engine.termBase.find("zzterm").found);
}

TEST_F(TermEditTest, AMarkedPhraseIsDefinedAndTheSentenceTranslatedAgainKeepingTheTranslatorsText) {
    addTerm("zqbb", "甲^^^");
    addTerm("zqbc", "乙^^^");
    RichText document = documentOf("zqbb zqbc zqbf.\r\n");
    translateFirst(document);
    ASSERT_EQ(areaWords(), (std::vector<std::string>{"zqbb", "zqbc", "zqbf", "."}));
    area.toggleMarked(0);
    area.toggleMarked(1);

    // Without a selection in the translation box the meaning labels are proposed.
    dialogs.termAnswers = {accept("", "甲乙")};
    const TranslationBoxText box{"我的 译文", 4, ""};
    Result<TermEditOutcome> defined = definePhrase(*bench, area, box, &document);
    ASSERT_TRUE(defined.isOk()) << defined.status().message();
    ASSERT_EQ(dialogs.termForms.size(), 1u);
    EXPECT_EQ(dialogs.termForms[0].caption, kDefinePhraseCaption);
    EXPECT_EQ(dialogs.termForms[0].key, "zqbb zqbc");
    EXPECT_EQ(dialogs.termForms[0].meanings, "甲乙");
    EXPECT_EQ(dialogs.termForms[0].focus, TermEntryField::Meanings);
    EXPECT_EQ(bench->engine.termBase.lookupKey("zqbb zqbc"), "甲乙^^^");
    EXPECT_EQ(bench->newUserWords.back(), "zqbb zqbc^甲乙^^^");

    ASSERT_TRUE(defined->rerun);
    EXPECT_EQ(defined->rerun->translation.translationBox, "我的 译文");
    EXPECT_EQ(defined->rerun->caret, 4u);
    EXPECT_EQ(areaWords(), (std::vector<std::string>{"zqbb zqbc", "zqbf", "."}));
    EXPECT_TRUE(area.markedTokens().empty());

    // With text selected in the translation box, that text is proposed; the key the dialog
    // returns is stored lower-cased at its own place.
    area.toggleMarked(1);
    area.toggleMarked(2);
    dialogs.termAnswers = {[](TermEntryForm& form) {
        form.key = " ZQBF . ";
        return true;
    }};
    Result<TermEditOutcome> selected = definePhrase(*bench, area, {"选中的词", 0, "选中"}, nullptr);
    ASSERT_TRUE(selected.isOk());
    EXPECT_EQ(dialogs.termForms.back().meanings, "选中");
    EXPECT_EQ(bench->engine.termBase.lookupKey("zqbf ."), "选中^^^");
    EXPECT_FALSE(selected->rerun);
    EXPECT_TRUE(isListOrdered(bench->engine.termBase.termKeys));
}

TEST_F(TermEditTest, AdjustingTheCurrentWordRewritesItsEntryAndItsToken) {
    addTerm("zzterm", "术语|名词^旧联想^n^专用");
    RichText document = documentOf("zzterm zqbb.\r\n");
    translateFirst(document);
    area.setCurrentWord(0);
    dialogs.termAnswers = {accept("", "新 义｜术语", "联想")};
    Result<TermEditOutcome> adjusted = adjustCurrentWord(*bench, area);
    ASSERT_TRUE(adjusted.isOk());
    const TermEntryForm& shown = dialogs.termForms.back();
    EXPECT_EQ(shown.caption, kAdjustMeaningsCaption);
    EXPECT_FALSE(shown.keyEditable);
    EXPECT_EQ(shown.meanings, "术语|名词");
    EXPECT_EQ(shown.association, "旧联想");
    EXPECT_EQ(shown.attribute, "专用");

    // Stored as typed; the token reads full-width bars as "|".
    EXPECT_EQ(bench->engine.termBase.lookupKey("zzterm"), "新 义｜术语^联想^^专用");
    EXPECT_EQ(bench->engine.workSent.segTrans[1], "新 义|术语");
    EXPECT_EQ(bench->engine.workSent.segAssoc[1], "联想");
    EXPECT_EQ(area.token(0).meaning, "新 义");
    // Replayed after an abnormal end, the two lines give this entry, not a merge with the old.
    EXPECT_EQ(bench->newUserWords, (LineList{"dddit zzterm", "zzterm^新 义｜术语^联想^^专用"}));
    addTerm("zzterm", "术语|名词^旧联想^n^专用");
    for (const std::string& line : bench->newUserWords) importTermLine(bench->engine, bench->analysisOptions(), line);
    EXPECT_EQ(bench->engine.termBase.lookupKey("zzterm"), "新义｜术语^联想^^专用");

    // A word the term base lacks is created as an added term would be.
    area.setCurrentWord(1);
    dialogs.termAnswers = {accept("", "乙 丙")};
    ASSERT_TRUE(adjustCurrentWord(*bench, area).isOk());
    EXPECT_EQ(dialogs.termForms.back().key, "zqbb");
    EXPECT_EQ(bench->engine.termBase.lookupKey("zqbb"), "乙丙^^^");
    EXPECT_EQ(bench->newUserWords.back(), "zqbb^乙丙^^^");
    EXPECT_EQ(area.token(1).meaning, "乙丙");

    // Cancelled: nothing changes.
    const LineList journal = bench->newUserWords;
    ASSERT_TRUE(adjustCurrentWord(*bench, area).isOk());
    EXPECT_EQ(bench->engine.termBase.lookupKey("zqbb"), "乙丙^^^");
    EXPECT_EQ(bench->newUserWords, journal);
}

TEST_F(TermEditTest, DeletingTheCurrentWordRemembersItEvenWhenTheTermBaseLacksIt) {
    addTerm("zqbb", "甲^^^");
    RichText document = documentOf("zqbb zqbc.\r\n");
    translateFirst(document);
    shareChanges();

    area.setCurrentWord(1);  // zqbc: in no dictionary
    dialogs.answers = {false, true};
    EXPECT_FALSE(deleteCurrentWord(*bench, area, {}, document).changed);
    EXPECT_FALSE(isDeleted(*bench, "zqbc"));
    TermEditOutcome absent = deleteCurrentWord(*bench, area, {}, document);
    EXPECT_EQ(dialogs.questions.back(), kConfirmDeleteWord);
    EXPECT_TRUE(isDeleted(*bench, "zqbc"));
    EXPECT_FALSE(absent.rerun);
    EXPECT_TRUE(bench->newUserWords.empty());

    area.setCurrentWord(0);
    dialogs.answers = {true};
    TermEditOutcome removed = deleteCurrentWord(*bench, area, {"译文", 2, ""}, document);
    EXPECT_FALSE(bench->engine.termBase.find("zqbb").found);
    EXPECT_TRUE(isDeleted(*bench, "zqbb"));
    EXPECT_EQ(bench->newUserWords, (LineList{"dddit zqbb"}));
    EXPECT_EQ(bench->toBeSent, (LineList{"A^dddit zqbb"}));
    ASSERT_TRUE(removed.rerun);
    EXPECT_EQ(removed.rerun->translation.sentence, "zqbb zqbc.");
    EXPECT_EQ(removed.rerun->translation.translationBox, "译文");
}

TEST_F(TermEditTest, ASentenceTranslatedBeforeIsTakenAgainFromItsSource) {
    addTerm("zqbb", "甲^^^");
    RichText document = documentOf("{*>zqbb zqbc .<}100{>旧的译文<*}\r\n");
    document.setCaret(4);
    translation = translate(document);
    ASSERT_TRUE(bench->sentenceState.reEdit);
    area.build(bench->engine.workSent, translation.tokens, {});
    area.setCurrentWord(0);
    dialogs.answers = {true};
    TermEditOutcome removed = deleteCurrentWord(*bench, area, {"新的译文", 0, ""}, document);
    ASSERT_TRUE(removed.rerun);
    EXPECT_EQ(removed.rerun->translation.sentence, "zqbb zqbc .");
    EXPECT_EQ(removed.rerun->translation.translationBox, "新的译文");
}

TEST_F(TermEditTest, APhraseSplitLastsForItsSentenceOnly) {
    addTerm("zqbb zqbc", "甲乙^^^");
    RichText document = documentOf("zqbb zqbc zqbf.\r\nzqbg.\r\n");
    translateFirst(document);
    ASSERT_EQ(areaWords(), (std::vector<std::string>{"zqbb zqbc", "zqbf", "."}));

    // A one-word token is not split.
    area.setCurrentWord(1);
    addTerm("zqbf", "丙^^^");
    EXPECT_FALSE(splitCurrentPhrase(*bench, area, {}, document).changed);
    EXPECT_TRUE(bench->engine.termBase.find("zqbf").found);

    area.setCurrentWord(0);
    TermEditOutcome split = splitCurrentPhrase(*bench, area, {"我的译文", 3, ""}, document);
    ASSERT_TRUE(split.rerun);
    EXPECT_EQ(split.rerun->translation.translationBox, "我的译文");
    EXPECT_EQ(areaWords(), (std::vector<std::string>{"zqbb", "zqbc", "zqbf", "."}));
    EXPECT_EQ(bench->sentenceState.PendingRestore, (LineList{"zqbb zqbc^甲乙^^^"}));
    EXPECT_TRUE(isDeleted(*bench, "zqbb zqbc"));
    EXPECT_TRUE(bench->newUserWords.empty());

    // The next sentence puts the phrase back.
    document.setCaret(document.find("zqbg", 0));
    ASSERT_EQ(translate(document).outcome, SentenceOutcome::Translated);
    EXPECT_EQ(bench->engine.termBase.lookupKey("zqbb zqbc"), "甲乙^^^");
    EXPECT_FALSE(isDeleted(*bench, "zqbb zqbc"));
}

TEST_F(TermEditTest, AShutdownDuringASplitKeepsThePhrase) {
    // A long entry (many meanings) survives the split whole.
    std::string meanings = "甲乙";
    while (meanings.size() < 1500) meanings += "|甲乙";
    addTerm("zqbb zqbc", meanings + "^^n^");
    RichText document = documentOf("zqbb zqbc zqbf.\r\n");
    translateFirst(document);
    area.setCurrentWord(0);
    ASSERT_TRUE(splitCurrentPhrase(*bench, area, {}, document).changed);
    ASSERT_TRUE(bench->shutdown().isOk());
    EXPECT_EQ(bench->engine.termBase.lookupKey("zqbb zqbc"), meanings + "^^n^");
    EXPECT_NE(home.read("userdata/MyDictEC.01").find("zqbb zqbc\r\n"), std::string::npos);
    EXPECT_EQ(home.read("userdata/DeletedWords.ini").find("zqbb zqbc"), std::string::npos);
}

TEST_F(TermEditTest, DeletingByNameAsksForTheKeyAndSaysWhenItIsMissing) {
    addTerm("zqbb zqbc.", "甲^^^");
    dialogs.inputs = {std::string("zqbx"), std::string(" ZQBB  zqbc . "), std::nullopt};
    ASSERT_TRUE(deleteTermByName(*bench).isOk());
    EXPECT_EQ(dialogs.inputPrompts.back(), std::string(kDeleteTermCaption) + "|" + kDeleteTermPrompt + "|");
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{kNoSuchTerm});
    EXPECT_FALSE(isDeleted(*bench, "zqbx"));

    Result<TermEditOutcome> deleted = deleteTermByName(*bench);
    ASSERT_TRUE(deleted.isOk());
    EXPECT_TRUE(deleted->changed);
    EXPECT_FALSE(bench->engine.termBase.find("zqbb zqbc.").found);
    EXPECT_EQ(bench->newUserWords, (LineList{"dddit zqbb zqbc."}));
    EXPECT_TRUE(isDeleted(*bench, "zqbb zqbc."));

    ASSERT_TRUE(deleteTermByName(*bench).isOk());  // cancelled
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(TermEditTest, ObserversHearEveryChangeOfTheTermBase) {
    struct Counter : WorkbenchObserver {
        int changes = 0;
        void termBaseChanged() override { ++changes; }
    } counter;
    bench->addObserver(counter);
    addTerm("zqbb zqbc", "甲乙^^^");
    RichText document = documentOf("zqbb zqbc zqbf.\r\n");
    translateFirst(document);
    area.setCurrentWord(0);
    dialogs.termAnswers = {accept("zqbx", "甲")};
    ASSERT_TRUE(addNewTerm(*bench).isOk());
    EXPECT_EQ(counter.changes, 1);
    ASSERT_TRUE(splitCurrentPhrase(*bench, area, {}, document).changed);
    EXPECT_EQ(counter.changes, 2);
    bench->removeObserver(counter);
}

TEST(RerunSelectionTest, AnExistingTranslationGivesWayToItsSource) {
    RichText document;
    document.append("{*>zqbb zqbc .<}100{>旧的译文<*}\r\n", document.defaultFormat());
    const std::size_t target = document.find("旧", 0);
    document.select(target, 8);
    reselectSentenceForRerun(document);
    EXPECT_EQ(document.selStart(), target - 11);
    EXPECT_EQ(document.selLength(), 0u);

    document.select(3, 4);
    reselectSentenceForRerun(document);
    EXPECT_EQ(document.selStart(), 3u);
    EXPECT_EQ(document.selLength(), 4u);
}

}  // namespace
}  // namespace tavricat
