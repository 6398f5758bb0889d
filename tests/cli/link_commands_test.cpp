// The word-processor link from the command line, against a real headless Writer: a Chinese
// client's .docx translated sentence by sentence into English and cleaned up, and the
// plain-text bilingual file of a document still holding its sources.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "support/cli_home_test.h"
#include "support/pdf_rendering.h"

namespace tavricat {
namespace {

using LinkCommandsTest = testing::CliHomeTest;
using testing::runCli;

bool hasChinese(const std::string& utf8) {
    for (unsigned char c : utf8)
        if (c >= 0xE4 && c <= 0xE9) return true;  // lead bytes of UTF-8 CJK characters
    return false;
}

class LinkCommands : public LinkCommandsTest {
protected:
    void SetUp() override {
        if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
        if (std::system("/usr/bin/python3 -c 'import uno' >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "Python UNO (python3-uno) is not installed";
        LinkCommandsTest::SetUp();
        std::ifstream in(std::string(TAVRICAT_TEST_DATA_DIR) + "/documents/generated_zh.docx", std::ios::binary);
        work.write("manual.docx", std::string(std::istreambuf_iterator<char>(in), {}));
    }
    testing::CliRun link(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--home", home.path(), "--direction", "ce", "link"});
        return runCli(arguments, config.path(), {}, 300);
    }
};

TEST_F(LinkCommands, AChineseDocxIsTranslatedInWriterAndCleanedUp) {
    ASSERT_EQ(cli({"--direction", "ce", "tm", "use", "DemoCE"}).exitCode, 0);
    testing::CliRun translated = runCli({"--home", home.path(), "--direction", "ce", "--json", "link", "translate",
                                         work.file("manual.docx"), "-o", work.file("manual-en.docx"), "--cleanup"},
                                        config.path(), {}, 300);
    ASSERT_EQ(translated.exitCode, 0) << translated.err;
    const nlohmann::json result = nlohmann::json::parse(translated.out);
    const auto& sentences = result["sentences"];
    ASSERT_GE(sentences.size(), 20u);
    EXPECT_EQ(sentences[0]["source"], encoding::gbkToUtf8Lossy("使用前须知"));
    EXPECT_EQ(result["cleaned"], sentences.size());
    for (const auto& sentence : sentences) EXPECT_FALSE(hasChinese(sentence["translation"])) << sentence.dump();

    // The saved document holds the translations, not the sources, and still its structure.
    testing::CliRun text = link({"text", work.file("manual-en.docx")});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out.find(encoding::gbkToUtf8Lossy("使用净化器前")), std::string::npos);
    EXPECT_NE(text.out.find(sentences[1]["translation"].get<std::string>()), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("{0>"), std::string::npos);
    testing::TempFolder profile;
    ASSERT_EQ(testing::shell("cd " + testing::shellQuote(work.path()) + " && soffice --headless -env:UserInstallation=file://" +
                             profile.path() + " --convert-to fodt manual-en.docx >/dev/null 2>&1"),
              0);
    const std::string xml = work.read("manual-en.fodt");
    for (const char* element : {"<table:table ", "<text:list", "<text:note ", "<style:header", "<draw:image"})
        EXPECT_NE(xml.find(element), std::string::npos) << element;
}

TEST_F(LinkCommands, ThePlainTextBilingualFileStandsBesideTheDocument) {
    ASSERT_EQ(link({"translate", work.file("manual.docx"), "-o", work.file("marked.docx"), "--sentences", "3"}).exitCode, 0);
    testing::CliRun saved = link({"bil", work.file("marked.docx")});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    ASSERT_TRUE(work.exists("marked.bil"));
    const std::string bil = work.read("marked.bil");  // GBK
    EXPECT_EQ(bil.find("{0>"), std::string::npos);
    EXPECT_NE(bil.find("{*>使用前须知<}"), std::string::npos);
    EXPECT_NE(bil.find("\r\n"), std::string::npos);
    EXPECT_FALSE(work.exists("marked.docx1"));
    // A document whose name holds ".bil" is refused, not overwritten.
    std::ifstream in(work.file("marked.docx"), std::ios::binary);
    work.write("x.bil.docx", std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_EQ(link({"bil", work.file("x.bil.docx")}).exitCode, 1);
}

// The number after "句子总数:" in an analysis report (UTF-8).
int sentenceTotal(const std::string& report) {
    const std::string label = encoding::gbkToUtf8Lossy("句子总数:");
    const std::size_t at = report.find(label);
    return at == std::string::npos ? -1 : std::atoi(report.c_str() + at + label.size());
}

TEST_F(LinkCommands, ProjectAnalysisReadsOfficeDocumentsThroughWriter) {
    testing::CliRun analysed = runCli({"--home", home.path(), "--direction", "ce", "analyse-project",
                                       work.file("manual.docx"), "--writer"},
                                      config.path(), {}, 300);
    ASSERT_EQ(analysed.exitCode, 0) << analysed.err;
    testing::CliRun converted = runCli({"--home", home.path(), "--direction", "ce", "analyse-project",
                                        work.file("manual.docx")},
                                       config.path(), {}, 300);
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    // Writer's text export holds the body and the tables; the converter's RTF also the
    // footnote and the header.
    EXPECT_GE(sentenceTotal(analysed.out), 25) << analysed.out;
    EXPECT_LE(sentenceTotal(analysed.out), sentenceTotal(converted.out)) << converted.out;
}

}  // namespace
}  // namespace tavricat
