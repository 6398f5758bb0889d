// Verifying the library: what is listed under a filter, corrections stored into the lines and
// the index, replacements in the listed translations, and deletions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine.h"
#include "memory/fuzzy_search.h"
#include "memory/library_verification.h"
#include "memory/sentence_library.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

class LibraryVerificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Without any term the tokeniser gives no segments.
        SortedFind at = engine.termBase.find("have");
        engine.termBase.insertAt(at.index, "have", "有");
        for (const char* pair : {"I have a book.^我有一本书。", "They have time.^他们有时间。", "Go home.^回家。",
                                 "Books are good.^书是好的。"}) {
            ASSERT_TRUE(lib.addAsent(engine, ec, pair).isOk()) << pair;
        }
    }
    // The rate of the best example for `sentence` (1 = 100 %) and its index; -1 when none.
    std::pair<double, long> best(const char* sentence) {
        std::string text = sentence, spare;
        normSent(text, spare, engine, ec);
        FuzzySearch search;
        rankSimilarExamples(lib, engine.refSent, search);
        if (search.CandidateList.empty()) return {0.0, -1};
        return {search.CandidateList.back().rate, static_cast<long>(*search.bestExample())};
    }

    Engine engine;
    AnalysisOptions ec{Direction::EC, true, true};
    SentenceLibrary lib;
};

TEST_F(LibraryVerificationTest, FiltersSearchTheWholeLineUnderAndOr) {
    struct Case {
        const char* source;
        const char* translation;
        bool either;
        std::vector<std::size_t> listed;
    };
    const Case cases[] = {
        {"", "", false, {0, 1, 2, 3}},
        {"have", "", false, {0, 1}},
        {"HAVE", "", false, {0, 1}},             // put in lower case first
        {"book", "书", false, {0, 3}},           // "books" holds "book"
        {"have", "书", false, {0}},
        {"have", "书", true, {0, 1, 3}},
        {"have", "", true, {0, 1, 2, 3}},        // an empty text on either side lists all
        {"nothing", "无", true, {}},
        {"回家", "", false, {2}},                // the source text is searched in the translation too
        {"03 go", "", false, {2}},               // and in the count
    };
    for (const Case& c : cases) {
        EXPECT_EQ(listExamplesToVerify(lib, {c.source, c.translation, c.either}), c.listed)
            << c.source << " / " << c.translation << (c.either ? " or" : " and");
    }
    ASSERT_TRUE(lib.deleteSample(1).isOk());
    EXPECT_EQ(listExamplesToVerify(lib, {}), (std::vector<std::size_t>{0, 2, 3}));  // tombstones never
}

TEST_F(LibraryVerificationTest, FindsNeverMatchATrailByte) {
    // "丁" is 0xB6 0xA1, "@" can be the trail byte of "癅" (0xB0 0x40).
    const std::string text = "\xB0\x40" "a@b";
    EXPECT_EQ(findWholeChars(text, "@"), 3u);
    EXPECT_EQ(replaceWholeChars(text, "@", "#"), "\xB0\x40" "a#b");
    EXPECT_EQ(replaceWholeChars("aXaXa", "a", "bb"), "bbXbbXbb");
    EXPECT_EQ(findWholeChars("abc", ""), std::string_view::npos);
}

TEST_F(LibraryVerificationTest, AnEditedSourceIsFoundByItsNewWordingOnly) {
    ASSERT_DOUBLE_EQ(best("They have time.").first, 1.0);
    Result<ExampleChange> stored =
        storeCorrectedExample(lib, engine, ec, 1, "they have\r\n money . ", "他们有钱。");
    ASSERT_TRUE(stored.isOk()) << stored.status().message();
    EXPECT_EQ(*stored, ExampleChange::SourceReindexed);
    EXPECT_EQ(lib.libSentences[1], "04 they have money . ^他们有钱。");

    const auto found = best("They have money.");
    EXPECT_DOUBLE_EQ(found.first, 1.0);
    EXPECT_EQ(found.second, 1);
    EXPECT_LT(best("They have time.").first, 1.0);  // still similar, no longer the same
    // "time" lost its only example; "money" names example 1 alone.
    EXPECT_EQ(lib.libPostings[findSorted(lib.libWords, "time").index], "");
    EXPECT_EQ(lib.libPostings[findSorted(lib.libWords, "money").index], "00001");
    // Re-indexed at its place: "have" stays newest first.
    EXPECT_EQ(lib.libPostings[findSorted(lib.libWords, "have").index], "0000100000");
    EXPECT_EQ(lib.newestWithSource("they have money ."), 1u);
    EXPECT_FALSE(lib.newestWithSource("they have time ."));
    EXPECT_EQ(indexDamageOf(lib.libSentences, lib.libWords, lib.libPostings), "");
}

TEST_F(LibraryVerificationTest, UnchangedWordsKeepTheKeyAndRefusalsChangeNothing) {
    EXPECT_EQ(*storeCorrectedExample(lib, engine, ec, 2, "go  home .", "回家。"), ExampleChange::None);
    EXPECT_EQ(*storeCorrectedExample(lib, engine, ec, 2, "go home . ", "回\r\n家吧。"), ExampleChange::Translation);
    EXPECT_EQ(lib.libSentences[2], "03 go home . ^回家吧。");

    const LineList words = lib.libWords, postings = lib.libPostings, edited = lib.libSentences;
    for (const char* source : {"go ^ home", "", "   "}) {
        EXPECT_FALSE(storeCorrectedExample(lib, engine, ec, 2, source, "x").isOk()) << source;
    }
    EXPECT_FALSE(storeCorrectedExample(lib, engine, ec, 9, "books", "书").isOk());
    EXPECT_EQ(lib.libSentences, edited);
    EXPECT_EQ(lib.libWords, words);
    EXPECT_EQ(lib.libPostings, postings);
    ASSERT_TRUE(lib.deleteSample(3).isOk());
    EXPECT_FALSE(storeCorrectedExample(lib, engine, ec, 3, "books", "书").isOk());  // deleted
    EXPECT_EQ(lib.libSentences[3], "04 ^");
}

TEST_F(LibraryVerificationTest, ReplacementsTouchOnlyListedTranslations) {
    LibraryVerification verification(lib);
    verification.list({"", "有", false});
    ASSERT_EQ(verification.listed(), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(verification.replaceInListed("有", "有"), std::vector<std::size_t>{});
    EXPECT_EQ(verification.replaceInListed("", "x"), std::vector<std::size_t>{});
    EXPECT_EQ(verification.replaceInListed("没有的词", "x"), std::vector<std::size_t>{});
    // "i have" in the key is left alone; only the part after "^" changes.
    lib.replaceTranslation(0, "我有 have 一本书。");
    EXPECT_EQ(verification.replaceInListed("have", "拥有"), std::vector<std::size_t>{0});
    EXPECT_EQ(lib.libSentences[0], "05 i have a book . ^我有 拥有 一本书。");
    EXPECT_EQ(verification.replaceInListed("有", "具有"), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(lib.libSentences[1], "04 they have time . ^他们具有时间。");
    EXPECT_EQ(lib.libSentences[3], "04 books are good . ^书是好的。");  // not listed
}

TEST_F(LibraryVerificationTest, DeletingWalksThePositionBackAndTheTombstoneIsSaved) {
    LibraryVerification verification(lib);
    verification.list({});
    ASSERT_TRUE(verification.moveTo(3));
    EXPECT_FALSE(verification.moveTo(4));
    EXPECT_TRUE(verification.atLast());
    EXPECT_EQ(verification.deleteCurrent(), 3u);
    EXPECT_EQ(verification.position(), 2u);  // past the end: the last
    EXPECT_EQ(verification.currentExample(), 2u);
    ASSERT_TRUE(verification.moveTo(0));
    EXPECT_EQ(verification.deleteCurrent(), 0u);
    EXPECT_EQ(verification.position(), 0u);
    EXPECT_EQ(verification.currentExample(), 1u);
    EXPECT_EQ(best("Books are good.").second, -1);  // found by nothing
    EXPECT_EQ(best("I have a book.").second, -1);
    EXPECT_EQ(best("They have time.").second, 1);

    testing::TempFolder folder;
    DiskFileSystem fs;
    testing::ScriptedDialogs dialogs;
    lib.name = "Verified";
    ASSERT_TRUE(lib.saveFiles(fs, dialogs, folder.path()).isOk());
    SentenceLibrary reloaded;
    ASSERT_TRUE(reloaded.load(fs, folder.path(), "Verified").isOk());
    EXPECT_EQ(reloaded.libSentences[0], "05 ^");
    EXPECT_EQ(reloaded.libSentences[3], "04 ^");
    EXPECT_EQ(reloaded.indexRepair(), "");
    EXPECT_EQ(listExamplesToVerify(reloaded, {}), (std::vector<std::size_t>{1, 2}));

    verification.list({"nothing", "", false});
    EXPECT_EQ(verification.count(), 0u);
    EXPECT_FALSE(verification.deleteCurrent());
    EXPECT_EQ(*verification.storeCurrent(engine, ec, "a", "b"), ExampleChange::None);
}

TEST_F(LibraryVerificationTest, TypedPositionsAreOneBasedWithinTheCount) {
    LibraryVerification verification(lib);
    verification.list({});
    EXPECT_EQ(verification.parsePosition("4"), 3u);  // the last listed
    EXPECT_EQ(verification.parsePosition(" 1 "), 0u);
    for (const char* typed : {"0", "5", "", "x", "-1", "2a", "99999999999999"})
        EXPECT_FALSE(verification.parsePosition(typed)) << typed;
}

}  // namespace
}  // namespace tavricat
