// The system dictionary: block-scrambled files, the writer, block choice and look-ups, and
// what a damaged file does.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/block_file.h"
#include "engine/dictionary_writer.h"
#include "engine/system_dictionary.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::TempFolder;
using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string textOfSize(std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) text += static_cast<char>(i % 60 == 59 ? '\n' : 'a' + i % 26);
    return text;
}

// ---- block-scrambled text ----------------------------------------------------------------

TEST(BlockFileTest, TextRoundTripsAtEveryBlockBoundary) {
    const std::size_t sizes[] = {0, 1, 4095, 4096, 4097, 8191, 8192, 8193, 10000};
    for (std::size_t size : sizes) {
        const std::string text = textOfSize(size);
        Result<std::string> bytes = writeBlockText(text);
        ASSERT_TRUE(bytes.isOk()) << size;
        EXPECT_EQ(bytes->size(), (size + kBlockSize - 1) / kBlockSize * kBlockSize) << size;
        EXPECT_EQ(readBlockText(*bytes), text) << size;
    }
}

TEST(BlockFileTest, BytesOnDiskAreScrambledIncludingThePadding) {
    Result<std::string> bytes = writeBlockText("abc");
    ASSERT_TRUE(bytes.isOk());
    EXPECT_NE(bytes->substr(0, 3), "abc");
    // The zero padding is scrambled too: a plain zero block would give the key away.
    EXPECT_NE(bytes->substr(3), std::string(kBlockSize - 3, '\0'));
}

TEST(BlockFileTest, TrailingPartialBlockIsIgnored) {
    // A 10 000-byte file yields the text of its first two blocks only.
    const std::string text = textOfSize(3 * kBlockSize);
    Result<std::string> bytes = writeBlockText(text);
    ASSERT_TRUE(bytes.isOk());
    EXPECT_EQ(readBlockText(bytes->substr(0, 10000)), text.substr(0, 2 * kBlockSize));
    EXPECT_EQ(readBlockText(bytes->substr(0, kBlockSize - 1)), "");
}

TEST(BlockFileTest, EachBlockEndsAtItsFirstZeroByteAndTheNextBlockContinues) {
    std::string first = std::string("abc") + '\0' + std::string(kBlockSize - 4, 'z');
    std::string second = "def" + std::string(kBlockSize - 3, '\0');
    scrambleBlock(first.data(), first.size());
    scrambleBlock(second.data(), second.size());
    EXPECT_EQ(readBlockText(first + second), "abcdef");
}

TEST(BlockFileTest, TextWithAZeroByteIsRefused) {
    EXPECT_EQ(writeBlockText(std::string("a\0b", 3)).status().kind(), ErrorKind::BadInput);
}

// ---- a generated dictionary --------------------------------------------------------------

// Some three thousand pairs of varied sizes: ASCII keys in mixed case, GBK keys, and GBK keys
// whose trail byte looks like an upper- or lower-case letter (they are different keys).
Pairs generatedPairs() {
    Pairs pairs;
    for (int i = 0; i < 3000; ++i) {
        const std::string n = std::to_string(i);
        const std::string value = "v" + n + "^" + std::string(static_cast<std::size_t>(i * 37 % 180), 'x') + "|" + n;
        switch (i % 5) {
        case 0: pairs.emplace_back("word" + n, value); break;
        case 1: pairs.emplace_back("Mixed Case " + n, value); break;
        case 2: pairs.emplace_back("中" + n + " 文", value); break;
        case 3:
            pairs.emplace_back("\xB0\x41" + n, value + "A");
            pairs.emplace_back("\xB0\x61" + n, value + "a");
            break;
        default: pairs.emplace_back("a b c " + n + " d", value); break;
        }
    }
    return pairs;
}

class DictStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        pairs = generatedPairs();
        for (const auto& [key, value] : pairs) expected.emplace(key, value);
        DictionaryWriteStats stats;
        ASSERT_TRUE(writeSystemDictionary(fs, base(), pairs, &stats).isOk());
        ASSERT_EQ(stats.keys, pairs.size());
        ASSERT_GT(stats.dataBlocks, 50u);
        ASSERT_TRUE(dict.open(fs, base()));
    }
    std::string base() const { return dir.file("ecdict"); }
    std::string expectedFor(std::string_view probe) const {
        auto it = expected.find(std::string(gbk::trim(probe)));
        return it == expected.end() ? std::string() : it->second;
    }

    TempFolder dir;
    DiskFileSystem fs;
    Pairs pairs;
    std::map<std::string, std::string, ListOrderLess> expected;
    SystemDictionary dict;
};

TEST_F(DictStoreTest, EveryStoredKeyAnswersItsValueAndNoOtherKeyAnswers) {
    for (const auto& [key, value] : pairs) {
        ASSERT_EQ(dict.lookupKey(key), value) << key;
        const std::string probes[] = {
            key + "~", key + " ", " " + key, key.substr(0, key.size() - 1), key.substr(1),
            gbk::asciiUpper(key), gbk::asciiLower(key), key + "\xB0\x41",
        };
        for (const std::string& probe : probes) ASSERT_EQ(dict.lookupKey(probe), expectedFor(probe)) << probe;
    }
    const std::string outside[] = {"", " ", "!", "0", "zzzz", "\xFE\xFE", "\xB0\x40", "word"};
    for (const std::string& probe : outside) EXPECT_EQ(dict.lookupKey(probe), "") << probe;
}

TEST_F(DictStoreTest, TrailBytesThatLookLikeLettersAreNotFolded) {
    EXPECT_EQ(dict.lookupKey("\xB0\x41" "3"), pairs[3].second);
    EXPECT_EQ(dict.lookupKey("\xB0\x61" "3"), pairs[4].second);
    EXPECT_NE(pairs[3].second, pairs[4].second);
}

TEST_F(DictStoreTest, BlockChoiceFollowsTheIndex) {
    const LineList& index = dict.dictIndex();
    ASSERT_GT(index.size(), 3u);
    for (std::size_t k = 0; k < index.size(); ++k) {
        // A key equal to line k is in block k + 1 (in any ASCII case).
        EXPECT_EQ(dict.blockFor(index[k]), static_cast<int>(k) + 1);
        EXPECT_EQ(dict.blockFor(gbk::asciiUpper(index[k])), static_cast<int>(k) + 1);
        // A key just above line k (and below line k + 1) is in block k + 1 as well.
        EXPECT_EQ(dict.blockFor(index[k] + "\x01"), static_cast<int>(k) + 1);
    }
    // Below line 0: block 1.
    EXPECT_EQ(dict.blockFor(""), 1);
    EXPECT_EQ(dict.blockFor("!"), 1);
    // Above the last line: the last block.
    EXPECT_EQ(dict.blockFor("\xFE\xFE"), static_cast<int>(index.size()));
    // The block chosen for a key holds it.
    for (std::size_t i = 0; i < pairs.size(); i += 97) {
        KeyValueLists lists = dict.listsFor(pairs[i].first);
        ASSERT_NE(lists.keys, nullptr);
        SortedFind at = findSorted(*lists.keys, pairs[i].first);
        ASSERT_TRUE(at.found) << pairs[i].first;
        EXPECT_EQ((*lists.values)[at.index], pairs[i].second);
    }
}

TEST_F(DictStoreTest, ConsecutiveLookUpsInOneBlockReadItOnce) {
    const std::size_t before = dict.blockReads();
    const LineList keysOfBlock = [&] {
        dict.loadDictBlock(2);
        return dict.blockKeys();
    }();
    ASSERT_GT(keysOfBlock.size(), 2u);
    const std::size_t afterLoad = dict.blockReads();
    EXPECT_EQ(afterLoad, before + 1);
    for (const std::string& key : keysOfBlock) EXPECT_NE(dict.lookupKey(key), "");
    EXPECT_EQ(dict.blockReads(), afterLoad);
    dict.loadDictBlock(3);
    dict.loadDictBlock(2);  // recently used: kept parsed, not read again
    EXPECT_EQ(dict.blockReads(), afterLoad + 1);
    EXPECT_EQ(dict.blockKeys(), keysOfBlock);
}

// The analysis goes back and forth between the blocks of a sentence's words: each is read
// from the file once, and what a look-up answers from a kept block is what the file holds.
TEST_F(DictStoreTest, EveryBlockIsReadOnceWhileTheDictionaryFitsTheKeptBlocks) {
    ASSERT_LT(dict.dictIndex().size(), SystemDictionary::kCachedBlocks);
    for (std::size_t i = 0; i < pairs.size(); i += 7) ASSERT_EQ(dict.lookupKey(pairs[i].first), pairs[i].second);
    const std::size_t reads = dict.blockReads();
    EXPECT_LE(reads, dict.dictIndex().size() + 1);
    for (std::size_t round = 0; round < 2; ++round)
        for (std::size_t i = pairs.size(); i-- > 0;) ASSERT_EQ(dict.lookupKey(pairs[i].first), pairs[i].second);
    EXPECT_LE(dict.blockReads(), dict.dictIndex().size() + 1) << "each block read once";
    EXPECT_EQ(dict.lookupKey("no such key at all"), "");
}

TEST_F(DictStoreTest, ReopeningForgetsTheLoadedBlock) {
    // A second dictionary whose block 1 holds the first key of this one's block 1.
    const std::string key = dict.dictIndex().front();
    ASSERT_TRUE(writeSystemDictionary(fs, dir.file("cedict"), {{key, "other"}}).isOk());
    ASSERT_EQ(dict.lookupKey(key), expectedFor(key));
    ASSERT_EQ(dict.loadedBlock(), 1);
    ASSERT_TRUE(dict.open(fs, dir.file("cedict")));
    EXPECT_EQ(dict.lookupKey(key), "other");
    EXPECT_EQ(dict.dictIndex(), LineList{key});
}

// ---- ranged reads of the data file -----------------------------------------------------------

TEST_F(DictStoreTest, DamagedFilesAreFoundAndNamed) {
    const std::string idx = dir.read("ecdict.IDX"), dat = dir.read("ecdict.DAT");
    ASSERT_TRUE(checkDictionaryFiles(fs, base()).isOk());
    std::string noise(dat.size(), '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    struct Damage {
        const char* what;
        std::string idx, dat;
        const char* named;
    };
    const Damage damages[] = {
        {"data cut inside a block", idx, dat.substr(0, dat.size() - 1000), "ecdict.DAT"},
        {"data cut at a block", idx, dat.substr(0, dat.size() - 2 * kBlockSize), "ecdict.DAT"},
        {"data emptied", idx, "", "ecdict.DAT"},
        {"data overwritten", idx, noise, "ecdict.DAT"},
        {"data block moved", idx, dat.substr(0, kBlockSize) + dat.substr(2 * kBlockSize, kBlockSize) +
                                      dat.substr(kBlockSize, kBlockSize) + dat.substr(3 * kBlockSize), "ecdict.DAT"},
        {"index cut inside a block", idx.substr(0, idx.size() - 100), dat, "ecdict.IDX"},
        {"index cut at a block", idx.substr(0, idx.size() - kBlockSize), dat, "ecdict.IDX"},
        {"index emptied", "", dat, "ecdict.IDX"},
        {"index overwritten", noise.substr(0, idx.size()), dat, "ecdict.IDX"},
    };
    for (const Damage& damage : damages) {
        dir.write("ecdict.IDX", damage.idx);
        dir.write("ecdict.DAT", damage.dat);
        Status checked = checkDictionaryFiles(fs, base());
        EXPECT_EQ(checked.kind(), ErrorKind::BadInput) << damage.what;
        EXPECT_NE(checked.message().find(damage.named), std::string::npos) << damage.what << ": " << checked.message();
    }
    std::remove(dir.file("ecdict.DAT").c_str());
    EXPECT_EQ(checkDictionaryFiles(fs, base()).kind(), ErrorKind::NotFound);
}

TEST(DictReadRangeTest, RangesAreCutAtTheEndOfTheFile) {
    TempFolder dir;
    dir.write("f", "0123456789");
    DiskFileSystem fs;
    struct Case {
        std::uint64_t offset;
        std::size_t length;
        const char* want;
    };
    const Case cases[] = {{0, 4, "0123"}, {6, 4, "6789"}, {8, 4096, "89"}, {10, 1, ""}, {4096, 4096, ""}, {3, 0, ""}};
    for (const Case& c : cases) {
        Result<std::string> disk = fs.readRange(dir.file("f"), c.offset, c.length);
        ASSERT_TRUE(disk.isOk());
        EXPECT_EQ(*disk, c.want) << c.offset;
        // The whole-file version every other FileSystem inherits gives the same bytes.
        Result<std::string> generic = fs.FileSystem::readRange(dir.file("f"), c.offset, c.length);
        ASSERT_TRUE(generic.isOk());
        EXPECT_EQ(*generic, c.want) << c.offset;
    }
    EXPECT_EQ(fs.readRange(dir.file("none"), 0, 1).status().kind(), ErrorKind::NotFound);
}

// ---- opening -------------------------------------------------------------------------------

TEST(DictOpenTest, BothFilesAreNeeded) {
    TempFolder dir;
    DiskFileSystem fs;
    ASSERT_TRUE(writeSystemDictionary(fs, dir.file("ecdict"), {{"apple", "苹果"}}).isOk());
    std::remove(dir.file("ecdict.DAT").c_str());
    SystemDictionary dict;
    EXPECT_FALSE(dict.open(fs, dir.file("ecdict")));
    EXPECT_FALSE(dict.isOpen());
    EXPECT_EQ(dict.openError().kind(), ErrorKind::NotFound);
    EXPECT_EQ(dict.lookupKey("apple"), "");
    KeyValueLists lists = dict.listsFor("apple");
    ASSERT_NE(lists.keys, nullptr);
    ASSERT_NE(lists.values, nullptr);
    EXPECT_TRUE(lists.keys->empty());
    EXPECT_TRUE(lists.values->empty());
}

TEST(DictOpenTest, ExtensionsAreFoundInAnyCase) {
    TempFolder dir;
    DiskFileSystem fs;
    ASSERT_TRUE(writeSystemDictionary(fs, dir.file("tmp"), {{"apple", "苹果"}}).isOk());
    ASSERT_TRUE(fs.rename(dir.file("tmp.IDX"), dir.file("cedict.idx")).isOk());
    ASSERT_TRUE(fs.rename(dir.file("tmp.DAT"), dir.file("cedict.Dat")).isOk());
    SystemDictionary dict;
    ASSERT_TRUE(dict.open(fs, dir.file("cedict")));
    EXPECT_EQ(dict.lookupKey("  Apple "), "苹果");
}

// ---- damaged data files ----------------------------------------------------------------------

std::string dataBlock(std::size_t keyLength, const std::string& body) {
    std::string block(kBlockSize, '\0');
    block[0] = static_cast<char>(keyLength >> 8);
    block[1] = static_cast<char>(keyLength & 0xFF);
    block.replace(2, body.size(), body);
    scrambleBlock(block.data(), block.size());
    return block;
}

TEST(DictDamagedTest, BrokenOrMissingBlocksLoadEmptyAndOthersStillAnswer) {
    TempFolder dir;
    DiskFileSystem fs;
    std::string zero(kBlockSize, '\0');
    scrambleBlock(zero.data(), zero.size());
    const std::string keys3 = "x\r\ny\r\n";
    std::string dat = zero;
    dat += dataBlock(0xFFFF, "b\r\nbee\r\n");               // 1: key length past the block
    dat += dataBlock(6, "h\r\ni\r\nhi\r\n");                 // 2: two keys, one value
    dat += dataBlock(kBlockSize - 2, std::string(4094, 'k'));  // 3: key text fills the block
    dat += dataBlock(keys3.size(), keys3 + "ex\r\nwhy\r\n");   // 4: sound
    dat += std::string(100, 'p');                             // 5: a partial block
    dir.write("d.DAT", dat);                                  // 6: beyond the file
    Result<std::string> idx = writeBlockText("a\r\nh\r\nk\r\nx\r\nz\r\nzzz\r\n");
    ASSERT_TRUE(idx.isOk());
    dir.write("d.IDX", *idx);

    SystemDictionary dict;
    ASSERT_TRUE(dict.open(fs, dir.file("d")));
    const std::pair<const char*, int> probes[] = {{"b", 1}, {"h", 2}, {"i", 2}, {"k", 3}, {"z", 5}, {"zzzz", 6}};
    for (const auto& [key, block] : probes) {
        EXPECT_EQ(dict.lookupKey(key), "") << key;
        EXPECT_EQ(dict.loadedBlock(), block) << key;
        EXPECT_TRUE(dict.blockKeys().empty()) << key;
        EXPECT_TRUE(dict.blockValues().empty()) << key;
    }
    EXPECT_EQ(dict.lookupKey("y"), "why");
    dict.loadDictBlock(1000000);
    EXPECT_TRUE(dict.blockKeys().empty());
}

TEST(DictDamagedTest, ParsingNeedsAWholeBlock) {
    LineList keys = {"stale"}, values = {"stale"};
    EXPECT_FALSE(parseDictBlock("", keys, values));
    EXPECT_TRUE(keys.empty());
    EXPECT_TRUE(values.empty());
}

// ---- writer ----------------------------------------------------------------------------------

TEST(DictWriterTest, ThePairThatFillsABlockExactlyFitsAndOneByteMoreIsRefused) {
    // 2 length bytes + key + CR LF + value + CR LF + terminating zero.
    const std::string key = "key";
    const std::size_t fitting = kBlockSize - 3 - (key.size() + 2) - 2;
    TempFolder dir;
    DiskFileSystem fs;
    DictionaryWriteStats stats;
    ASSERT_TRUE(writeSystemDictionary(fs, dir.file("full"), {{key, std::string(fitting, 'v')}, {"zz", "1"}}, &stats).isOk());
    EXPECT_EQ(stats.dataBlocks, 2u);
    SystemDictionary dict;
    ASSERT_TRUE(dict.open(fs, dir.file("full")));
    EXPECT_EQ(dict.lookupKey(key), std::string(fitting, 'v'));
    EXPECT_EQ(dict.lookupKey("zz"), "1");

    Status refused = writeSystemDictionary(fs, dir.file("over"), {{"a", "1"}, {key, std::string(fitting + 1, 'v')}});
    EXPECT_EQ(refused.kind(), ErrorKind::BadInput);
    EXPECT_NE(refused.message().find("\"key\""), std::string::npos) << refused.message();
    EXPECT_FALSE(fs.exists(dir.file("over.DAT")));
    EXPECT_FALSE(fs.exists(dir.file("over.IDX")));
}

TEST(DictWriterTest, KeysThatWouldBreakTheLayoutAreRefused) {
    TempFolder dir;
    DiskFileSystem fs;
    const Pairs bad[] = {
        {{"", "empty key"}},
        {{"two\r\nlines", "x"}},
        {{"key", "value\nbreak"}},
        {{std::string("ze\0ro", 5), "x"}},
    };
    for (const Pairs& pairs : bad) {
        EXPECT_EQ(writeSystemDictionary(fs, dir.file("bad"), pairs).kind(), ErrorKind::BadInput);
        EXPECT_FALSE(fs.exists(dir.file("bad.DAT")));
    }
}

TEST(DictWriterTest, TheFirstOfEqualKeysIsKept) {
    TempFolder dir;
    DiskFileSystem fs;
    DictionaryWriteStats stats;
    ASSERT_TRUE(writeSystemDictionary(fs, dir.file("d"), {{"pear", "梨"}, {"Apple", "first"}, {"apple", "second"}}, &stats).isOk());
    EXPECT_EQ(stats.keys, 2u);
    EXPECT_EQ(stats.droppedDuplicates, 1u);
    SystemDictionary dict;
    ASSERT_TRUE(dict.open(fs, dir.file("d")));
    EXPECT_EQ(dict.lookupKey("APPLE"), "first");
    EXPECT_EQ(dict.lookupKey("pear"), "梨");
}

TEST(DictWriterTest, AnEmptyDictionaryOpensAndAnswersNothing) {
    TempFolder dir;
    DiskFileSystem fs;
    ASSERT_TRUE(writeSystemDictionary(fs, dir.file("d"), {}).isOk());
    SystemDictionary dict;
    ASSERT_TRUE(dict.open(fs, dir.file("d")));
    EXPECT_TRUE(dict.dictIndex().empty());
    EXPECT_EQ(dict.lookupKey("anything"), "");
    EXPECT_TRUE(checkDictionaryFiles(fs, dir.file("d")).isOk());
}

}  // namespace
}  // namespace tavricat
