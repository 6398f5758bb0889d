// The example-sentence library: the line formats an add writes, the index it keeps, deletes,
// and the files with their safe save.

#include <gtest/gtest.h>

#include <string>

#include "base/list_order.h"
#include "engine/engine.h"
#include "memory/sentence_library.h"
#include "support/analysis_builder.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::analysisOf;
using testing::FaultyFileSystem;
using testing::FsOp;
using testing::ScriptedDialogs;
using testing::TempFolder;

// Without any term the tokeniser gives no segments.
Engine& withATerm(Engine& engine) {
    SortedFind at = engine.termBase.find("have");
    engine.termBase.insertAt(at.index, "have", "有");
    return engine;
}

class SentenceLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { withATerm(engine); }
    Engine engine;
    AnalysisOptions ec{Direction::EC, true, true};
    SentenceLibrary lib;
};

TEST_F(SentenceLibraryTest, AnAddWritesTheExampleWordAndPostingLines) {
    struct Case {
        const char* pair;
        const char* line;
        LineList words, postings;
    };
    const Case cases[] = {
        {"I have it^我有", "03 i have it ^我有", {"have", "i", "it"}, {"00000", "00000", "00000"}},
        {"I have it", "03 i have it ^", {"have", "i", "it"}, {"00000", "00000", "00000"}},
        {"Go.^去。^再去", "02 go . ^去。^再去", {".", "go"}, {"00000", "00000"}},
        {"it is it^它\r\n是", "03 it is it ^它  是", {"is", "it"}, {"00000", "0000000000"}},
    };
    for (const Case& c : cases) {
        SentenceLibrary fresh;
        Result<std::size_t> added = fresh.addAsent(engine, ec, c.pair);
        ASSERT_TRUE(added.isOk()) << c.pair << ": " << added.status().message();
        EXPECT_EQ(*added, 0u);
        EXPECT_EQ(fresh.libSentences, LineList{c.line}) << c.pair;
        EXPECT_EQ(fresh.libWords, c.words) << c.pair;
        EXPECT_EQ(fresh.libPostings, c.postings) << c.pair;
    }
}

TEST_F(SentenceLibraryTest, KeysAreTrimmedAndTheCountIsTwoHexDigits) {
    std::vector<std::string> many(26, "w");
    many[0] = "  look after ";
    ASSERT_TRUE(lib.addAnalysed(analysisOf(many), "照顾").isOk());
    EXPECT_EQ(lib.libSentences[0].substr(0, 17), "1A look after w w");
    EXPECT_EQ(lib.libWords, (LineList{"look after", "w"}));
    EXPECT_EQ(lib.libPostings[1].size(), 25u * 5);
}

TEST_F(SentenceLibraryTest, ImportedLibraryLinesAreAnalysedAgain) {
    Result<std::size_t> imported = lib.importLibraryLine(engine, ec, "03 I  have it ^我 有 它");
    ASSERT_TRUE(imported.isOk()) << imported.status().message();
    EXPECT_EQ(lib.libSentences, LineList{"03 i have it ^我有它"});
    EXPECT_EQ(lib.libWords, (LineList{"have", "i", "it"}));
    for (const char* notALine : {"03 a^", "03 i have it", ""}) {
        EXPECT_FALSE(lib.importLibraryLine(engine, ec, notALine).isOk()) << notALine;
    }
    EXPECT_EQ(lib.exampleCount(), 1u);
}

TEST_F(SentenceLibraryTest, PostingsAreNewestFirstAndStopForGood) {
    ASSERT_TRUE(lib.addAsent(engine, ec, "I have it^我有").isOk());
    ASSERT_TRUE(lib.addAsent(engine, ec, "You have^你有").isOk());
    EXPECT_EQ(lib.libWords, (LineList{"have", "i", "it", "you"}));
    EXPECT_EQ(lib.libPostings, (LineList{"0000100000", "00000", "00000", "00001"}));

    // 700 postings are 3500 characters and stay; the 701st turns the list into the marker.
    lib.libPostings[0] = std::string(3495, '0');
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"have"}), "x").isOk());
    EXPECT_EQ(lib.libPostings[0], "00002" + std::string(3495, '0'));
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"have"}), "x").isOk());
    EXPECT_EQ(lib.libPostings[0], "o");
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"have", "it"}), "x").isOk());
    EXPECT_EQ(lib.libPostings[0], "o");
    EXPECT_EQ(lib.libPostings[2], "0000400000");
}

// A run of adds puts new words at the end and sorts them back when it closes; the words are
// found in between, equal spellings in list order are one word, and a save in the middle of
// the run writes the lists in list order.
TEST_F(SentenceLibraryTest, BulkAddsAppendNewWordsAndLeaveTheListsSorted) {
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"m", "c"}), "x").isOk());
    TempFolder folder;
    DiskFileSystem disk;
    ScriptedDialogs dialogs;
    lib.name = "Bulk";
    {
        const SentenceLibrary::BulkAdds bulk(lib);
        ASSERT_TRUE(lib.addAnalysed(analysisOf({"z", "a", "m"}), "x").isOk());
        ASSERT_TRUE(lib.addAnalysed(analysisOf({"A", "b", "Z"}), "x").isOk());
        EXPECT_EQ(lib.libWords, (LineList{"c", "m", "z", "a", "b"}));
        EXPECT_EQ(lib.libPostings, (LineList{"00000", "0000100000", "0000200001", "0000200001", "00002"}));
        for (const char* word : {"a", "B", "c", "m", "Z"}) {
            const std::optional<std::size_t> at = lib.wordIndexOf(word);
            ASSERT_TRUE(at.has_value()) << word;
            EXPECT_EQ(compareListOrder(lib.libWords[*at], word), 0) << word;
        }
        EXPECT_FALSE(lib.wordIndexOf("y").has_value());
        ASSERT_TRUE(lib.saveFiles(disk, dialogs, folder.path()).isOk());
    }
    EXPECT_EQ(lib.libWords, (LineList{"a", "b", "c", "m", "z"}));
    EXPECT_EQ(lib.libPostings, (LineList{"0000200001", "00002", "00000", "0000100000", "0000200001"}));
    EXPECT_EQ(lib.wordIndexOf("M"), std::optional<std::size_t>(3));

    SentenceLibrary saved;
    ASSERT_TRUE(saved.load(disk, folder.path(), "Bulk").isOk());
    EXPECT_EQ(saved.libWords, lib.libWords);
    EXPECT_EQ(saved.libPostings, lib.libPostings);
    EXPECT_EQ(saved.indexRepair(), "");

    // Outside a run a new word takes its place at once, and the table follows the moved lines.
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"d", "z"}), "x").isOk());
    EXPECT_EQ(lib.libWords, (LineList{"a", "b", "c", "d", "m", "z"}));
    EXPECT_EQ(lib.wordIndexOf("z"), std::optional<std::size_t>(5));
    EXPECT_EQ(lib.libPostings[5], "000030000200001");
}

TEST_F(SentenceLibraryTest, DeleteLeavesATombstoneAndClearsEveryPosting) {
    ASSERT_TRUE(lib.addAsent(engine, ec, "I have it^我有").isOk());
    ASSERT_TRUE(lib.addAsent(engine, ec, "I have^我有").isOk());
    // A posting the key no longer yields (the term base changed since) goes too.
    lib.libWords.insert(lib.libWords.begin(), "had");
    lib.libPostings.insert(lib.libPostings.begin(), "0000100000");

    ASSERT_TRUE(lib.deleteSample(0).isOk());
    EXPECT_EQ(lib.libSentences, (LineList{"03 ^", "02 i have ^我有"}));
    EXPECT_EQ(lib.libWords, (LineList{"had", "have", "i", "it"}));
    EXPECT_EQ(lib.libPostings, (LineList{"00001", "00001", "00001", ""}));
    EXPECT_EQ(lib.tombstones(), 1u);
    EXPECT_EQ(lib.exampleCount(), 2u);

    EXPECT_TRUE(lib.replaceTranslation(0, "新"));
    EXPECT_EQ(lib.libSentences[0], "03 ^新");
    EXPECT_TRUE(lib.replaceTranslation(1, "我有了"));
    EXPECT_EQ(lib.libSentences[1], "02 i have ^我有了");
    EXPECT_FALSE(lib.replaceTranslation(2, "x"));
    EXPECT_EQ(lib.deleteSample(2).kind(), ErrorKind::BadInput);
}

TEST_F(SentenceLibraryTest, ACaretTrailByteIsNoSeparator) {
    // 0x815E is one double-byte character whose second byte is "^".
    const std::string han = "\x81\x5E";
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"a" + han}), "t").isOk());
    EXPECT_EQ(findKeySeparator(lib.libSentences[0]), 7u);
    ASSERT_TRUE(lib.replaceTranslation(0, "u"));
    EXPECT_EQ(lib.libSentences[0], "01 a" + han + " ^u");
}

TEST_F(SentenceLibraryTest, TheTranslationPartIsCutWithoutSplittingACharacter) {
    // "^" and 1499 double-byte characters fit; the 1500th would end beyond 3000 bytes.
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"x"}), std::string(4000, '\xB0')).isOk());
    EXPECT_EQ(lib.libSentences[0], "01 x ^" + std::string(2998, '\xB0'));
}

TEST_F(SentenceLibraryTest, RefusalsChangeNothing) {
    ASSERT_TRUE(lib.addAsent(engine, ec, "I have it^我有").isOk());
    const SentenceLibrary before = lib;
    auto unchanged = [&] {
        EXPECT_EQ(lib.libSentences, before.libSentences);
        EXPECT_EQ(lib.libWords, before.libWords);
        EXPECT_EQ(lib.libPostings, before.libPostings);
    };

    Result<std::size_t> r = lib.addAnalysed(analysisOf(std::vector<std::string>(256, "w")), "x");
    EXPECT_EQ(r.status().message(), kTooManySegments);
    unchanged();
    EXPECT_TRUE(lib.addAnalysed(analysisOf(std::vector<std::string>(255, "w")), "x").isOk());
    lib = before;

    r = lib.addAnalysed(analysisOf({"ok", "a^b"}), "x");
    EXPECT_EQ(r.status().message(), kCaretInSegment);
    unchanged();

    r = lib.addAnalysed(analysisOf({}), "x");
    EXPECT_EQ(r.status().message(), kNoSegmentsToStore);
    r = lib.addAsent(engine, AnalysisOptions{Direction::EC, true, false}, "I have it^我有");
    EXPECT_EQ(r.status().kind(), ErrorKind::Refused);
    unchanged();

    lib.libSentences.resize(kMaxExamples - 1);
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"it"}), "x").isOk());
    EXPECT_EQ(lib.libPostings[2], "FFFFF00000");
    r = lib.addAnalysed(analysisOf({"it"}), "x");
    EXPECT_EQ(r.status().message(), kLibraryFull);
    EXPECT_EQ(lib.exampleCount(), kMaxExamples);
    EXPECT_EQ(lib.libPostings[2], "FFFFF00000");
}

// The examples with a given source are found through their hash, kept in step by adds,
// deletes and loads.
TEST(SentenceLibrarySourceTest, ExamplesWithTheSameWordsAreFoundWhateverTheirTokens) {
    SentenceLibrary lib;
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"replace", "the", "filter", "cartridge", "."}), "a").isOk());
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"replace", "the", "cart", "."}), "b").isOk());
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"replace", "the", "filter cartridge", "."}), "c").isOk());
    EXPECT_EQ(lib.examplesWithSource("replace the filter cartridge ."), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(lib.newestWithSource(" replace  the filter cartridge . "), 2u);
    EXPECT_EQ(lib.newestWithSource("replace the cart ."), 1u);
    EXPECT_FALSE(lib.newestWithSource("replace the filter"));
    EXPECT_FALSE(lib.newestWithSource("replace the filter cartridge . now"));
    EXPECT_FALSE(lib.newestWithSource("  "));

    ASSERT_TRUE(lib.deleteSample(2).isOk());
    EXPECT_EQ(lib.newestWithSource("replace the filter cartridge ."), 0u);
    ASSERT_TRUE(lib.deleteSample(0).isOk());
    EXPECT_FALSE(lib.newestWithSource("replace the filter cartridge ."));

    // Many examples: the table grows and every one is still found, and only it.
    for (int k = 0; k < 3000; ++k) ASSERT_TRUE(lib.addAnalysed(analysisOf({"w" + std::to_string(k), "x"}), "t").isOk());
    for (int k = 0; k < 3000; k += 7)
        EXPECT_EQ(lib.examplesWithSource("w" + std::to_string(k) + " x"), std::vector<std::size_t>{3u + k}) << k;

    // Lines changed from outside are read one by one.
    lib.libSentences.push_back("02 you see ^你看");
    EXPECT_EQ(lib.newestWithSource("you see"), lib.exampleCount() - 1);
    lib.clear();
    EXPECT_FALSE(lib.newestWithSource("replace the cart ."));
}

// A large library builds its index of sources at load over all the cores, in the order of
// the home slots; adds and deletes afterwards keep it in step.
TEST(SentenceLibrarySourceTest, ALargeLoadedLibraryFindsEverySource) {
    const int count = 140000;  // enough for several slices and a table of 2^19 slots
    std::string rf0;
    rf0.reserve(std::size_t(count) * 24);
    for (int k = 0; k < count; ++k) rf0 += "02 w" + std::to_string(k % 100000) + " x ^t\r\n";
    TempFolder dir;
    dir.write("big.rf0", rf0);
    dir.write("big.rf1", "x\r\n");
    dir.write("big.rf2", std::string(kStopMarker) + "\r\n");
    DiskFileSystem fs;
    SentenceLibrary lib;
    ASSERT_TRUE(lib.load(fs, dir.path(), "big").isOk());
    ASSERT_EQ(lib.indexRepair(), "");
    for (int k = 0; k < 100000; k += 97) {
        std::vector<std::size_t> expected{std::size_t(k)};
        if (k + 100000 < count) expected.push_back(std::size_t(k) + 100000);
        ASSERT_EQ(lib.examplesWithSource("w" + std::to_string(k) + " x"), expected) << k;
    }
    EXPECT_TRUE(lib.examplesWithSource("w100000 x").empty());

    ASSERT_TRUE(lib.deleteSample(5).isOk());
    EXPECT_EQ(lib.examplesWithSource("w5 x"), std::vector<std::size_t>{100005});
    ASSERT_TRUE(lib.addAnalysed(analysisOf({"w5", "x"}), "u").isOk());
    EXPECT_EQ(lib.examplesWithSource("w5 x"), (std::vector<std::size_t>{100005, std::size_t(count)}));
}

// The lists of the capped words' examples are gathered over the cores in slices and joined
// in order: each holds exactly the examples whose source holds the word, oldest first.
TEST(SentenceLibrarySourceTest, CappedWordListsOfALargeLibraryAreWholeAndInOrder) {
    const int count = 30000;
    std::string rf0;
    ExampleList withX, withXY;
    for (int k = 0; k < count; ++k) {
        const std::string w = "w" + std::to_string(k);
        if (k % 3 == 0) rf0 += "02 " + w + " x ^t\r\n";
        else if (k % 3 == 1) rf0 += "03 x y " + w + " ^t\r\n";
        else rf0 += "02 " + w + " z ^t\r\n";
        if (k % 3 != 2) withX.push_back(static_cast<std::uint32_t>(k));
        if (k % 3 == 1) withXY.push_back(static_cast<std::uint32_t>(k));
    }
    TempFolder dir;
    dir.write("big.rf0", rf0);
    dir.write("big.rf1", "x\r\nx y\r\n");
    dir.write("big.rf2", std::string(kStopMarker) + "\r\n" + kStopMarker + "\r\n");
    DiskFileSystem fs;
    SentenceLibrary lib;
    ASSERT_TRUE(lib.load(fs, dir.path(), "big").isOk());
    ASSERT_EQ(lib.indexRepair(), "");
    const CappedExamples& capped = lib.cappedExamples();
    ASSERT_NE(capped.examplesOf("x"), nullptr);
    ASSERT_NE(capped.examplesOf("x y"), nullptr);
    EXPECT_EQ(*capped.examplesOf("x"), withX);
    EXPECT_EQ(*capped.examplesOf("x y"), withXY);
    EXPECT_EQ(capped.examplesOf("z"), nullptr);
}

class SentenceLibraryFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("s.rf0", "03 i have it ^我有\r\n02 you have ^你有\r\n");
        dir.write("s.rf1", "have\r\ni\r\nit\r\nyou\r\n");
        dir.write("s.rf2", "0000100000\r\n00000\r\n00000\r\n00001\r\n");
        dir.write("s.irf", "标题\r\n作者\r\ns\r\n说明\r\n");
        ASSERT_TRUE(lib.load(fs, dir.path(), "s").isOk());
    }
    bool noBaks() const { return !dir.exists("s.rf0bak") && !dir.exists("s.rf1bak") && !dir.exists("s.rf2bak"); }
    TempFolder dir;
    FaultyFileSystem fs;
    ScriptedDialogs dialogs;
    SentenceLibrary lib;
};

TEST_F(SentenceLibraryFilesTest, SaveWritesTheListsBackByteForByte) {
    const std::string rf0 = dir.read("s.rf0"), rf1 = dir.read("s.rf1"), rf2 = dir.read("s.rf2");
    ASSERT_TRUE(lib.saveFiles(fs, dialogs, dir.path()).isOk());
    EXPECT_EQ(dir.read("s.rf0"), rf0);
    EXPECT_EQ(dir.read("s.rf1"), rf1);
    EXPECT_EQ(dir.read("s.rf2"), rf2);
    EXPECT_TRUE(noBaks());
    EXPECT_TRUE(dialogs.messages.empty());

    Engine engine;
    ASSERT_TRUE(lib.addAsent(withATerm(engine), AnalysisOptions{}, "It is^是").isOk());
    ASSERT_TRUE(lib.saveFiles(fs, dialogs, dir.path()).isOk());
    SentenceLibrary again;
    ASSERT_TRUE(again.load(fs, dir.path(), "s").isOk());
    EXPECT_EQ(again.libSentences, lib.libSentences);
    EXPECT_EQ(again.libWords, lib.libWords);
    EXPECT_EQ(again.libPostings, lib.libPostings);
    EXPECT_EQ(dir.read("s.rf2"), "0000100000\r\n00000\r\n00002\r\n0000200000\r\n00001\r\n");
}

TEST_F(SentenceLibraryFilesTest, ALoadedLibraryFindsItsExamplesBySource) {
    EXPECT_EQ(lib.newestWithSource("you have"), 1u);
    EXPECT_EQ(lib.newestWithSource("i have it"), 0u);
    EXPECT_FALSE(lib.newestWithSource("i have"));
}

TEST_F(SentenceLibraryFilesTest, AnEmptyLibrarySavesEmptyFiles) {
    lib.clear();
    ASSERT_TRUE(lib.saveFiles(fs, dialogs, dir.path()).isOk());
    EXPECT_EQ(dir.read("s.rf0"), "");
    EXPECT_EQ(dir.read("s.rf1"), "");
    EXPECT_EQ(dir.read("s.rf2"), "");
}

TEST_F(SentenceLibraryFilesTest, AFailedCopyLeavesOnlyTheBakSet) {
    lib.libSentences.push_back("01 new ^新");
    fs.failOn(FsOp::Copy, "s.rf1");
    Status saved = lib.saveFiles(fs, dialogs, dir.path());
    EXPECT_EQ(saved.kind(), ErrorKind::Io);
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{kSentenceLibraryCopyFailed}));
    for (const char* gone : {"s.rf0", "s.rf1", "s.rf2", "s.irf"}) EXPECT_FALSE(dir.exists(gone)) << gone;
    EXPECT_EQ(dir.read("s.irfbak"), "标题\r\n作者\r\ns\r\n说明\r\n");
    EXPECT_EQ(dir.read("s.rf0bak"), "03 i have it ^我有\r\n02 you have ^你有\r\n01 new ^新\r\n");
    EXPECT_EQ(dir.read("s.rf1bak"), "have\r\ni\r\nit\r\nyou\r\n");
}

TEST_F(SentenceLibraryFilesTest, AFailedBakWriteKeepsTheRealFiles) {
    const std::string rf0 = dir.read("s.rf0");
    lib.libSentences.push_back("01 new ^新");
    fs.failOn(FsOp::Write, "s.rf0bak.tmp-save");
    EXPECT_EQ(lib.saveFiles(fs, dialogs, dir.path()).kind(), ErrorKind::Io);
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{kSentenceLibrarySaveFailed}));
    EXPECT_EQ(dir.read("s.rf0"), rf0);
    EXPECT_TRUE(dir.exists("s.irf"));
    EXPECT_FALSE(dir.exists("s.irfbak"));
}

TEST_F(SentenceLibraryFilesTest, AnUnsortedWordFileIsSortedWithItsPostings) {
    dir.write("u.rf0", "02 have it ^有它\r\n02 you have ^你有\r\n");
    dir.write("u.rf1", "you\r\nHave\r\n_x\r\nit\r\n");
    dir.write("u.rf2", "00001\r\n0000100000\r\no\r\n00000\r\n");
    SentenceLibrary loaded;
    ASSERT_TRUE(loaded.load(fs, dir.path(), "u").isOk());
    EXPECT_EQ(loaded.libWords, (LineList{"_x", "Have", "it", "you"}));
    EXPECT_EQ(loaded.libPostings, (LineList{"o", "0000100000", "00000", "00001"}));
    EXPECT_EQ(loaded.name, "u");
    EXPECT_EQ(loaded.indexRepair(), "");

    // A later add finds the words where the search expects them.
    ASSERT_TRUE(loaded.addAnalysed(analysisOf({"have"}), "有").isOk());
    EXPECT_EQ(loaded.libPostings[1], "000020000100000");
}

TEST_F(SentenceLibraryFilesTest, ADamagedIndexIsBuiltAgainFromTheExamples) {
    const LineList words = lib.libWords, postings = lib.libPostings;
    ASSERT_EQ(lib.indexRepair(), "");
    const std::string rf1 = dir.read("s.rf1"), rf2 = dir.read("s.rf2");
    const std::string noise = "\x9a\x01Zq\xff\r\n\x83\x42 7F\r\n\x00\x10garbage";
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {rf1.substr(0, 7), rf2},                     // .rf1 cut short
        {rf1, rf2.substr(0, 12)},                    // .rf2 cut short
        {"", ""},                                    // both emptied
        {noise, rf2},                                // .rf1 overwritten
        {rf1, noise + "\r\n1\r\n2\r\n"},             // .rf2 overwritten, line count kept
        {rf1, "0000100000\r\n00000\r\n00009\r\n00001\r\n"},  // an example that does not exist
        {rf1, "0000100000\r\n00000\r\n0000g\r\n00001\r\n"},  // not upper-case hex
        {rf1, "0000100000\r\n00000\r\n000\r\n00001\r\n"},    // a cut number
        {rf1, "000010000000000\r\n00000\r\n00000\r\n00001\r\n"},  // more than its segments
        {"have\r\nhave\r\nit\r\nyou\r\n", rf2},      // a word twice
    };
    for (const auto& [badWords, badPostings] : damaged) {
        dir.write("s.rf1", badWords);
        dir.write("s.rf2", badPostings);
        SentenceLibrary loaded;
        ASSERT_TRUE(loaded.load(fs, dir.path(), "s").isOk());
        EXPECT_NE(loaded.indexRepair(), "") << badWords << " / " << badPostings;
        EXPECT_EQ(loaded.libWords, words) << badWords << " / " << badPostings;
        EXPECT_EQ(loaded.libPostings, postings) << badWords << " / " << badPostings;
        EXPECT_EQ(loaded.exampleCount(), 2u);
    }
}

TEST(SentenceLibraryIndexTest, ARebuiltIndexMatchesTheOneTheAddsBuilt) {
    SentenceLibrary added;
    ASSERT_TRUE(added.addAnalysed(analysisOf({"in front of", "the", "house"}), "在房子前面").isOk());
    ASSERT_TRUE(added.addAnalysed(analysisOf({"the", "Cat", "the"}), "猫").isOk());
    ASSERT_TRUE(added.addAnalysed(analysisOf({"a", "cat"}), "一只猫").isOk());
    ASSERT_TRUE(added.deleteSample(2).isOk());
    for (int k = 0; k < 800; ++k)
        ASSERT_TRUE(added.addAnalysed(analysisOf({"common", "w" + std::to_string(k)}), "词").isOk());
    EXPECT_EQ(indexDamageOf(added.libSentences, added.libWords, added.libPostings), "");

    SentenceLibrary rebuilt;
    rebuilt.libSentences = added.libSentences;
    rebuilt.rebuildIndex([](std::string_view words) { return words == "in front of"; });
    // A word whose examples were all deleted ("a") indexes nothing and is not built again.
    LineList words, postings;
    for (std::size_t k = 0; k < added.libWords.size(); ++k) {
        if (added.libPostings[k].empty()) continue;
        words.push_back(added.libWords[k]);
        postings.push_back(added.libPostings[k]);
    }
    ASSERT_EQ(words.size() + 1, added.libWords.size());
    EXPECT_EQ(rebuilt.libWords, words);
    EXPECT_EQ(rebuilt.libPostings, postings);
}

// Replaced sources against a fresh build: the postings stay as a rebuild makes them (newest
// first) and the source table finds every example by its present source only, however its
// probe runs were cut by the replacements.
TEST(SentenceLibraryIndexTest, ReplacedSourcesLeaveTheIndexAsARebuildWouldMakeIt) {
    SentenceLibrary lib;
    const auto source = [](int k) {
        return std::vector<std::string>{"v" + std::to_string(k % 37), "u" + std::to_string(k % 11), "end"};
    };
    for (int k = 0; k < 600; ++k) ASSERT_TRUE(lib.addAnalysed(analysisOf(source(k)), "t").isOk());
    ASSERT_TRUE(lib.deleteSample(5).isOk());
    for (int k = 0; k < 600; k += 3) {
        const std::size_t example = static_cast<std::size_t>((k * 7) % 600);
        if (example == 5) continue;
        ASSERT_TRUE(lib.replaceExample(example, analysisOf(source(k + 1000)), "r").isOk()) << k;
    }
    EXPECT_FALSE(lib.replaceExample(5, analysisOf({"x"}), "r").isOk());  // deleted
    EXPECT_FALSE(lib.replaceExample(600, analysisOf({"x"}), "r").isOk());
    EXPECT_EQ(indexDamageOf(lib.libSentences, lib.libWords, lib.libPostings), "");

    SentenceLibrary rebuilt;
    rebuilt.libSentences = lib.libSentences;
    rebuilt.rebuildIndex({});
    LineList words, postings;
    for (std::size_t k = 0; k < lib.libWords.size(); ++k) {
        if (lib.libPostings[k].empty()) continue;
        words.push_back(lib.libWords[k]);
        postings.push_back(lib.libPostings[k]);
    }
    EXPECT_EQ(rebuilt.libWords, words);
    EXPECT_EQ(rebuilt.libPostings, postings);

    for (int k = 0; k < 2000; ++k) {
        std::string text;
        for (const std::string& word : source(k)) text += word + " ";
        std::vector<std::size_t> expected;
        for (std::size_t e = 0; e < lib.exampleCount(); ++e)
            if (sameWords(exampleSourceOf(lib.libSentences[e]), text)) expected.push_back(e);
        ASSERT_EQ(lib.examplesWithSource(text), expected) << text;
    }
}

TEST(SentenceLibraryIndexTest, KeysAreCutIntoTheirCountOfSegments) {
    auto known = [](std::string_view words) { return words == "in front of" || words == "front of"; };
    EXPECT_EQ(segmentKeysOf("03 in front of the house ^x", known),
              (std::vector<std::string>{"in front of", "the", "house"}));
    EXPECT_EQ(segmentKeysOf("03 i have it ^x", {}), (std::vector<std::string>{"i", "have", "it"}));
    // Without a known key the surplus words stay with the last segment.
    EXPECT_EQ(segmentKeysOf("02 look after it ^x", known), (std::vector<std::string>{"look", "after it"}));
    EXPECT_TRUE(segmentKeysOf("03 ^", known).empty());  // a deleted example
}

TEST_F(SentenceLibraryFilesTest, AMissingFileFailsAndKeepsTheLibrary) {
    dir.write("m.rf0", "");
    dir.write("m.rf1", "");
    EXPECT_FALSE(lib.load(fs, dir.path(), "m").isOk());
    EXPECT_EQ(lib.name, "s");
    EXPECT_EQ(lib.exampleCount(), 2u);
}

}  // namespace
}  // namespace tavricat
