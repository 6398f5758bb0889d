// The ini settings store and its typing rules.

#include <gtest/gtest.h>

#include "base/settings_store.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::TempFolder;

TEST(SettingsStoreTest, ReadsTypedValuesWithTheirRules) {
    TempFolder dir;
    dir.write("s.ini",
              "[inisetup]\r\n"
              "matchrate=70\r\n"
              "maxshowcharnum=abc\r\n"
              "limitPhraseTipNum= 3 \r\n"
              "big=99999999999\r\n"
              "giveMT=0\r\n"
              "ctoe=5\r\n"
              "popwizard=false\r\n"
              "InterTop=maybe\r\n"
              "curZyname=My Dict\r\n");
    DiskFileSystem fs;
    Result<SettingsStore> store = SettingsStore::open(fs, dir.file("s.ini"));
    ASSERT_TRUE(store.isOk());
    EXPECT_EQ(store->readInteger("inisetup", "matchrate", 65), 70);
    EXPECT_EQ(store->readInteger("inisetup", "maxshowcharnum", 1), 1);      // not a number: default
    EXPECT_EQ(store->readInteger("inisetup", "limitPhraseTipNum", 2), 3);  // number stored as text
    EXPECT_EQ(store->readInteger("inisetup", "big", 4), 4);                // beyond 32 bits: default
    EXPECT_EQ(store->readInteger("inisetup", "absent", 9), 9);
    EXPECT_FALSE(store->readBool("inisetup", "giveMT", true));
    EXPECT_TRUE(store->readBool("inisetup", "ctoe", false));  // any non-zero number
    EXPECT_FALSE(store->readBool("inisetup", "popwizard", true));
    EXPECT_TRUE(store->readBool("inisetup", "InterTop", true));  // not a boolean: default
    EXPECT_EQ(store->readString("INISETUP", "CURZYNAME", ""), "My Dict");  // names ignore case
}

TEST(SettingsStoreTest, WritesSurviveReopeningAndKeepForeignLines) {
    TempFolder dir;
    dir.write("s.ini", "; kept comment\r\n[inisetup]\r\nother=1\r\n\r\n[fontsetup]\r\nx=y\r\n");
    DiskFileSystem fs;
    {
        Result<SettingsStore> store = SettingsStore::open(fs, dir.file("s.ini"));
        ASSERT_TRUE(store.isOk());
        store->writeInteger("inisetup", "matchrate", 80);
        store->writeBool("inisetup", "giveMT", false);
        store->writeString("colorsetup", "IsoTagsFC", "8388736");
        store->writeString("inisetup", "other", "line\r\nbreak");
        ASSERT_TRUE(store->save(fs).isOk());
    }
    Result<SettingsStore> again = SettingsStore::open(fs, dir.file("s.ini"));
    ASSERT_TRUE(again.isOk());
    EXPECT_EQ(again->readInteger("inisetup", "matchrate", 0), 80);
    EXPECT_FALSE(again->readBool("inisetup", "giveMT", true));
    EXPECT_EQ(again->readInteger("colorsetup", "IsoTagsFC", 0), 8388736);
    EXPECT_EQ(again->readString("inisetup", "other", ""), "line  break");
    EXPECT_EQ(again->readString("fontsetup", "x", ""), "y");
    std::string text = dir.read("s.ini");
    EXPECT_EQ(text.rfind("; kept comment", 0), 0u);
    // New keys join their section, not the end of the file.
    EXPECT_LT(text.find("matchrate=80"), text.find("[fontsetup]"));
}

TEST(SettingsStoreTest, AByteOrderMarkKeepsTheFirstSectionOnce) {
    TempFolder dir;
    dir.write("s.ini", "\xEF\xBB\xBF[inisetup]\r\nmatchrate=70\r\n");
    DiskFileSystem fs;
    {
        Result<SettingsStore> store = SettingsStore::open(fs, dir.file("s.ini"));
        ASSERT_TRUE(store.isOk());
        EXPECT_EQ(store->readInteger("inisetup", "matchrate", 65), 70);
        store->writeInteger("inisetup", "giveMT", 1);
        ASSERT_TRUE(store->save(fs).isOk());
    }
    EXPECT_EQ(dir.read("s.ini"), "[inisetup]\r\nmatchrate=70\r\ngiveMT=1\r\n");
}

TEST(SettingsStoreTest, MissingFileIsAnEmptyStoreAndSaveCreatesItsFolder) {
    TempFolder dir;
    DiskFileSystem fs;
    Result<SettingsStore> store = SettingsStore::open(fs, dir.file("config/s.ini"));
    ASSERT_TRUE(store.isOk());
    EXPECT_TRUE(store->entries().empty());
    store->writeString("netsetting", "shareMode", "2");
    ASSERT_TRUE(store->save(fs).isOk());
    EXPECT_EQ(dir.read("config/s.ini"), "[netsetting]\r\nshareMode=2\r\n");
}

}  // namespace
}  // namespace tavricat
