// Segmentation and sentence analysis over small dictionaries, as sentence -> dump tables.

#include <gtest/gtest.h>

#include "engine/analyser.h"
#include "engine/dictionary_writer.h"
#include "engine/engine.h"
#include "engine/segmentation.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

void addTerm(Engine& engine, const std::string& key, const std::string& entry) {
    SortedFind found = engine.termBase.find(key);
    ASSERT_FALSE(found.found) << key;
    engine.termBase.insertAt(found.index, key, entry);
}

std::string dumpSegments(const Segmentation& s) {
    std::string out;
    for (std::size_t i = 0; i < s.keys.size(); ++i) out += "[" + s.keys[i] + "=" + s.entries[i] + "]";
    return out;
}

// "key|words|text" per segment of an analysis.
std::string dumpAnalysis(const stClass& a) {
    std::string out = std::to_string(a.wordCount) + "/" + std::to_string(a.segCount) + ":";
    for (int k = 1; k <= a.segCount; ++k) out += " [" + a.segKeys[k] + "|" + a.segWords[k] + "|" + a.segText[k] + "]";
    return out;
}

class AnalysisTest : public ::testing::Test {
protected:
    AnalysisOptions ec{Direction::EC, true, true};
    AnalysisOptions ce{Direction::CE, true, true};
    Engine engine;
};

TEST_F(AnalysisTest, LongestKeyAtAWordBoundary) {
    addTerm(engine, "look", "看");
    addTerm(engine, "look after", "照顾");
    addTerm(engine, "look after you", "照顾你");
    EXPECT_EQ(dumpSegments(segmentText("look after him", DictSource::TermBase, engine)),
              "[look after=照顾][him=him]");
    EXPECT_EQ(dumpSegments(segmentText("look", DictSource::TermBase, engine)), "[look=看]");
    EXPECT_EQ(dumpSegments(segmentText("look after you now", DictSource::TermBase, engine)),
              "[look after you=照顾你][now=now]");
}

TEST_F(AnalysisTest, InflectedWordsFindTheirBaseForms) {
    addTerm(engine, "book", "[n.]书^^n^本");
    addTerm(engine, "city", "[n.]城市^^n^");
    // The base word's entry is merged with what the reduction found (here the same entry).
    EXPECT_EQ(dumpSegments(segmentText("cities", DictSource::TermBase, engine)), "[city=[n.]城市|^^n|^]");
    // An inflected form with its own entry has it merged into its base word's.
    addTerm(engine, "books", "[n.]书籍^^n^");
    EXPECT_EQ(dumpSegments(segmentText("books", DictSource::TermBase, engine)), "[book=[n.]书籍|[n.]书|^^n|^本|]");
}

TEST_F(AnalysisTest, UnknownWordsAreSegmentsAlsoOnAnEmptyTermBase) {
    ASSERT_TRUE(engine.termBase.termKeys.empty());
    EXPECT_EQ(dumpSegments(segmentText("siemens s7", DictSource::TermBase, engine)), "[siemens=siemens][s7=s7]");
    stClass a;
    analyseSent("Siemens S7", a, engine, ec);
    EXPECT_EQ(dumpAnalysis(a), "2/2: [siemens|siemens |Siemens ] [s7|s7 |S7 ]");
    // The same as beside any key.
    addTerm(engine, "apple", "苹果");
    analyseSent("Siemens S7", a, engine, ec);
    EXPECT_EQ(dumpAnalysis(a), "2/2: [siemens|siemens |Siemens ] [s7|s7 |S7 ]");
}

TEST_F(AnalysisTest, AMultiWordBaseFormDoesNotShiftTheWords) {
    engine.verbForms.formList = {"comics", "went"};
    engine.verbForms.baseList = {"comic strip", "go"};
    addTerm(engine, "comic", "连环漫画");
    addTerm(engine, "go", "去");
    stClass a;
    analyseSent("Kids went to comics shops.", a, engine, ec);
    EXPECT_EQ(dumpAnalysis(a),
              "6/6: [kids|kids |Kids ] [go|went |went ] [to|to |to ] [comic|comics |comics ] [shops|shops |shops ] "
              "[.|. |. ]");
}

TEST_F(AnalysisTest, MergeEntriesFieldByField) {
    EXPECT_EQ(mergeEntries(DictSource::System, "a|b^x", "b|c^y"), "a|b|c|^x|y|^");
    EXPECT_EQ(mergeEntries(DictSource::TermBase, "a^^n", "a^b^n^q"), "a|^b|^n|^q|");
}

TEST_F(AnalysisTest, SentencesToWordsAndSegments) {
    addTerm(engine, "can", "能");
    addTerm(engine, "go", "去");
    stClass a;
    analyseSent("I can't go.", a, engine, ec);
    EXPECT_EQ(a.wordCount, 5);
    EXPECT_EQ(std::vector<std::string>(a.words.begin() + 1, a.words.end()),
              (std::vector<std::string>{"i", "can", "not", "go", "."}));
    EXPECT_EQ(dumpAnalysis(a), "5/5: [i|i |I ] [can|can |can ] [not|not |not ] [go|go |go ] [.|. |. ]");
    EXPECT_EQ(a.segTrans[2], "能");

    analyseSent("Well, that's {x}", a, engine, ec);
    EXPECT_EQ(a.text, "Well , that ' s ( x }");
    EXPECT_EQ(std::vector<std::string>(a.words.begin() + 1, a.words.end()),
              (std::vector<std::string>{"well", ",", "that", "'", "s", "(", "x", "}"}));

    analyseSent("我们，走", a, engine, ce);
    EXPECT_EQ(a.text, "我 们 ， 走");
    EXPECT_EQ(a.wordCount, 4);
    EXPECT_EQ(a.words[3], ",");

    analyseSent("英文 with 中文", a, engine, ec);
    EXPECT_EQ(a.text, "with");

    analyseSent("", a, engine, ec);
    EXPECT_EQ(a.wordCount, 0);
    EXPECT_EQ(a.segCount, 0);

    analyseSent("I can go", a, engine, {Direction::EC, true, false});
    EXPECT_EQ(a.segCount, 0);
}

TEST_F(AnalysisTest, NormSentTrimsLineEndsAndBuildsTheKey) {
    addTerm(engine, "look after", "照顾");
    std::string sentence = "Look after it\r\n";
    std::string spare = "x";
    normSent(sentence, spare, engine, ec);
    EXPECT_EQ(sentence, "Look after it");
    EXPECT_EQ(spare, "");
    EXPECT_EQ(segmentKeyOf(engine.refSent), "look after it");
    EXPECT_EQ(engine.refSent.segText[1], "Look after ");
}

class SystemDictionaryAnalysisTest : public AnalysisTest {
protected:
    void SetUp() override {
        // The member `fs`: the open dictionary reads its blocks through it in every test.
        ASSERT_TRUE(writeSystemDictionary(fs, dir.file("ecdict"),
                                          {{"apple", "[n.]苹果^个^水果"},
                                           {"look after", "照顾^^"},
                                           {"banned", "禁^^"}})
                        .isOk());
        ASSERT_TRUE(engine.systemDictionary.open(fs, dir.file("ecdict")));
        engine.deletedWords = {"banned"};
    }
    DiskFileSystem fs;
    testing::TempFolder dir;
};

TEST_F(SystemDictionaryAnalysisTest, SystemKeysAreCopiedIntoTheTermBaseExceptDeletedOnes) {
    EXPECT_EQ(dumpSegments(segmentText("apple zzz banned", DictSource::System, engine)), "[apple=[n.]苹果^个^水果]");
    stClass a;
    analyseSent("Look after the apple, banned.", a, engine, ec);
    EXPECT_EQ(engine.termBase.lookupKey("apple"), "[n.]苹果^水果^n^个");
    EXPECT_EQ(engine.termBase.lookupKey("look after"), "照顾^^^");
    EXPECT_EQ(engine.termBase.lookupKey("banned"), "");  // a deleted system key never reaches the term base
    EXPECT_EQ(a.segKeys[a.segCount - 1], "banned");    // it is still a segment of its own
}

}  // namespace
}  // namespace tavricat
