// Chinese documents through a real word processor, LibreOffice Writer run headless: made by
// it, translated in both directions, read back by it as plain text, saved again by it as RTF
// and paired again. Skipped when soffice is not installed (package libreoffice-writer).

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/cli_home_test.h"

namespace tavricat {
namespace {

std::string u8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string findSoffice() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (std::size_t from = 0; from <= dirs.size();) {
        std::size_t colon = dirs.find(':', from);
        if (colon == std::string::npos) colon = dirs.size();
        std::string candidate = dirs.substr(from, colon - from) + "/soffice";
        if (colon > from && access(candidate.c_str(), X_OK) == 0) return candidate;
        from = colon + 1;
    }
    return {};
}

// Plain text as the word processor writes it: without its byte order mark, lines ended by LF.
std::string plainText(std::string text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

class WordProcessorTest : public testing::CliHomeTest {
protected:
    void SetUp() override {
        soffice = findSoffice();
        if (soffice.empty())
            GTEST_SKIP() << "soffice is not installed (package libreoffice-writer): the round trip through "
                            "LibreOffice Writer is not tested";
        CliHomeTest::SetUp();
    }

    // Converts `files` into `outDir` with soffice, in a profile of this test's own (a shared
    // one is locked by any other soffice running). A cold start takes a while: five minutes.
    void convert(const std::vector<std::string>& files, const std::string& format, const std::string& outDir,
                 const std::string& inFilter = "") {
        std::string command = "env HOME=" + quote(office.path()) + " timeout 300 " + quote(soffice) +
                              " --headless --norestore -env:UserInstallation=file://" + office.file("profile");
        if (!inFilter.empty()) command += " --infilter=" + quote(inFilter);
        command += " --convert-to " + quote(format) + " --outdir " + quote(outDir);
        for (const std::string& file : files) command += " " + quote(file);
        command += " >" + quote(office.file("log")) + " 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command << "\n" << office.read("log");
        for (const std::string& file : files) {
            std::string name = file.substr(file.rfind('/') + 1);
            name = name.substr(0, name.rfind('.')) + "." + format.substr(0, format.find(':'));
            ASSERT_TRUE(std::system(("test -s " + quote(outDir + "/" + name)).c_str()) == 0)
                << name << " not written\n" << office.read("log");
        }
    }

    testing::TempFolder office;  // soffice's home and profile
    testing::TempFolder text;    // what soffice writes as plain text
    testing::TempFolder resaved; // what soffice writes as RTF again
    std::string soffice;
};

TEST_F(WordProcessorTest, ChineseSurvivesTranslationAndTheWordProcessorBothWays) {
    work.write("zh.txt", u8(u8"家用空气净化器的使用说明。\n请在使用前仔细阅读本说明书。\n本产品适用于家庭和办公室。\n"));
    work.write("en.txt", "Clean the filter once a month.\nKeep the purifier away from water.\nThe caf\xC3\xA9 is closed today.\n");
    ASSERT_NO_FATAL_FAILURE(
        convert({work.file("zh.txt"), work.file("en.txt")}, "rtf", work.path(), "Text (encoded):UTF8,LF,,,"));

    for (const char8_t* pair : {u8"家用空气净化器的使用说明。^Instructions for the home air purifier.",
                             u8"请在使用前仔细阅读本说明书。^Please read this manual before use."})
        ASSERT_EQ(cli({"--direction", "ce", "tm", "add", u8(pair)}).exitCode, 0);
    for (const char8_t* pair : {u8"Clean the filter once a month.^每月清洗一次过滤网。",
                             u8"Keep the purifier away from water.^让净化器远离水。"})
        ASSERT_EQ(cli({"--direction", "ec", "tm", "add", u8(pair)}).exitCode, 0);
    for (const char* direction : {"ce", "ec"}) {
        const std::string name = std::string(direction) == "ce" ? "zh" : "en";
        testing::CliRun run = cli({"--direction", direction, "translate", work.file(name + ".rtf"), "--fallback", "copy"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(cli({"doc", "target", work.file(name + ".bil"), "-o", work.file(name + "_target.rtf")}).exitCode, 0);
        ASSERT_EQ(cli({"doc", "pairs", work.file(name + ".bil"), "-o", work.file(name + ".exs")}).exitCode, 0);
    }
    EXPECT_EQ(work.read("zh.exs"),
              "家用空气净化器的使用说明。^Instructions for the home air purifier.\r\n"
              "请在使用前仔细阅读本说明书。^Please read this manual before use.\r\n"
              "本产品适用于家庭和办公室。^本产品适用于家庭和办公室。\r\n");
    EXPECT_EQ(work.read("en.exs"),
              "Clean the filter once a month.^每月清洗一次过滤网。\r\n"
              "Keep the purifier away from water.^让净化器远离水。\r\n"
              "The café is closed today.^The café is closed today.\r\n");

    // What the word processor shows of the bilingual files and the targets.
    ASSERT_NO_FATAL_FAILURE(convert({work.file("zh.bil"), work.file("en.bil"), work.file("zh_target.rtf"),
                                     work.file("en_target.rtf")},
                                    "txt:Text (encoded):UTF8", text.path()));
    EXPECT_EQ(plainText(text.read("zh.txt")),
              u8(u8"{*>家用空气净化器的使用说明。<}100{>Instructions for the home air purifier. <*}\n"
                 u8"{*>请在使用前仔细阅读本说明书。<}100{>Please read this manual before use. <*}\n"
                 u8"{*>本产品适用于家庭和办公室。<}999{>本产品适用于家庭和办公室。<*}\n"));
    EXPECT_EQ(plainText(text.read("zh_target.txt")),
              u8(u8"Instructions for the home air purifier. \nPlease read this manual before use. \n"
                 u8"本产品适用于家庭和办公室。\n"));
    EXPECT_EQ(plainText(text.read("en.txt")),
              u8(u8"{*>Clean the filter once a month.<}100{>每月清洗一次过滤网。<*}\n"
                 u8"{*>Keep the purifier away from water.<}100{>让净化器远离水。<*}\n"
                 u8"{*>The café is closed today.<}999{>The café is closed today.<*}\n"));
    EXPECT_EQ(plainText(text.read("en_target.txt")),
              u8(u8"每月清洗一次过滤网。\n让净化器远离水。\nThe café is closed today.\n"));

    // Saved again by the word processor, the bilingual files still give the same pairs.
    ASSERT_NO_FATAL_FAILURE(convert({work.file("zh.bil"), work.file("en.bil")}, "rtf", resaved.path()));
    for (const std::string name : {"zh", "en"}) {
        testing::CliRun pairs = cli({"doc", "pairs", resaved.file(name + ".rtf"), "-o", work.file(name + ".again.exs")});
        ASSERT_EQ(pairs.exitCode, 0) << pairs.err;
        EXPECT_EQ(work.read(name + ".again.exs"), work.read(name + ".exs")) << name;
    }
}

}  // namespace
}  // namespace tavricat
