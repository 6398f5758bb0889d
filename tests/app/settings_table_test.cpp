// The settings table: defaults, typed reading, the write order and the shortcut colour rule.

#include <gtest/gtest.h>

#include "app/recent_files.h"
#include "app/settings.h"

namespace tavricat {
namespace {

TEST(SettingsTableTest, EmptyStoreGivesTheDefaults) {
    Settings s = readSettings(SettingsStore{});
    EXPECT_EQ(s.userefmode, 1);
    EXPECT_EQ(s.matchrate, 65);
    EXPECT_TRUE(s.giveMT);
    EXPECT_FALSE(s.ctoe);
    EXPECT_TRUE(s.popwizard);
    EXPECT_EQ(s.shareMode, 1);
    EXPECT_EQ(s.CurEwordBC, 65535);
    EXPECT_EQ(s.PhraseTipBC, 12632256);
    EXPECT_EQ(s.IsoTagsFC, 8388736);
    EXPECT_TRUE(s.CLStop);
    EXPECT_EQ(s.interCwordFontName, reinterpret_cast<const char*>(u8"宋体"));
    EXPECT_EQ(s.interCwordFontSize, 10);
}

TEST(SettingsTableTest, WritesInShutdownOrderWithShortcutColourAsRed) {
    Settings s;
    s.ShortCutFC = 0x00FF00;  // chosen in the options dialog for this run
    s.matchrate = 77;
    s.curyiwenfilename = "/docs/a.bil";
    SettingsStore store;
    writeSettings(store, s);
    std::vector<std::string> keys;
    for (const auto& e : store.entries()) keys.push_back(e.key);
    const std::vector<std::string> expected = {
        "userefmode", "matchrate", "maxshowcharnum", "limitPhraseTipNum", "giveMT", "InterTop", "curZyname",
        "curLiJuKuname", "autoshowexp", "SpaceInHanChar", "copyNewWords", "showZi", "ctoe", "useSysLib",
        "useUserLib", "popwizard", "logfileName", "curyiwenfilename", "curShareLibName", "autoPropagate", "shareMode",
        "CurEwordBC", "PhraseTipBC", "SelWordsFC", "CurExplainBC", "IsoTagsFC", "ShortCutFC", "TABkeyStop",
        "CLStop", "tagStop", "interEwordFontName", "interCwordFontName", "interEwordFontSize",
        "interCwordFontSize"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(store.readInteger("colorsetup", "ShortCutFC", 0), 255);
    Settings back = readSettings(store);
    EXPECT_EQ(back.ShortCutFC, 255);
    EXPECT_EQ(back.matchrate, 77);
    EXPECT_TRUE(back.curyiwenfilename.empty());  // written, never read
}

TEST(SettingsTableTest, SettingFromTextChecksTheType) {
    Settings s;
    const SettingKey* rate = findSettingKey("INISETUP", "MatchRate");
    ASSERT_NE(rate, nullptr);
    EXPECT_TRUE(setSettingFromText(s, *rate, "90"));
    EXPECT_EQ(s.matchrate, 90);
    EXPECT_FALSE(setSettingFromText(s, *rate, "ninety"));
    EXPECT_EQ(s.matchrate, 90);
    const SettingKey* giveMT = findSettingKey("inisetup", "giveMT");
    EXPECT_TRUE(setSettingFromText(s, *giveMT, "0"));
    EXPECT_FALSE(s.giveMT);
    EXPECT_FALSE(setSettingFromText(s, *giveMT, "perhaps"));
    EXPECT_EQ(findSettingKey("inisetup", "nosuchkey"), nullptr);
}

TEST(RecentFilesTest, TouchMovesToHeadWithoutDuplicatesAndDropsTheOldest) {
    RecentFiles recent;
    for (const char* path : {"/a", "/b", "/c", "/d"}) recent.touch(path);
    EXPECT_EQ(recent.visibleEntries(), (std::vector<std::string>{"/d", "/c", "/b", "/a"}));
    recent.touch("/b");
    EXPECT_EQ(recent.visibleEntries(), (std::vector<std::string>{"/b", "/d", "/c", "/a"}));
    recent.touch("/e");
    EXPECT_EQ(recent.visibleEntries(), (std::vector<std::string>{"/e", "/b", "/d", "/c"}));
    recent.touch("/E");  // comparison is exact
    EXPECT_EQ(recent.visibleEntries(), (std::vector<std::string>{"/E", "/e", "/b", "/d"}));
}

TEST(RecentFilesTest, ReadsSlotsAndWritesUntilTheSeparator) {
    SettingsStore store;
    store.writeString("inisetup", "rcfile0", "/x.txt");
    store.writeString("inisetup", "rcfile1", "/y.rtf");
    store.writeString("inisetup", "rcfile4", "ignored");
    RecentFiles recent = RecentFiles::read(store);
    EXPECT_EQ(recent.visibleEntries(), (std::vector<std::string>{"/x.txt", "/y.rtf"}));
    EXPECT_EQ(recent.captions()[2], "");

    recent.touch("/z.imf");
    SettingsStore out;
    recent.write(out);
    EXPECT_EQ(out.readString("inisetup", "rcfile0", ""), "/z.imf");
    EXPECT_EQ(out.readString("inisetup", "rcfile2", "?"), "/y.rtf");
    EXPECT_EQ(out.readString("inisetup", "rcfile3", "?"), "");
    EXPECT_FALSE(out.readRaw("inisetup", "rcfile4").has_value());
}

}  // namespace
}  // namespace tavricat
