// The commands that take documents, on office documents: without LibreOffice they fail with
// the message that says so; with it a target saved as .docx is read again by segment and by
// the library update.

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/cli_home_test.h"

namespace tavricat {
namespace {

std::string u8(const char8_t* text) { return reinterpret_cast<const char*>(text); }
bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class OfficeCliTest : public testing::CliHomeTest {
protected:
    testing::CliRun cliWith(const std::string& soffice, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--home", home.path()});
        return testing::runCli(arguments, config.path(), {"TAVRICAT_SOFFICE=" + soffice}, 300);
    }
};

TEST_F(OfficeCliTest, WithoutLibreOfficeOfficeDocumentsAreRefusedWithTheReason) {
    const std::string missing = "/nonexistent/soffice";
    const std::string told = u8(u8"未找到 LibreOffice");
    work.write("a.docx", "not read");
    work.write("a.bil", "{*>One.<}90{>一。<*}");

    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"segment", work.file("a.docx")}, {"translate", work.file("a.docx")},
          {"doc", "target", work.file("a.bil"), "-o", work.file("t.docx")}, {"tm", "update", work.file("a.docx")}}) {
        SCOPED_TRACE(command.front());
        testing::CliRun run = cliWith(missing, command);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(contains(run.out + run.err, told)) << run.out << run.err;
    }
    EXPECT_FALSE(work.exists("t.docx"));
    EXPECT_FALSE(work.exists("a.bil.docx"));

    // The analysis leaves them out and says why, and counts the rest.
    work.write("b.txt", "I have a book.\r\n");
    testing::CliRun analysis =
        cliWith(missing, {"analyse-project", work.file("a.docx"), work.file("b.txt"), "--log", work.file("log.txt")});
    EXPECT_EQ(analysis.exitCode, 0) << analysis.err;
    EXPECT_TRUE(contains(analysis.out + analysis.err, told)) << analysis.out << analysis.err;
}

TEST_F(OfficeCliTest, ATargetSavedAsDocxIsReadBackBySegmentAndTheLibraryUpdate) {
    const std::string soffice = "";  // empty: found on PATH as usual
    if (system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
    // A bilingual file without segments: its target is its text, source and translation
    // lines alternating.
    work.write("pairs.bil", "I have a red pen.\r\n我有一支红笔。\r\n");
    testing::CliRun target = cliWith(soffice, {"doc", "target", work.file("pairs.bil"), "-o", work.file("pairs.docx")});
    ASSERT_EQ(target.exitCode, 0) << target.err;
    ASSERT_TRUE(work.read("pairs.docx").starts_with("PK"));

    testing::CliRun segment = cliWith(soffice, {"segment", work.file("pairs.docx")});
    ASSERT_EQ(segment.exitCode, 0) << segment.err;
    EXPECT_TRUE(segment.out.starts_with("I have a red pen.\n")) << segment.out;

    testing::CliRun update = cliWith(soffice, {"tm", "update", work.file("pairs.docx")});
    ASSERT_EQ(update.exitCode, 0) << update.out << update.err;
    EXPECT_TRUE(contains(update.out, "pairs: 1  same: 0  new: 1")) << update.out;
}

}  // namespace
}  // namespace tavricat
