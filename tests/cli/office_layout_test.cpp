// A client's Word document translated from Chinese to English and delivered as .docx: the
// table, the lists, the footnote, the header and the picture are where they were, and the
// translations stand in the cells, the list items, the footnote and the header.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using OfficeLayoutTest = testing::CliHomeTest;
using testing::runCli;

// The text of the first element `tag` of a flat OpenDocument file, markup removed.
std::string firstText(const std::string& xml, const std::string& tag) {
    size_t start = xml.find("<" + tag + " ");
    if (start == std::string::npos) start = xml.find("<" + tag + ">");
    if (start == std::string::npos) return {};
    const size_t end = xml.find("</" + tag + ">", start);
    if (end == std::string::npos) return {};
    std::string text;
    bool inMarkup = false;
    for (size_t i = start; i < end; ++i) {
        if (xml[i] == '<') inMarkup = true;
        else if (xml[i] == '>') inMarkup = false;
        else if (!inMarkup) text += xml[i];
    }
    return text;
}

bool hasChinese(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0xE4 && c <= 0xE9) return true;  // lead bytes of UTF-8 CJK characters
    return false;
}

TEST_F(OfficeLayoutTest, ATranslatedDocxKeepsItsTableListsFootnoteHeaderAndPicture) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
    const std::string original = std::string(TAVRICAT_TEST_DATA_DIR) + "/documents/generated_zh.docx";
    std::ifstream in(original, std::ios::binary);
    work.write("manual.docx", std::string(std::istreambuf_iterator<char>(in), {}));
    ASSERT_EQ(cli({"--direction", "ce", "tm", "use", "DemoCE"}).exitCode, 0);
    testing::CliRun translated = runCli({"--home", home.path(), "--direction", "ce", "translate", work.file("manual.docx"),
                                         "--fallback", "mt"},
                                        config.path(), {}, 300);
    ASSERT_EQ(translated.exitCode, 0) << translated.err;
    testing::CliRun target = runCli({"--home", home.path(), "--direction", "ce", "doc", "target", work.file("manual.bil"),
                                     "-o", work.file("manual-en.docx")},
                                    config.path(), {}, 300);
    ASSERT_EQ(target.exitCode, 0) << target.err;

    const std::string command = "cd '" + work.path() + "' && soffice --headless -env:UserInstallation=file://" +
                                work.path() + "/profile --convert-to fodt --outdir out manual-en.docx >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string xml = work.read("out/manual-en.fodt");
    ASSERT_FALSE(xml.empty());
    for (const char* element : {"<table:table ", "<text:list", "<text:note ", "<style:header", "<draw:image"})
        EXPECT_NE(xml.find(element), std::string::npos) << element;
    for (const char* place : {"table:table-cell", "text:list-item", "text:note-body", "style:header"}) {
        const std::string text = firstText(xml, place);
        EXPECT_FALSE(hasChinese(text)) << place << ": " << text;
        EXPECT_NE(text.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << place << ": " << text;
    }
}

}  // namespace
}  // namespace tavricat
