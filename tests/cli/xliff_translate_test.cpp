// translate FILE.xlf: an XLIFF 1.2 file as translate-toolkit's po2xliff writes it gets its
// targets from the library (state "translated" for a 100 % example) or the machine
// translation ("needs-review-translation"); units marked translate="no" and everything else
// of the file stay byte for byte.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "base/encoding.h"
#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using XliffTranslateTest = testing::CliHomeTest;

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

const char* kXliff = R"(<?xml version='1.0' encoding='UTF-8'?>
<xliff xmlns="urn:oasis:names:tc:xliff:document:1.2" version="1.2">
  <file original="manual.po" source-language="en-US" datatype="po" target-language="zh-CN">
    <body>
      <trans-unit xml:space="preserve" id="1" approved="no">
        <source>The pump must be checked every week.</source>
        <context-group name="po-reference" purpose="location"><context context-type="sourcefile">manual.c:12</context></context-group>
      </trans-unit>
      <trans-unit xml:space="preserve" id="2" approved="no">
        <source>Press <g id="1">Start</g> &amp; wait.</source>
        <target/>
      </trans-unit>
      <trans-unit xml:space="preserve" id="3" translate="no">
        <source>ACME</source>
      </trans-unit>
    </body>
  </file>
</xliff>
)";

TEST_F(XliffTranslateTest, TargetsAreWrittenAndEverythingElseIsKept) {
    ASSERT_EQ(cli({"--direction", "ec", "tm", "add", utf8("The pump must be checked every week.^水泵必须每周检查。")}).exitCode, 0);
    work.write("manual.xlf", kXliff);
    testing::CliRun run = cli({"--direction", "ec", "--json", "translate", work.file("manual.xlf"), "-o",
                               work.file("manual-zh.xlf"), "--fallback", "mt"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json counts = nlohmann::json::parse(run.out);
    EXPECT_EQ(counts["units"], 3);
    EXPECT_EQ(counts["exact"], 1);
    EXPECT_EQ(counts["machine"], 1);
    EXPECT_EQ(counts["skipped"], 1);

    const std::string out = work.read("manual-zh.xlf");
    pugi::xml_document parsed;
    ASSERT_TRUE(parsed.load_string(out.c_str())) << out;
    const pugi::xml_node body = parsed.child("xliff").child("file").child("body");
    pugi::xml_node unit = body.first_child();
    EXPECT_EQ(std::string(unit.child("target").attribute("state").as_string()), "translated");
    EXPECT_EQ(std::string(unit.child("target").text().as_string()), utf8("水泵必须每周检查。"));
    unit = unit.next_sibling();
    EXPECT_EQ(std::string(unit.child("target").attribute("state").as_string()), "needs-review-translation");
    EXPECT_TRUE(unit.child("target").child("g")) << "the inline element came back";
    EXPECT_FALSE(unit.next_sibling().child("target"));

    // Without the targets, the file is the original byte for byte.
    std::string stripped = out;
    for (std::size_t at = stripped.find("<target state="); at != std::string::npos; at = stripped.find("<target state=")) {
        const std::size_t end = stripped.find("</target>", at) + 9;
        stripped.erase(at, end - at);
    }
    std::string original = kXliff;
    original.erase(original.find("<target/>"), 9);
    EXPECT_EQ(stripped, original);
}

TEST_F(XliffTranslateTest, AFileThatIsNoXliffIsRefused) {
    work.write("notes.xlf", "plain words");
    EXPECT_EQ(cli({"--direction", "ec", "translate", work.file("notes.xlf")}).exitCode, 1);
}

}  // namespace
}  // namespace tavricat
