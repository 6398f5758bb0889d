// tavricat-cli segment and doc, run as separate processes on files in a temporary folder.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "support/cli_home_test.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::runCli;
using testing::TempFolder;

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

class CliDocumentTest : public ::testing::Test {
protected:
    testing::CliRun cli(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--home", dir.path()});
        return runCli(arguments, config.path());
    }
    TempFolder dir;
    TempFolder config;
};

TEST_F(CliDocumentTest, SegmentPrintsTheSentencesOfEitherDirection) {
    dir.write("en.txt", "Is it? Yes. It is 3.5 m.\r\nNext line");
    testing::CliRun en = cli({"segment", dir.file("en.txt")});
    ASSERT_EQ(en.exitCode, 0) << en.err;
    EXPECT_EQ(en.out, "Is it? \nYes. \nIt is 3.5 m.\nNext line\n");

    dir.write("zh.txt", "你好。我们走吧！");
    testing::CliRun zh = cli({"--direction", "ce", "segment", dir.file("zh.txt")});
    ASSERT_EQ(zh.exitCode, 0) << zh.err;
    EXPECT_EQ(zh.out, utf8("你好。\n我们走吧！\n"));

    // The break settings come from the store.
    dir.write("lines.txt", "This is a\r\nlong sentence. Next");
    ASSERT_EQ(runCli({"settings", "set", "segmenting", "CLStop", "0"}, config.path()).exitCode, 0);
    EXPECT_EQ(cli({"segment", dir.file("lines.txt")}).out, "This is a  long sentence. \nNext\n");
}

TEST_F(CliDocumentTest, SegmentReadsRichText) {
    dir.write("a.rtf", "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 "
                       "\\'c4\\'e3\\'ba\\'c3\\'a1\\'a3\\par Done.}");
    testing::CliRun run = cli({"--direction", "ce", "segment", dir.file("a.rtf")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), utf8("你好。"));
}

TEST_F(CliDocumentTest, TargetAndPairsFromABilingualFile) {
    dir.write("a.bil", "A{*>x y.<}90{>甲。<*}B{*>z\r\nw.<}999{>乙。<*}C");
    testing::CliRun target = cli({"doc", "target", dir.file("a.bil"), "-o", dir.file("a.rtf")});
    ASSERT_EQ(target.exitCode, 0) << target.err;
    testing::CliRun seg = cli({"--direction", "ce", "segment", dir.file("a.rtf")});
    EXPECT_EQ(seg.out, utf8("A甲。\nB乙。\nC\n"));

    testing::CliRun pairs = cli({"doc", "pairs", dir.file("a.bil"), "-o", dir.file("a.exs")});
    ASSERT_EQ(pairs.exitCode, 0) << pairs.err;
    EXPECT_EQ(dir.read("a.exs"), "x y.^甲。\r\nz w.^乙。\r\n");
}

TEST_F(CliDocumentTest, LongSegmentsAreConvertedAndPaired) {
    const std::string source(2100, 'x');
    std::string target;
    for (int i = 0; i < 1100; ++i) target += "长";
    dir.write("long.bil", "A{*>" + source + "<}90{>" + target + "<*}B{*>s.<}80{>短。<*}");
    testing::CliRun converted = cli({"doc", "target", dir.file("long.bil"), "-o", dir.file("long.rtf")});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    testing::CliRun seg = cli({"--direction", "ce", "segment", dir.file("long.rtf")});
    EXPECT_EQ(seg.out, utf8("A" + target + "B短。\n"));
    testing::CliRun pairs = cli({"doc", "pairs", dir.file("long.bil"), "-o", dir.file("long.exs")});
    ASSERT_EQ(pairs.exitCode, 0) << pairs.err;
    EXPECT_EQ(dir.read("long.exs"), source + "^" + target + "\r\ns.^短。\r\n");
}

TEST_F(CliDocumentTest, BadInputGivesAMessageAndWritesNothing) {
    dir.write("open.bil", "A{*>never ended<}90{>x");
    dir.write("nested.bil", "{*>a{*>b<}1{>c<*}");
    for (const char* name : {"open.bil", "nested.bil"}) {
        testing::CliRun run = cli({"doc", "pairs", dir.file(name), "-o", dir.file("out.exs")});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_FALSE(run.err.empty()) << name;
        EXPECT_FALSE(dir.exists("out.exs")) << name;
        run = cli({"doc", "target", dir.file(name), "-o", dir.file("out.rtf")});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_FALSE(dir.exists("out.rtf")) << name;
    }
    testing::CliRun missing = cli({"segment", dir.file("nowhere.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.empty());
    dir.write("broken.rtf", "{\\rtf1\\ansi {\\fonttbl{\\f0 A;} \\'4");
    EXPECT_NE(cli({"segment", dir.file("broken.rtf")}).exitCode, 2);
}

// After `init` no term base is named in the settings; segmenting then uses the direction's
// default term base, as start-up does, so its abbreviations do not end sentences.
class CliSegmentTermBaseTest : public testing::CliHomeTest {};

TEST_F(CliSegmentTermBaseTest, TheDefaultTermBaseSuppliesAbbreviations) {
    work.write("a.txt", "Ask Rgn. Sales now. Then go.");
    EXPECT_EQ(cli({"segment", work.file("a.txt")}).out, "Ask Rgn. \nSales now. \nThen go.\n");
    // A term base that came with an abbreviation among its keys.
    home.write("userdata/MyDictEC.01", "rgn.\r\n");
    home.write("userdata/MyDictEC.02", "部门^n\r\n");
    testing::CliRun run = cli({"segment", work.file("a.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Ask Rgn. Sales now. \nThen go.\n");
}

}  // namespace
}  // namespace tavricat
