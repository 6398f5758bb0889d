// Term bases of other tools: a TBX-Basic file and a CSV glossary merge into the term base
// (part of speech, note and definition in their fields; entries without the target language
// skipped), and the term base written as TBX reads back to the same entries.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using TbxCommandsTest = testing::CliHomeTest;

std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

const char8_t* kTbx = u8R"(<?xml version="1.0" encoding="UTF-8"?>
<martif type="TBX-Basic" xml:lang="en"><martifHeader><fileDesc><sourceDesc><p>made by hand</p></sourceDesc></fileDesc></martifHeader>
<text><body>
<termEntry id="1"><descrip type="definition">A machine that moves water.</descrip>
 <langSet xml:lang="en"><tig><term>zzpump</term><termNote type="partOfSpeech">noun</termNote></tig></langSet>
 <langSet xml:lang="zh-CN"><tig><term>水泵</term></tig><tig><term>泵</term></tig></langSet></termEntry>
<termEntry id="2"><langSet xml:lang="en"><tig><term>zzdoor</term></tig></langSet><langSet xml:lang="fr"><tig><term>porte</term></tig></langSet></termEntry>
</body></text></martif>
)";

TEST_F(TbxCommandsTest, TbxAndGlossariesMergeAndTbxReadsBackTheSame) {
    work.write("terms.tbx", utf8(kTbx));
    ASSERT_EQ(cli({"--direction", "ec", "dict", "import", work.file("terms.tbx")}).exitCode, 0);
    testing::CliRun pump = cli({"--direction", "ec", "dict", "lookup", "zzpump"});
    ASSERT_EQ(pump.exitCode, 0);
    EXPECT_EQ(pump.out, encoding::gbkToUtf8Lossy("水泵|泵^^n^A machine that moves water.") + "\n");
    EXPECT_NE(cli({"--direction", "ec", "dict", "lookup", "zzdoor"}).exitCode, 0) << "no Chinese: not imported";

    work.write("glossary.csv", utf8(u8"source,target,note\nzzlid,盖子,\"of a box, a jar\"\n\"zzseal\",密封条,\n"));
    ASSERT_EQ(cli({"--direction", "ec", "dict", "import", work.file("glossary.csv")}).exitCode, 0);
    EXPECT_EQ(cli({"--direction", "ec", "dict", "lookup", "zzlid"}).out, encoding::gbkToUtf8Lossy("盖子^of a box, a jar^^") + "\n");

    ASSERT_EQ(cli({"--direction", "ec", "dict", "export", "MyDictEC", "-o", work.file("out.tbx")}).exitCode, 0);
    const std::string exported = work.read("out.tbx");
    EXPECT_NE(exported.find(utf8(u8"<term>水泵</term></tig><tig><term>泵</term>")), std::string::npos);
    EXPECT_NE(exported.find("<termNote type=\"partOfSpeech\">noun</termNote>"), std::string::npos);
    // Read back over the same entries, nothing changes.
    ASSERT_EQ(cli({"--direction", "ec", "dict", "import", work.file("out.tbx")}).exitCode, 0);
    EXPECT_EQ(cli({"--direction", "ec", "dict", "lookup", "zzpump"}).out, pump.out);
    EXPECT_EQ(cli({"--direction", "ec", "dict", "lookup", "zzlid"}).out, encoding::gbkToUtf8Lossy("盖子^of a box, a jar^^") + "\n");
}

TEST_F(TbxCommandsTest, ABrokenTbxIsRefusedWithItsReason) {
    work.write("broken.tbx", "<martif><text><body><termEntry>");
    testing::CliRun run = cli({"--direction", "ec", "dict", "import", work.file("broken.tbx")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("TBX"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tavricat
