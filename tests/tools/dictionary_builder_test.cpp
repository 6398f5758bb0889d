// The data builder (tools/build_dictionaries.py) run on a few lines of CC-CEDICT: the keys
// and value fields of both system dictionaries, the measure-word lists and the readings.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/encoding.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "base/list_order.h"
#include "engine/system_dictionary.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

// Source lines as the builder reads them: UTF-8. Written here in GBK and converted.
const char* const kCedict =
    "# CC-CEDICT\n"
    "書 书 [shu1] /book/letter/CL:本[ben3]/see also 書本|书本[shu1 ben3]/\n"
    "書 书 [Shu1] /abbr. for 書經|书经[Shu1 jing1]/\n"
    "書本 书本 [shu1 ben3] /book/CL:本[ben3]/\n"
    "預訂 预订 [yu4 ding4] /to book; to reserve/\n"
    "讀 读 [du2] /to read; to read aloud/to study (a subject in school)/\n"
    "閱讀 阅读 [yue4 du2] /to read/reading/\n"
    "看 看 [kan1] /to look after/\n"
    "看 看 [kan4] /to see; to look at/to read/to visit/\n"
    "照顧 照顾 [zhao4 gu4] /to take care of sb; to look after sb/\n"
    "條 条 [tiao2] /strip/item/\n"
    "魚 鱼 [yu2] /fish/CL:條|条[tiao2],尾[wei3]/\n"
    "北京 北京 [Bei3 jing1] /Beijing municipality, capital of China (short name 京[Jing1])/\n"
    "張三 张三 [Zhang1 San1] /Zhang San, a rare name/\n"
    "我愛你 我爱你 [wo3 ai4 ni3] /I love you!/\n"
    "个 个 [ge4] /old variant of 個|个[ge4]/\n"
    "綠 绿 [lu:4] /green/\n";

// U+9FD0, a character GBK cannot hold, as UTF-8 bytes.
const char* const kOutsideGbk = "\xE9\xBF\x90 \xE9\xBF\x90 [yu4] /outside gbk/\n";

const char* const kFrequencies =
    "书,900\n读,500\n阅读,100\n看,50\n照顾,200\n预订,60\n书本,40\n北京,5000\n张三,3\n鱼,70\n";

std::string utf8(const char* gbkText) { return encoding::gbkToUtf8Lossy(gbkText); }

std::string scriptPath() { return TAVRICAT_DELIVERED_DIR "/../../tools/build_dictionaries.py"; }

class DictionaryBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("python3 -c \"\" >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not available";
        source.write("cedict_ts.u8.js", "module.exports = `" + utf8(kCedict) + kOutsideGbk + "`;\n");
        source.write("leidenfreqdata.txt.js", utf8(kFrequencies));
        ASSERT_EQ(build(out), 0);
    }

    int build(const testing::TempFolder& into) const {
        std::string command = "python3 '" + scriptPath() + "' '" + source.path() + "' --cli '" TAVRICAT_CLI_PATH
                              "' --out '" + into.path() + "' >/dev/null";
        return std::system(command.c_str());
    }

    std::string lookup(const std::string& base, const std::string& key) {
        SystemDictionary dict;
        EXPECT_TRUE(dict.open(fs, out.file(base)));
        return dict.lookupKey(key);
    }

    DiskFileSystem fs;
    testing::TempFolder source, out;
};

TEST_F(DictionaryBuilderTest, ChineseKeysAreSpacedAndMergedWithTheCommonSenseFirst) {
    EXPECT_EQ(lookup("cedict", "书"), "book|letter^^");
    EXPECT_EQ(lookup("cedict", "书 本"), "book^^");
    // Verbs without "to", notes and "sb" left out.
    EXPECT_EQ(lookup("cedict", "预 订"), "book|reserve^^");
    EXPECT_EQ(lookup("cedict", "照 顾"), "take care of|look after^^");
    // The richer entry of 看 comes first; the entries of one headword make one key.
    EXPECT_EQ(lookup("cedict", "看"), "see|look at|read|visit|look after^^");
    // A note that only points at other Chinese words is left out.
    EXPECT_EQ(lookup("cedict", "北 京"), "Beijing municipality, capital of China^^");
    EXPECT_EQ(lookup("cedict", "书本"), "");
    // Variant-only entries and text GBK cannot hold make no key.
    EXPECT_EQ(lookup("cedict", "个"), "");
    EXPECT_EQ(lookup("ecdict", "outside gbk"), "");
}

TEST_F(DictionaryBuilderTest, EnglishKeysListTheCommonerChineseWordFirstWithClassesAndMeasureWords) {
    EXPECT_EQ(lookup("ecdict", "read"), "[v.:]读|阅读|看^^");
    EXPECT_EQ(lookup("ecdict", "book"), "[n.]书|[n.]书本|[v.]预订^[n.]本^");
    EXPECT_EQ(lookup("ecdict", "fish"), "[n.:]鱼^[n.]条^");
    EXPECT_EQ(lookup("ecdict", "look after"), "[v.:]照顾|看^^");
    EXPECT_EQ(lookup("ecdict", "take care of"), "[v.:]照顾^^");
    EXPECT_EQ(lookup("ecdict", "green"), "绿^^");
    EXPECT_EQ(lookup("ecdict", "beijing"), "[n.:]北京^^");
    // Sentences, rare names and glosses in parentheses are no keys.
    EXPECT_EQ(lookup("ecdict", "i love you"), "");
    EXPECT_EQ(lookup("ecdict", "zhang san"), "");
    EXPECT_EQ(lookup("ecdict", "study"), "[v.:]读^^");
}

// The optional inputs: curated first meanings, jieba's counts and WordNet's lemmas.
class DictionaryBuilderInputsTest : public DictionaryBuilderTest {
protected:
    void SetUp() override {
        DictionaryBuilderTest::SetUp();
        if (IsSkipped()) return;
        source.write("more.u8", utf8(
            "# CC-CEDICT\n"
            "飯 饭 [fan4] /cooked rice/meal/(loanword) fan/devotee/\n"
            "風扇 风扇 [feng1 shan4] /electric fan/\n"
            "扇子 扇子 [shan4 zi5] /fan/CL:把[ba3]/\n"
            "悅 悦 [yue4] /pleased/\n"
            "請 请 [qing3] /to ask; to invite/please (do sth)/\n"
            "開口 开口 [kai1 kou3] /opening/to start to talk/\n"
            "打開 打开 [da3 kai1] /to open/\n"
            "新聞 新闻 [xin1 wen2] /news/\n"
            "新 新 [xin1] /new/\n"
            "一發 一发 [yi1 fa1] /(Japanese mahjong) to win after riichi/\n"
            "在 在 [zai4] /to exist; to be alive/(of sb or sth) to be (located) at/\n"
            "了 了 [le5] /(completed action marker)/\n"
            "了 了 [liao3] /to finish/\n"));
        source.write("cedict_ts.u8.js", "module.exports = `" + utf8(kCedict) + source.read("more.u8") + "`;\n");
        source.write("jieba.txt", utf8("饭 6000 n\n风扇 100 n\n扇子 90 n\n悦 10 v\n请 5000 v\n开口 300 v\n打开 900 v\n新闻 2000 n\n新 9000 a\n"));
        wordnet.write("index.noun", "  1 header line\nnews n 1 0\nfan n 3 0\nopening n 2 0\n");
        wordnet.write("index.verb", "open v 9 0\nplease v 2 0\n");
        wordnet.write("index.sense", "news%1:10:00:: 06642138 1 41\nopening%1:04:00:: 00240184 1 11\n");
        source.write("ec_core.tsv", utf8("# curated\nstop\t[v.]停止|停\nmonday\t星期一|周一\n"));
        source.write("ce_core.tsv", utf8("# curated\n在\tin|at\n了\t-|already\n"));
        ASSERT_EQ(std::system(("python3 '" + scriptPath() + "' '" + source.path() + "' --cli '" TAVRICAT_CLI_PATH
                               "' --out '" + full.path() + "' --jieba '" + source.file("jieba.txt") + "' --wordnet '" +
                               wordnet.path() + "' --ec-core '" + source.file("ec_core.tsv") + "' --ce-core '" +
                               source.file("ce_core.tsv") + "' >/dev/null").c_str()),
                  0);
    }

    std::string lookupFull(const std::string& base, const std::string& key) {
        SystemDictionary dict;
        EXPECT_TRUE(dict.open(fs, full.file(base)));
        return dict.lookupKey(key);
    }

    testing::TempFolder wordnet, full;
};

TEST_F(DictionaryBuilderInputsTest, TheMainSenseComesBeforeTheCommonerWord) {
    // 饭 is commoner than 风扇 or 扇子, but "fan" is only its third, noted gloss.
    const std::string fan = lookupFull("ecdict", "fan");
    ASSERT_FALSE(fan.empty());
    EXPECT_EQ(fan.find("扇子"), 4u) << fan;  // after "[n.]"
    EXPECT_NE(fan.find("饭"), std::string::npos);
    EXPECT_GT(fan.find("饭"), fan.find("扇子"));
    // A key that only names a game move is no key: it would swallow the words around it.
    EXPECT_EQ(lookupFull("cedict", "一 发"), "");
    // A note narrows a gloss without being a translation.
    EXPECT_EQ(lookupFull("cedict", "了"), "|already|finish|(completed action marker)^^");
}

TEST_F(DictionaryBuilderInputsTest, InflectedFormsGiveWayToTheirBaseUnlessTheyAreWordsOfTheirOwn) {
    EXPECT_EQ(lookupFull("ecdict", "pleased"), "");  // "please" holds the meaning
    EXPECT_NE(lookupFull("ecdict", "please"), "");
    EXPECT_NE(lookupFull("ecdict", "news"), "");     // not the plural of "new"
    EXPECT_NE(lookupFull("ecdict", "opening"), "");  // a common noun of its own
    // Without WordNet nothing is dropped.
    EXPECT_NE(lookup("ecdict", "read"), "");
}

TEST_F(DictionaryBuilderInputsTest, CuratedMeaningsComeFirstAndAddMissingKeys) {
    EXPECT_EQ(lookupFull("ecdict", "monday"), "星期一|周一^^");
    EXPECT_EQ(lookupFull("ecdict", "stop"), "[v.]停止|停^^");
    // "-" is an empty first meaning: no word in the translation.
    EXPECT_EQ(lookupFull("cedict", "在"), "in|at|exist|be alive|be at^^");
    // Weekdays with next/last/this are keys, so that 下周一发出 splits as 下周一 | 发出.
    EXPECT_EQ(lookupFull("cedict", "下 周 一"), "next Monday^^");
}

TEST_F(DictionaryBuilderTest, KeysAreStoredInListOrder) {
    SystemDictionary dict;
    ASSERT_TRUE(dict.open(fs, out.file("ecdict")));
    dict.loadDictBlock(1);
    EXPECT_TRUE(isListOrdered(dict.blockKeys()));
    EXPECT_EQ(dict.blockKeys().front(), "beijing");
}

TEST_F(DictionaryBuilderTest, MeasureWordsAreListedSortedWithTheirText) {
    EXPECT_EQ(out.read("art.01"), "本\r\n条\r\n尾\r\n");
    EXPECT_EQ(out.read("art.02"), "本\r\n条\r\n尾\r\n");
}

TEST_F(DictionaryBuilderTest, ReadingsAreTonelessAndTakeTheCommonPronunciation) {
    LineList lines = splitLines(out.read("pinyin.dat"));
    EXPECT_TRUE(isListOrdered(lines));
    auto has = [&lines](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("看\tkan"));
    EXPECT_TRUE(has("书\tshu"));
    EXPECT_TRUE(has("北京\tbei jing"));
    EXPECT_TRUE(has("绿\tlü"));
}

TEST_F(DictionaryBuilderTest, TheSameInputGivesTheSameFiles) {
    testing::TempFolder again;
    ASSERT_EQ(build(again), 0);
    for (const char* name : {"cedict.IDX", "cedict.DAT", "ecdict.IDX", "ecdict.DAT", "art.01", "pinyin.dat"})
        EXPECT_EQ(out.read(name), again.read(name)) << name;
}

}  // namespace
}  // namespace tavricat
