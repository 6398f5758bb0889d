// Files another tool wrote: translate-toolkit's po2tmx and po2xliff, made here from a PO file
// of our own. The TMX comes into the library with the right counts; the XLIFF gets its missing
// target, stays well-formed (xmllint) and reads back in translate-toolkit (xliff2po).
// Skipped, saying why, where translate-toolkit or xmllint is missing.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "support/cli_home_test.h"
#include "support/pdf_rendering.h"

namespace tavricat {
namespace {

using ExchangeToolsTest = testing::CliHomeTest;

std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

const char8_t* kPo = u8R"(msgid ""
msgstr ""
"Content-Type: text/plain; charset=UTF-8\n"
"Language: zh_CN\n"

#: manual.c:10
msgid "Switch off the pump before cleaning it."
msgstr "清洁前请关闭水泵。"

#: manual.c:11
msgid "The filter must be changed every six months."
msgstr "过滤器必须每六个月更换一次。"

#: manual.c:12
msgid "Switch off the pump before cleaning it!"
msgstr ""
)";

TEST_F(ExchangeToolsTest, TranslateToolkitsTmxAndXliffComeInAndGoBack) {
    for (const char* tool : {"po2tmx", "po2xliff", "xliff2po", "xmllint"})
        if (std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) != 0)
            GTEST_SKIP() << tool << " is not installed (packages translate-toolkit, libxml2-utils)";
    work.write("manual.po", utf8(kPo));
    const std::string in = "cd " + testing::shellQuote(work.path()) + " && ";
    ASSERT_EQ(testing::shell(in + "po2tmx -l zh_CN manual.po manual.tmx >/dev/null 2>&1"), 0);
    ASSERT_EQ(testing::shell(in + "po2xliff manual.po manual.xlf >/dev/null 2>&1"), 0);

    testing::CliRun imported = cli({"--direction", "ec", "--json", "tm", "import", work.file("manual.tmx")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const nlohmann::json counts = nlohmann::json::parse(imported.out);
    EXPECT_EQ(counts["units"], 2);
    EXPECT_EQ(counts["pairs"], 2);
    EXPECT_EQ(counts["added"] .get<int>() + counts["same"].get<int>(), 2);

    testing::CliRun translated = cli({"--direction", "ec", "--json", "translate", work.file("manual.xlf"), "-o",
                                      work.file("done.xlf"), "--fallback", "mt"});
    ASSERT_EQ(translated.exitCode, 0) << translated.err;
    const nlohmann::json xliff = nlohmann::json::parse(translated.out);
    EXPECT_EQ(xliff["kept"], 3);  // the header and the two translated units
    EXPECT_EQ(xliff["fuzzy"].get<int>() + xliff["machine"].get<int>() + xliff["exact"].get<int>(), 1);
    EXPECT_EQ(testing::shell("xmllint --noout " + testing::shellQuote(work.file("done.xlf")) + " 2>/dev/null"), 0);
    ASSERT_EQ(testing::shell(in + "xliff2po done.xlf back.po >/dev/null 2>&1"), 0);
    const std::string back = work.read("back.po");
    EXPECT_NE(back.find(utf8(u8"msgstr \"清洁前请关闭水泵。\"")), std::string::npos) << back;
    // The unit that had no translation has one now.
    const std::size_t last = back.find("msgid \"Switch off the pump before cleaning it!\"");
    ASSERT_NE(last, std::string::npos) << back;
    EXPECT_EQ(back.find("msgstr \"\"", last), std::string::npos) << back.substr(last);
}

}  // namespace
}  // namespace tavricat
