// The pinyin service: reading the table, longest-match conversion, characters passed through.

#include <gtest/gtest.h>

#include <string>

#include "base/file_system.h"
#include "engine/pinyin_service.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

PinyinService serviceOf(const std::string& table) {
    PinyinService service;
    service.loadText(table);
    return service;
}

const char* const kTable =
    "北\tbei\r\n"
    "京\tjing\r\n"
    "北京\tbei jing\r\n"
    "北京大学\tbei jing da xue\r\n"
    "大\tda\r\n"
    "我们\two men\r\n"
    "绿\tlü\r\n";

TEST(PinyinConversionTest, TakesTheLongestListedWordAndJoinsItsSyllables) {
    PinyinService service = serviceOf(kTable);
    EXPECT_EQ(service.pinyinOf("北京"), "beijing");
    EXPECT_EQ(service.pinyinOf("北京大学"), "beijingdaxue");
    // "北京大" is no word: the longest match is 北京, then 大 alone.
    EXPECT_EQ(service.pinyinOf("北京大"), "beijing da");
    EXPECT_EQ(service.pinyinOf("我们北京"), "women beijing");
    EXPECT_EQ(service.pinyinOf("京北"), "jing bei");
}

TEST(PinyinConversionTest, PassesUnknownCharactersThroughAsOneWord) {
    PinyinService service = serviceOf(kTable);
    EXPECT_EQ(service.pinyinOf("我们去北京"), "women 去 beijing");
    EXPECT_EQ(service.pinyinOf("北京abc大"), "beijing abc da");
    EXPECT_EQ(service.pinyinOf("我们。"), "women 。");
    EXPECT_EQ(service.pinyinOf(""), "");
}

TEST(PinyinConversionTest, BlanksOnlySeparate) {
    PinyinService service = serviceOf(kTable);
    EXPECT_EQ(service.pinyinOf("  北 京  "), "bei jing");
    EXPECT_EQ(service.pinyinOf("ab  cd"), "ab cd");
}

TEST(PinyinConversionTest, NeverMatchesAcrossCharacterBoundaries) {
    // The trail byte of 北 (B1 B1) and the lead byte of 京 (BE A9) spell 本 (B1 BE).
    PinyinService service = serviceOf("本\tben\r\n");
    EXPECT_EQ(service.pinyinOf("北京"), "北京");
    EXPECT_EQ(service.pinyinOf("北本"), "北 ben");
}

TEST(PinyinTableTest, SkipsBrokenLinesAndKeepsTheFirstReadingOfAWord) {
    PinyinService service = serviceOf("北\tbei\nno tab here\n\tjing\n京\t  \n北\tbo\n绿\tlü\n");
    EXPECT_EQ(service.size(), 2u);
    EXPECT_EQ(service.pinyinOf("北京绿"), "bei 京 lü");
}

TEST(PinyinTableTest, LoadsFromAFileAndAnEmptyFileConvertsNothing) {
    testing::TempFolder folder;
    DiskFileSystem fs;
    folder.write("pinyin.dat", kTable);
    PinyinService service;
    ASSERT_TRUE(service.load(fs, folder.file("pinyin.dat")).isOk());
    EXPECT_EQ(service.pinyinOf("北京"), "beijing");

    folder.write("empty.dat", "");
    ASSERT_TRUE(service.load(fs, folder.file("empty.dat")).isOk());
    EXPECT_EQ(service.size(), 0u);
    EXPECT_EQ(service.pinyinOf("北京"), "北京");

    EXPECT_FALSE(service.load(fs, folder.file("missing.dat")).isOk());
}

TEST(PinyinTableTest, TheDeliveredTableReadsCommonText) {
    DiskFileSystem fs;
    PinyinService service;
    ASSERT_TRUE(service.load(fs, TAVRICAT_DELIVERED_DIR "/pinyin.dat").isOk());
    EXPECT_EQ(service.pinyinOf("我们明天去北京。"), "women mingtian qu beijing 。");
    EXPECT_EQ(service.pinyinOf("绿色的书"), "lüse de shu");
}

}  // namespace
}  // namespace tavricat
