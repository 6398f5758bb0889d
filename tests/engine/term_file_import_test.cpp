// Merging term files into a term base: the three readers, replace and merge field by field,
// deletions, and keys that differ only by blanks between Chinese characters.

#include <gtest/gtest.h>

#include "engine/term_base.h"
#include "engine/term_file_import.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::FaultyFileSystem;
using testing::TempFolder;

class TermFileImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        base.termKeys = {"apple", "pear", "plum"};
        base.termEntries = {"苹果^^n^", "b|c^assoc^n^", "李子^^n^"};
    }
    // Merges every pair of a file written with `text`.
    TermMergeCounts mergeFile(const std::string& name, const std::string& text, bool replace, bool ce = false) {
        dir.write(name, text);
        Result<std::vector<TermPair>> pairs = readTermFile(fs, dir.file(name));
        EXPECT_TRUE(pairs.isOk()) << pairs.status().message();
        TermBaseMerger merger(base, ce, replace);
        for (const TermPair& pair : *pairs) merger.merge(pair.key, pair.value);
        merger.finish();
        return merger.counts();
    }
    TempFolder dir;
    FaultyFileSystem fs;
    TermBase base;
};

TEST_F(TermFileImportTest, TermListMeaningsSplitAtBothSemicolonsAndGetEmptyFurtherFields) {
    dir.write("list.txt", "kiwi\t猕猴桃;奇异果；弥猴桃\r\nfig\r\n");
    Result<std::vector<TermPair>> pairs = readTermFile(fs, dir.file("list.txt"));
    ASSERT_TRUE(pairs.isOk());
    ASSERT_EQ(pairs->size(), 2u);
    EXPECT_EQ((*pairs)[0].key, "kiwi");
    EXPECT_EQ((*pairs)[0].value, "猕猴桃|奇异果|弥猴桃^^^");
    EXPECT_EQ((*pairs)[1].value, "^^^");
    dir.write("wide.TXT", "k\t表;面\r\n");
    EXPECT_EQ((*readTermFile(fs, dir.file("wide.TXT")))[0].value, "表|面^^^");
}

TEST_F(TermFileImportTest, ReadersFollowTheFileName) {
    EXPECT_EQ(termFileKindOf("a/changes.SAW"), TermFileKind::ChangeLog);
    EXPECT_EQ(termFileKindOf("terms.txt"), TermFileKind::TermList);
    EXPECT_EQ(termFileKindOf("MyDict.01"), TermFileKind::KeyFile);
    EXPECT_EQ(termValuesPathOf("x/MyDict.01"), "x/MyDict.02");

    dir.write("log.saw", "kiwi^猕猴桃^n\r\ndddit plum\r\nbare\r\n");
    Result<std::vector<TermPair>> log = readTermFile(fs, dir.file("log.saw"));
    ASSERT_TRUE(log.isOk());
    EXPECT_EQ((*log)[0].value, "猕猴桃^n");
    EXPECT_EQ((*log)[2].key, "bare");
    EXPECT_EQ((*log)[2].value, "");

    dir.write("other.01", "fig\r\nkiwi\r\n");
    dir.write("other.02", "无花果^^^\r\n");  // shorter: the second key gets an empty value
    Result<std::vector<TermPair>> keyFile = readTermFile(fs, dir.file("other.01"));
    ASSERT_TRUE(keyFile.isOk());
    EXPECT_EQ((*keyFile)[0].value, "无花果^^^");
    EXPECT_EQ((*keyFile)[1].value, "");

    // Without its values file a key file is refused rather than merged as empty entries.
    dir.write("lonely.01", "apple\r\n");
    EXPECT_FALSE(readTermFile(fs, dir.file("lonely.01")).isOk());
    EXPECT_FALSE(readTermFile(fs, dir.file("missing.txt")).isOk());
}

TEST_F(TermFileImportTest, ReplaceAndMergeFieldByField) {
    TermMergeCounts replaced = mergeFile("r.saw", "pear^a|b^assoc^n^\r\n", true);
    EXPECT_EQ(base.lookupKey("pear"), "a|b^assoc^n^");
    EXPECT_EQ(replaced.changed, 1u);
    EXPECT_EQ(replaced.added, 0u);

    base.termEntries[1] = "b|c^assoc^n^";
    mergeFile("m.saw", "pear^a|b^assoc^v^专用\r\n", false);
    // Differing fields: new items first, then the old ones, each once; equal fields stay.
    EXPECT_EQ(base.lookupKey("pear"), "a|b|c^assoc^v|n^专用");
}

TEST_F(TermFileImportTest, NewKeysGoToTheirSortedPlaceAndAreCounted) {
    TermMergeCounts counts = mergeFile("n.txt", "Banana\t香蕉\r\n\r\nzucchini\t西葫芦\r\nbanana\t芭蕉\r\n", false);
    EXPECT_EQ(base.termKeys, (LineList{"apple", "Banana", "pear", "plum", "zucchini"}));
    EXPECT_EQ(base.termEntries.size(), base.termKeys.size());
    EXPECT_EQ(base.lookupKey("banana"), "芭蕉|香蕉^^^");  // the second line merged into the first
    EXPECT_EQ(counts.processed, 4u);  // the empty line counts as processed, not as an entry
    EXPECT_EQ(counts.added, 2u);
}

TEST_F(TermFileImportTest, DeletionLinesRemoveAndAReimportChangesNothing) {
    const std::string log =
        "dddit plum\r\nkiwi^猕猴桃^^^\r\ndddit kiwi\r\ndddit absent\r\nfig^无花果^^^\r\ndddit pear\r\npear^鸭梨^^^\r\n";
    mergeFile("d.saw", log, false);
    const LineList keys = base.termKeys, entries = base.termEntries;
    EXPECT_EQ(keys, (LineList{"apple", "fig", "pear"}));
    EXPECT_EQ(base.lookupKey("pear"), "鸭梨^^^");  // deleted first: nothing of the old entry is merged in
    mergeFile("d.saw", log, false);
    EXPECT_EQ(base.termKeys, keys);
    EXPECT_EQ(base.termEntries, entries);
}

TEST_F(TermFileImportTest, ChineseKeysMatchWhateverTheirBlanksInCE) {
    base.termKeys = {"苹 果", "中 国"};
    base.termEntries = {"apple^^^", "China^^^"};
    TermMergeCounts counts = mergeFile("ce.txt", "中国\tChinese;Sino\r\n苹 果 树\t apple tree\r\n", false, true);
    EXPECT_EQ(base.termKeys, (LineList{"苹 果", "苹 果 树", "中 国"}));
    EXPECT_EQ(base.lookupKey("中 国"), "Chinese|Sino|China^^^");
    EXPECT_EQ(counts.added, 1u);
    mergeFile("ce.saw", "dddit 苹果\r\n", false, true);
    EXPECT_EQ(base.lookupKey("苹 果"), "");
    EXPECT_EQ(base.termKeys.size(), 2u);
}

TEST_F(TermFileImportTest, ValuesLoseTheBlanksBetweenChineseCharacters) {
    mergeFile("v.saw", "kiwi^猕 猴 桃^n\r\n", true);
    EXPECT_EQ(base.lookupKey("kiwi"), "猕猴桃^n");
}

}  // namespace
}  // namespace tavricat
