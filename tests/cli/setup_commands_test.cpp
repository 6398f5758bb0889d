// tavricat-cli init, check and settings, run as separate processes.

#include <gtest/gtest.h>

#include <cstdio>

#include "base/encoding.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::runCli;
using testing::TempFolder;

class CliTest : public ::testing::Test {
protected:
    testing::CliRun cli(std::vector<std::string> arguments) { return runCli(arguments, config.path()); }
    TempFolder home;
    TempFolder config;
};

TEST_F(CliTest, InitThenCheckPassesAndAMissingFileIsNamed) {
    testing::CliRun init = cli({"--home", home.path(), "init"});
    ASSERT_EQ(init.exitCode, 0) << init.err;
    EXPECT_EQ(init.out, home.path() + "\n");
    testing::CliRun check = cli({"--home", home.path(), "check"});
    EXPECT_EQ(check.exitCode, 0) << check.err;

    std::remove(home.file("userdata/modesEC.m2").c_str());
    check = cli({"--home", home.path(), "check"});
    EXPECT_EQ(check.exitCode, 1);
    const std::string expected = encoding::gbkToUtf8Lossy(
        "系统发现运行所必须的文件: " + home.file("userdata/modesEC.m2") +
        " 不存在。如果您有这些文件的被份，请先复制到正确的位置。也可以重新安装系统。现在系统将退出。");
    EXPECT_EQ(check.err, expected + "\n");
}

TEST_F(CliTest, CheckNamesADamagedSystemDictionary) {
    ASSERT_EQ(cli({"--home", home.path(), "init"}).exitCode, 0);
    const std::string dat = home.read("cedict.DAT");
    home.write("cedict.DAT", dat.substr(0, dat.size() / 3));
    testing::CliRun check = cli({"--home", home.path(), "check"});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_NE(check.err.find(home.file("cedict.DAT")), std::string::npos) << check.err;
    EXPECT_EQ(check.err.find("ecdict"), std::string::npos) << check.err;

    home.write("cedict.DAT", dat);
    const std::string idx = home.read("ecdict.IDX");
    std::string scrambled = idx;
    for (char& c : scrambled) c = static_cast<char>(c ^ 0x5A);
    home.write("ecdict.IDX", scrambled);
    check = cli({"--home", home.path(), "--json", "check"});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_NE(check.out.find(home.file("ecdict.IDX")), std::string::npos) << check.out;

    home.write("ecdict.IDX", idx);
    EXPECT_EQ(cli({"--home", home.path(), "check"}).exitCode, 0);
}

TEST_F(CliTest, InitCompletesAFolderWithoutOverwritingAnything) {
    home.write("userdata/AllZy.ini", "mine\r\n");
    testing::CliRun init = cli({"--home", home.path(), "--json", "init"});
    ASSERT_EQ(init.exitCode, 0) << init.err;
    EXPECT_EQ(home.read("userdata/AllZy.ini"), "mine\r\n");
    EXPECT_FALSE(home.exists("userdata/allzy.ini"));
    EXPECT_NE(init.out.find("\"kept\""), std::string::npos);
    EXPECT_EQ(cli({"--home", home.path(), "check"}).exitCode, 0);
}

TEST_F(CliTest, SettingsReadDefaultsAndKeepWhatIsSet) {
    testing::CliRun get = cli({"settings", "get", "inisetup", "matchrate"});
    ASSERT_EQ(get.exitCode, 0) << get.err;
    EXPECT_EQ(get.out, "65\n");
    ASSERT_EQ(cli({"settings", "set", "inisetup", "matchrate", "80"}).exitCode, 0);
    EXPECT_EQ(cli({"settings", "get", "inisetup", "matchrate"}).out, "80\n");
    EXPECT_EQ(cli({"settings", "get", "fontsetup", "interCwordFontName"}).out, reinterpret_cast<const char*>(u8"宋体\n"));

    // A wrong type or an unknown key is bad usage and changes nothing.
    EXPECT_EQ(cli({"settings", "set", "inisetup", "matchrate", "high"}).exitCode, 2);
    EXPECT_EQ(cli({"settings", "set", "inisetup", "nosuch", "1"}).exitCode, 2);
    EXPECT_EQ(cli({"settings", "get", "inisetup", "matchrate"}).out, "80\n");

    testing::CliRun list = cli({"settings", "list"});
    EXPECT_NE(list.out.find("inisetup matchrate 80\n"), std::string::npos);
    EXPECT_NE(list.out.find("colorsetup ShortCutFC 255\n"), std::string::npos);
}

TEST_F(CliTest, SettingsTheOptionsDialogRefusesAreRefusedWithItsMessage) {
    ASSERT_EQ(cli({"settings", "set", "inisetup", "matchrate", "80"}).exitCode, 0);
    const std::string stored = config.read("tavricat25cecmini.ini");

    testing::CliRun red = cli({"settings", "set", "colorsetup", "SelWordsFC", "255"});
    EXPECT_EQ(red.exitCode, 1);
    EXPECT_EQ(red.err, encoding::gbkToUtf8Lossy("选定单词前景色不能用红色，也不能与快捷键颜色相同。") + "\n");
    testing::CliRun low = cli({"settings", "set", "inisetup", "matchrate", "5"});
    EXPECT_EQ(low.exitCode, 1);
    EXPECT_FALSE(low.err.empty());
    EXPECT_EQ(cli({"settings", "set", "colorsetup", "ShortCutFC", "16711680"}).exitCode, 1);  // the selection's blue
    EXPECT_EQ(config.read("tavricat25cecmini.ini"), stored);  // nothing written

    EXPECT_EQ(cli({"settings", "set", "colorsetup", "SelWordsFC", "65280"}).exitCode, 0);
    EXPECT_EQ(cli({"settings", "get", "colorsetup", "SelWordsFC"}).out, "65280\n");
}

TEST_F(CliTest, TextStoredUnderAnIntegerKeyReadsAsItsNumberOrTheDefault) {
    config.write("tavricat25cecmini.ini", "[inisetup]\nmatchrate= 72\nlimitPhraseTipNum=many\n");
    EXPECT_EQ(cli({"settings", "get", "inisetup", "matchrate"}).out, "72\n");
    EXPECT_EQ(cli({"settings", "get", "inisetup", "limitPhraseTipNum"}).out, "2\n");
}

TEST_F(CliTest, BadUsageExitsWithTwo) {
    EXPECT_EQ(cli({}).exitCode, 2);
    EXPECT_EQ(cli({"--direction", "xx", "check"}).exitCode, 2);
    EXPECT_EQ(cli({"settings", "get", "inisetup"}).exitCode, 2);
    EXPECT_EQ(cli({"--help"}).exitCode, 0);
}

}  // namespace
}  // namespace tavricat

namespace tavricat {
namespace {

TEST(CliStatusTest, StartsAndClosesTheWorkbenchForOneDirection) {
    testing::TempFolder home, config;
    ASSERT_EQ(testing::runCli({"--home", home.path(), "init"}, config.path()).exitCode, 0);
    testing::CliRun status = testing::runCli({"--home", home.path(), "--direction", "ce", "status"}, config.path());
    ASSERT_EQ(status.exitCode, 0) << status.err;
    EXPECT_EQ(status.out, encoding::gbkToUtf8Lossy("汉英\n用户库:我的汉-英词库\n例句库:我的汉-英例句库\n"));
    EXPECT_EQ(status.err.find(encoding::gbkToUtf8Lossy("没有找到系统所带的汉英词库")), std::string::npos);
    EXPECT_TRUE(home.exists("userdata/MySentsCE.rf0"));
    // Closing wrote the settings, with the stored direction left as it was.
    testing::CliRun ctoe = testing::runCli({"settings", "get", "inisetup", "ctoe"}, config.path());
    EXPECT_EQ(ctoe.out, "0\n");
    EXPECT_EQ(testing::runCli({"settings", "get", "inisetup", "curLiJuKuname"}, config.path()).out, "\n");
    testing::CliRun again = testing::runCli({"--home", home.path(), "status"}, config.path());
    EXPECT_NE(again.out.find(encoding::gbkToUtf8Lossy("例句库:我的英-汉例句库")), std::string::npos);
}

}  // namespace
}  // namespace tavricat
