// Library names from the command line and the settings file stay inside the user-data folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/library_info.h"
#include "support/cli_home_test.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

TEST(LibraryName, OnlyAPlainFileStemIsALibraryName) {
    for (const char* good : {"MySentsEC", "Project 2", "a..b", ".hidden", reinterpret_cast<const char*>(u8"我的库")})
        EXPECT_TRUE(isPlainLibraryName(good)) << good;
    for (const char* bad : {"", ".", "..", "../evil", "../../outside/evil", "/tmp/evil", "sub/evil", "sub\\evil",
                            "..\\evil", "C:evil", "line\nbreak"})
        EXPECT_FALSE(isPlainLibraryName(bad)) << bad;
}

class CliLibraryNameTest : public testing::CliHomeTest {
protected:
    // A complete sentence library "evil" in the folder outside the program folder, made by
    // the program itself and moved out.
    void SetUp() override {
        CliHomeTest::SetUp();
        ASSERT_EQ(cli({"tm", "new", "evil"}).exitCode, 0);
        for (const char* ext : {".rf0", ".rf1", ".rf2", ".irf"})
            std::filesystem::rename(home.file(std::string("userdata/evil") + ext), work.file(std::string("evil") + ext));
        outsideBefore = outsideFiles();
    }

    std::string outsideFiles() const {
        std::string all;
        for (const char* ext : {".rf0", ".rf1", ".rf2", ".irf"}) all += work.read(std::string("evil") + ext) + "|";
        return all;
    }

    // The outside library seen from the user-data folder.
    std::string relativeName() const {
        return "../../" + std::filesystem::path(work.path()).filename().string() + "/evil";
    }

    std::string outsideBefore;
};

TEST_F(CliLibraryNameTest, UseAndNewRefuseAPath) {
    for (const std::string& name : {relativeName(), work.file("evil"), std::string("..")}) {
        testing::CliRun used = cli({"tm", "use", name});
        EXPECT_EQ(used.exitCode, 1) << name;
        EXPECT_NE(used.err.find("not a plain library name"), std::string::npos) << used.err;
        testing::CliRun made = cli({"--yes", "tm", "new", name + "2"});
        EXPECT_EQ(made.exitCode, 1) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(work.file("evil2.rf0")));
    EXPECT_FALSE(std::filesystem::exists(home.file("userdata/evil2.rf0")));

    ASSERT_EQ(cli({"tm", "add", reinterpret_cast<const char*>(u8"Good morning.^早上好。")}).exitCode, 0);
    EXPECT_NE(cli({"tm", "stats"}).out.find("library: MySentsEC"), std::string::npos);
    EXPECT_EQ(outsideFiles(), outsideBefore);
}

TEST_F(CliLibraryNameTest, APathInTheSettingsOpensTheDefaultLibrary) {
    config.write("tavricat25cecmini.ini", "[inisetup]\ncurLiJuKuname=" + relativeName() + "\ncurZyname=" +
                                              work.file("evil") + "\n");
    ASSERT_EQ(cli({"tm", "add", reinterpret_cast<const char*>(u8"Good morning.^早上好。")}).exitCode, 0);
    testing::CliRun stats = cli({"tm", "stats"});
    EXPECT_NE(stats.out.find("library: MySentsEC"), std::string::npos) << stats.out;
    EXPECT_NE(home.read("userdata/MySentsEC.rf0").find("^"), std::string::npos);
    EXPECT_EQ(outsideFiles(), outsideBefore);

    const std::string settingsBefore = config.read("tavricat25cecmini.ini");
    testing::CliRun set = cli({"settings", "set", "inisetup", "curLiJuKuname", relativeName()});
    EXPECT_EQ(set.exitCode, 2);
    EXPECT_NE(set.err.find("plain library name"), std::string::npos) << set.err;
    EXPECT_EQ(config.read("tavricat25cecmini.ini"), settingsBefore);
    EXPECT_EQ(outsideFiles(), outsideBefore);
}

}  // namespace
}  // namespace tavricat
