// Office documents opened and saved through LibreOffice: first with a script standing in for
// soffice (what it is asked, what it leaves behind, how its failures are told), then with the
// real LibreOffice, when it is installed.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <time.h>

#include <filesystem>

#include "document/document_files.h"
#include "document/document_io.h"
#include "document/office_converter.h"
#include "document/rtf_reader.h"
#include "document/sentence_getters.h"
#include "support/scoped_environment.h"
#include "support/scripted_ports.h"
#include "support/monotonic_clock.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::nowMs;
using testing::ScopedEnvironment;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A stand-in for soffice: records its arguments in args.txt, finds --convert-to's format and
// --outdir, then runs `body` ($1 is the input).
class FakeSofficeTest : public ::testing::Test {
protected:
    std::string fakeSoffice(const std::string& body) {
        tools.write("soffice", "#!/bin/sh\necho \"$@\" > '" + tools.file("args.txt") + "'\n" +
                                   "while [ $# -gt 1 ]; do case \"$1\" in --convert-to) format=\"${2%%:*}\";;"
                                   " --outdir) out=\"$2\";; esac; shift; done\n" + body + "\n");
        ::chmod(tools.file("soffice").c_str(), 0755);
        return tools.file("soffice");
    }
    // Converts by handing back result.rtf (to RTF) or a copy of the input (to anything else).
    std::string convertingSoffice() {
        return fakeSoffice("mkdir -p \"$out\"; cp \"$1\" '" + tools.file("input.bin") + "'\n" +
                           "if [ \"$format\" = rtf ]; then cp '" + tools.file("result.rtf") +
                           "' \"$out/document.rtf\"; else cp \"$1\" \"$out/document.$format\"; fi");
    }
    DocumentContext context() {
        return DocumentContext{fs, dialogs, progress, dir.path(), [this](const std::string& p) { touched.push_back(p); }};
    }

    testing::TempFolder dir, tools;
    DiskFileSystem fs;
    testing::ScriptedDialogs dialogs;
    testing::RecordingProgress progress;
    std::vector<std::string> touched;
    Document document;
    PosixProcessRunner runner;
};

TEST_F(FakeSofficeTest, AnOfficeDocumentOpensAsTheRtfLibreOfficeMakesOfIt) {
    ScopedEnvironment soffice(kSofficeVariable, convertingSoffice().c_str());
    tools.write("result.rtf", "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 "
                              "First one. Second one.\\par \\'c4\\'e3\\'ba\\'c3\\'a1\\'a3}");
    dir.write("report.docx", "PK-bytes-of-a-document");
    DocumentContext ctx = context();
    ASSERT_TRUE(openAfile(document, ctx, dir.file("report.docx")).isOk()) << dialogs.messages.back();
    EXPECT_EQ(document.source.text(), "First one. Second one.\r\n你好。");
    EXPECT_EQ(document.bilingual.text(), document.source.text());
    EXPECT_EQ(document.bilingualPath, dir.file("report.bil"));
    EXPECT_FALSE(document.source.modified());
    EXPECT_EQ(tools.read("input.bin"), "PK-bytes-of-a-document");

    // soffice got a copy under a fixed name in a scratch folder with a private profile in it;
    // the folder is gone afterwards.
    const std::string args = tools.read("args.txt");
    const std::size_t input = args.rfind(' ') + 1;
    EXPECT_TRUE(args.ends_with("/document.docx\n")) << args;
    const std::string scratch = args.substr(input, args.rfind('/') - input);
    EXPECT_TRUE(contains(args, "-env:UserInstallation=file://" + scratch + "/profile ")) << args;
    EXPECT_FALSE(std::filesystem::exists(scratch));

    // A bilingual file beside it is opened as for any source; the sentences are found.
    dir.write("report.bil", "{*>First one.<}90{>第一。<*} Second one.");
    ASSERT_TRUE(openAfile(document, ctx, dir.file("report.docx")).isOk());
    EXPECT_EQ(document.bilingual.text(), "{*>First one.<}90{>第一。<*} Second one.");
    document.source.setCaret(0);
    const std::vector<std::string> noWords;
    SortedListsLookup none({&noWords});
    EXPECT_EQ(getASentEC(document.source, BreakOptions{}, none).sentence, "First one. ");
}

TEST_F(FakeSofficeTest, TheTargetIsSavedInTheFormatItsNameAsksFor) {
    ScopedEnvironment soffice(kSofficeVariable, convertingSoffice().c_str());
    Result<RichText> bilingual = readRichText("{*>One.<}90{>一。<*}");
    ASSERT_TRUE(bilingual.isOk());
    document.bilingual = std::move(*bilingual);
    DocumentContext ctx = context();

    ASSERT_TRUE(writeTarget(document, ctx, dir.file("out.docx")).isOk());
    // The stand-in copies its input: the RTF writer's output of the target alone.
    Result<RichText> written = readRichText(dir.read("out.docx"));
    ASSERT_TRUE(written.isOk());
    EXPECT_EQ(written->text(), "一。");

    // Through the dialog: an office name keeps its extension, any other gets ".rtf".
    dialogs.inputs = {dir.file("b.odt"), dir.file("c")};
    ASSERT_TRUE(saveTarget(document, ctx).isOk());
    EXPECT_TRUE(dir.exists("b.odt"));
    ASSERT_TRUE(saveTarget(document, ctx).isOk());
    EXPECT_TRUE(dir.exists("c.rtf"));
}

TEST_F(FakeSofficeTest, FailuresAreToldAndLeaveFilesAndDocumentAsTheyWere) {
    dir.write("a.docx", "document");
    dir.write("old.docx", "the earlier target");
    Result<RichText> bilingual = readRichText("Text.");
    ASSERT_TRUE(bilingual.isOk());
    document.bilingual = std::move(*bilingual);
    document.currentPath = "earlier.txt";
    DocumentContext ctx = context();

    struct Case {
        std::string body, expected;
    };
    for (const Case& c : {Case{"echo 'Error: source file could not be loaded' >&2; exit 3", "LibreOffice 转换文件失败"},
                          Case{"echo 'no export filter' >&2; exit 0", "LibreOffice 没有生成转换结果"}}) {
        SCOPED_TRACE(c.body);
        ScopedEnvironment soffice(kSofficeVariable, fakeSoffice(c.body).c_str());
        dialogs.messages.clear();
        EXPECT_FALSE(openAfile(document, ctx, dir.file("a.docx")).isOk());
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(contains(dialogs.messages[0], c.expected)) << dialogs.messages[0];
        EXPECT_TRUE(contains(dialogs.messages[0], dir.file("a.docx")));
        // What soffice said is part of the message.
        EXPECT_TRUE(contains(dialogs.messages[0], c.body.substr(6, 10))) << dialogs.messages[0];
        EXPECT_EQ(document.currentPath, "earlier.txt");
        EXPECT_EQ(document.bilingual.text(), "Text.");

        EXPECT_FALSE(writeTarget(document, ctx, dir.file("old.docx")).isOk());
        EXPECT_EQ(dir.read("old.docx"), "the earlier target");
    }

    // No LibreOffice: the same, with the message that says so.
    ScopedEnvironment missing(kSofficeVariable, "/nonexistent/soffice");
    dialogs.messages.clear();
    Status opened = openAfile(document, ctx, dir.file("a.docx"));
    EXPECT_EQ(opened.kind(), ErrorKind::NotFound);
    EXPECT_TRUE(opened.message().starts_with(kOfficeMissing)) << opened.message();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{opened.message()});
    EXPECT_EQ(touched.back(), dir.file("a.docx"));
    EXPECT_EQ(document.bilingual.text(), "Text.");
    EXPECT_FALSE(writeTarget(document, ctx, dir.file("old.docx")).isOk());
    EXPECT_EQ(dir.read("old.docx"), "the earlier target");
    // Text and RTF need no LibreOffice.
    dir.write("plain.txt", "Plain.");
    EXPECT_TRUE(openAfile(document, ctx, dir.file("plain.txt")).isOk());
}

TEST_F(FakeSofficeTest, AConversionOverTheTimeLimitIsStoppedQuickly) {
    OfficeConverter converter(runner, {300, fakeSoffice("sleep 30")});
    dir.write("slow.odt", "document");
    const long long started = nowMs();
    Result<std::string> rtf = converter.toRtf(fs, dir.file("slow.odt"));
    EXPECT_LT(nowMs() - started, 5000);
    ASSERT_FALSE(rtf.isOk());
    EXPECT_EQ(rtf.status().kind(), ErrorKind::Io);
    EXPECT_TRUE(contains(rtf.status().message(), "超时")) << rtf.status().message();
}

TEST_F(FakeSofficeTest, RtfTheReaderRefusesIsTriedThroughLibreOffice) {
    const std::string deep = "{\\rtf1 " + std::string(kMaxRtfDepth + 10, '{') + "x" + std::string(kMaxRtfDepth + 10, '}') + "}";
    dir.write("deep.rtf", deep);
    ASSERT_EQ(loadRichTextFile(fs, dir.file("deep.rtf")).status().kind(), ErrorKind::BadInput);

    tools.write("result.rtf", "{\\rtf1\\ansi Flattened.}");
    OfficeConverter converter(runner, {5000, convertingSoffice()});
    Result<RichText> retried = loadDocumentFile(fs, dir.file("deep.rtf"), converter);
    ASSERT_TRUE(retried.isOk()) << retried.status().message();
    EXPECT_EQ(retried->text(), "Flattened.");

    // Without LibreOffice the reader's own refusal stands.
    OfficeConverter absent(runner, {5000, "/nonexistent/soffice"});
    EXPECT_EQ(loadDocumentFile(fs, dir.file("deep.rtf"), absent).status().kind(), ErrorKind::BadInput);
}

// The real LibreOffice: documents it makes from our RTF are opened, and a target saved as
// .docx reads back. About six conversions of a few seconds each.
TEST(OfficeDocumentsTest, DocumentsMadeByLibreOfficeOpenAndSave) {
    ScopedEnvironment noOverride(kSofficeVariable, nullptr);
    if (!defaultOfficeConverter().available()) GTEST_SKIP() << "LibreOffice is not installed";
    testing::TempFolder dir;
    DiskFileSystem fs;
    testing::ScriptedDialogs dialogs;
    testing::RecordingProgress progress;
    DocumentContext context{fs, dialogs, progress, dir.path(), {}};
    OfficeConverter& converter = defaultOfficeConverter();

    Result<RichText> made = readRichText("The first sentence. The second sentence.\r\n第三句话。\r\n");
    ASSERT_TRUE(made.isOk());
    ASSERT_TRUE(saveDocumentFile(fs, dir.file("made.docx"), *made).isOk());
    ASSERT_TRUE(saveDocumentFile(fs, dir.file("made.odt"), *made).isOk());
    EXPECT_TRUE(dir.read("made.docx").starts_with("PK"));
    EXPECT_TRUE(dir.read("made.odt").starts_with("PK"));

    Document document;
    ASSERT_TRUE(openAfile(document, context, dir.file("made.docx")).isOk());
    EXPECT_TRUE(contains(document.source.text(), "The first sentence. The second sentence.")) << document.source.text();
    EXPECT_TRUE(contains(document.source.text(), "第三句话。"));
    const std::vector<std::string> noWords;
    SortedListsLookup none({&noWords});
    document.source.setCaret(0);
    EXPECT_EQ(getASentEC(document.source, BreakOptions{}, none).sentence, "The first sentence. ");

    Result<RichText> odt = loadDocumentFile(fs, dir.file("made.odt"));
    ASSERT_TRUE(odt.isOk()) << odt.status().message();
    EXPECT_TRUE(contains(odt->text(), "第三句话。"));

    // A translated document saved as .docx holds the translation, not the markup.
    Result<RichText> bilingual = readRichText("{*>The first sentence.<}90{>第一句。<*} Rest.");
    ASSERT_TRUE(bilingual.isOk());
    document.bilingual = std::move(*bilingual);
    ASSERT_TRUE(writeTarget(document, context, dir.file("target.docx")).isOk());
    Result<std::string> back = converter.toRtf(fs, dir.file("target.docx"));
    ASSERT_TRUE(back.isOk()) << back.status().message();
    Result<RichText> backText = readRichText(*back);
    ASSERT_TRUE(backText.isOk());
    EXPECT_TRUE(contains(backText->text(), "第一句。 Rest.")) << backText->text();
    EXPECT_FALSE(contains(backText->text(), "{*>"));
}

}  // namespace
}  // namespace tavricat
