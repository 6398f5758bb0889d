// TMX files written by other tools come into the library with the right counts; the library
// written out as TMX and read into an empty library gives the same library.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using TmxCommandsTest = testing::CliHomeTest;

// TMX files are UTF-8 whatever the character set of this file's narrow literals.
std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// As OmegaT's project_save.tmx writes units (TMX 1.1 "lang" attributes, upper-case codes).
const char8_t* kOmegaT = u8R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE tmx SYSTEM "tmx11.dtd">
<tmx version="1.1">
  <header creationtool="OmegaT" o-tmf="OmegaT TMX" adminlang="EN-US" datatype="plaintext" creationtoolversion="6.0.0" segtype="sentence" srclang="EN-US"/>
  <body>
    <tu>
      <tuv lang="EN-US"><seg>Switch off the pump before cleaning it.</seg></tuv>
      <tuv lang="ZH-CN" changeid="ann" changedate="20261201T101010Z"><seg>清洁前请关闭水泵。</seg></tuv>
    </tu>
    <tu>
      <tuv lang="EN-US"><seg>Press <bpt i="1">&lt;b&gt;</bpt>Start<ept i="1">&lt;/b&gt;</ept> &amp; wait.</seg></tuv>
      <tuv lang="ZH-CN"><seg>按<bpt i="1">&lt;b&gt;</bpt>开始<ept i="1">&lt;/b&gt;</ept>并等待。</seg></tuv>
    </tu>
  </body>
</tmx>
)";

// As translate-toolkit's po2tmx writes them (xml:lang, "zh_CN"), with units the library cannot take.
const char8_t* kToolkit = u8R"(<?xml version='1.0' encoding='utf-8'?>
<tmx version="1.4"><header adminlang="en" creationtool="Translate Toolkit" creationtoolversion="3.8" datatype="PlainText" o-tmf="UTF-8" segtype="sentence" srclang="en"/>
<body>
<tu><tuv xml:lang="en"><seg>The filter must be changed every six months.</seg></tuv><tuv xml:lang="zh_CN"><seg>过滤器必须每六个月更换一次。</seg></tuv></tu>
<tu><tuv xml:lang="en"><seg>Keep the door closed.</seg></tuv><tuv xml:lang="fr"><seg>Gardez la porte fermée.</seg></tuv></tu>
<tu><tuv xml:lang="en"><seg>Smile at the customer.</seg></tuv><tuv xml:lang="zh_CN"><seg>对顾客微笑😀。</seg></tuv></tu>
</body></tmx>
)";

TEST_F(TmxCommandsTest, FilesOfOtherToolsComeInWithTheRightCounts) {
    ASSERT_EQ(cli({"--direction", "ec", "tm", "new", "Imported"}).exitCode, 0);
    work.write("project_save.tmx", utf8(kOmegaT));
    work.write("po2tmx.tmx", utf8(kToolkit));
    testing::CliRun omegat = cli({"--direction", "ec", "--json", "tm", "import", work.file("project_save.tmx")});
    ASSERT_EQ(omegat.exitCode, 0) << omegat.err;
    nlohmann::json counts = nlohmann::json::parse(omegat.out);
    EXPECT_EQ(counts["units"], 2);
    EXPECT_EQ(counts["added"], 2);
    EXPECT_EQ(counts["examples"], 2);

    testing::CliRun toolkit = cli({"--direction", "ec", "--json", "tm", "import", work.file("po2tmx.tmx")});
    ASSERT_EQ(toolkit.exitCode, 0) << toolkit.err;
    counts = nlohmann::json::parse(toolkit.out);
    EXPECT_EQ(counts["units"], 3);
    EXPECT_EQ(counts["added"], 1);
    EXPECT_EQ(counts["other_languages"], 1);
    EXPECT_EQ(counts["not_gbk"], nlohmann::json::array({3}));

    // The same file again: the same sentences, nothing new.
    counts = nlohmann::json::parse(cli({"--direction", "ec", "--json", "tm", "import", work.file("po2tmx.tmx")}).out);
    EXPECT_EQ(counts["added"], 0);
    EXPECT_EQ(counts["same"], 1);

    // Inline markup became the program's tags.
    testing::CliRun found = cli({"--direction", "ec", "--json", "tm", "search", "Press <1:>Start<:1> & wait."});
    ASSERT_EQ(found.exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(found.out)["translation"], encoding::gbkToUtf8Lossy("按<1:>开始<:1>并等待。"));
}

TEST_F(TmxCommandsTest, ExportedAndImportedAgainTheLibraryIsTheSame) {
    ASSERT_EQ(cli({"--direction", "ec", "tm", "new", "First"}).exitCode, 0);
    work.write("in.tmx", utf8(kOmegaT));
    ASSERT_EQ(cli({"--direction", "ec", "tm", "import", work.file("in.tmx")}).exitCode, 0);
    ASSERT_EQ(cli({"--direction", "ec", "tm", "add", encoding::gbkToUtf8Lossy("Check the seal every week.^每周检查密封条。")}).exitCode, 0);
    testing::CliRun exported = cli({"--direction", "ec", "tm", "export", work.file("out.tmx")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_NE(exported.out.find("3 units"), std::string::npos) << exported.out;
    const std::string first = cli({"--direction", "ec", "tm", "list"}).out;

    ASSERT_EQ(cli({"--direction", "ec", "tm", "new", "Second"}).exitCode, 0);
    ASSERT_EQ(cli({"--direction", "ec", "tm", "import", work.file("out.tmx")}).exitCode, 0);
    EXPECT_EQ(cli({"--direction", "ec", "tm", "list"}).out, first);
    EXPECT_NE(work.read("out.tmx").find("<bpt i=\"1\"></bpt>"), std::string::npos);
}

TEST_F(TmxCommandsTest, AFileThatIsNoTmxIsRefused) {
    work.write("notes.tmx", "just some text\n");
    EXPECT_EQ(cli({"--direction", "ec", "tm", "import", work.file("notes.tmx")}).exitCode, 1);
}

TEST_F(TmxCommandsTest, AFileCutShortFailsAndKeepsTheUnitsBeforeTheCut) {
    const std::string whole = utf8(kOmegaT);
    work.write("cut.tmx", whole.substr(0, whole.find("<tu>", whole.find("</tu>")) + 20));
    testing::CliRun run = cli({"--direction", "ec", "tm", "import", work.file("cut.tmx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("TMX"), std::string::npos) << run.err;
    testing::CliRun found = cli({"--direction", "ec", "--json", "tm", "search", "Switch off the pump before cleaning it."});
    EXPECT_EQ(nlohmann::json::parse(found.out)["rate"], 100) << "the unit before the cut was stored";
}

}  // namespace
}  // namespace tavricat
