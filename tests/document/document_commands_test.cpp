// Opening and saving documents, the views, merging and un-translating segments.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "document/document_files.h"
#include "document/document_views.h"
#include "document/rtf_reader.h"
#include "document/segment_edit.h"
#include "document/segment_writer.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::FaultyFileSystem;
using testing::FsOp;

class DocumentTest : public ::testing::Test {
protected:
    DocumentContext context() {
        return DocumentContext{fs, dialogs, progress, dir.path(), [this](const std::string& p) { touched.push_back(p); }};
    }
    std::string loadText(const std::string& name) {
        Result<RichText> loaded = loadRichTextFile(fs, dir.file(name));
        return loaded ? loaded->text() : "<unreadable>";
    }
    testing::TempFolder dir;
    FaultyFileSystem fs;
    testing::ScriptedDialogs dialogs;
    testing::RecordingProgress progress;
    std::vector<std::string> touched;
    Document document;
};

TEST_F(DocumentTest, OpeningUsesTheBilingualFileWhenThereIsOne) {
    dir.write("a.txt", "Hello.\r\n");
    DocumentContext ctx = context();
    ASSERT_TRUE(openAfile(document, ctx, dir.file("a.txt")).isOk());
    EXPECT_EQ(document.source.text(), "Hello.\r\n");
    EXPECT_EQ(document.bilingual.text(), "Hello.\r\n");
    EXPECT_EQ(document.bilingualPath, dir.file("a.bil"));
    EXPECT_FALSE(document.bilingual.modified());
    EXPECT_EQ(touched, (std::vector<std::string>{dir.file("a.txt")}));

    // The first save writes a.bil without a dialog; opening again shows it.
    document.bilingual.select(0, 6);
    ASSERT_TRUE(addatarget(document.bilingual, "你好。", TargetWrite{}).isOk());
    EXPECT_TRUE(document.bilingual.modified());
    ASSERT_TRUE(saveBilingual(document, ctx).isOk());
    EXPECT_FALSE(document.bilingual.modified());
    EXPECT_TRUE(dialogs.questions.empty());
    Document reopened;
    ASSERT_TRUE(openAfile(reopened, ctx, dir.file("a.txt")).isOk());
    EXPECT_EQ(reopened.source.text(), "Hello.\r\n");
    EXPECT_EQ(reopened.bilingual.text(), "{*>Hello.<}999{>你好。<*}\r\n");
    EXPECT_TRUE(reopened.bilingual.formatAt(0).isProtected);
}

TEST_F(DocumentTest, AFailedOpenKeepsTheOpenDocumentAndStillTouchesTheRecentList) {
    dir.write("a.txt", "Kept.");
    DocumentContext ctx = context();
    ASSERT_TRUE(openAfile(document, ctx, dir.file("a.txt")).isOk());
    EXPECT_FALSE(openAfile(document, ctx, dir.file("missing.txt")).isOk());
    EXPECT_EQ(document.source.text(), "Kept.");
    EXPECT_EQ(document.currentPath, dir.file("a.txt"));
    EXPECT_EQ(touched.back(), dir.file("missing.txt"));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(progress.events.back(), "hide");
}

TEST_F(DocumentTest, ADocumentWithCharactersGbkCannotHoldOpensWithAWarning) {
    DocumentContext ctx = context();
    // ü is GBK, ş is held in its user-defined area; Tibetan and a lone surrogate are lost.
    dir.write("tr.rtf", R"({\rtf1\ansi G\u252?zel \u351?ehir, \u3904?\u-10179?x.\par})");
    ASSERT_TRUE(openAfile(document, ctx, dir.file("tr.rtf")).isOk());
    EXPECT_EQ(document.source.text(), "Güzel " + encoding::toGbk(reinterpret_cast<const char*>(u8"\u015F")) + "ehir, ??x.\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find(" 2 "), std::string::npos) << dialogs.messages[0];

    dialogs.messages.clear();
    dir.write("ok.rtf", R"({\rtf1\ansi caf\u233?.\par})");
    ASSERT_TRUE(openAfile(document, ctx, dir.file("ok.rtf")).isOk());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DocumentTest, SavingThroughTheDialogAsksBeforeReplacingAndKeepsTheFlagUntilWritten) {
    document.bilingual.append("text", CharFormat{});
    document.bilingual.setModified(true);
    DocumentContext ctx = context();
    dir.write("old.bil", "precious");
    dialogs.inputs = {dir.file("old")};  // becomes old.bil, which exists
    dialogs.answers = {false};
    EXPECT_FALSE(saveBilingual(document, ctx).isOk());
    EXPECT_EQ(dialogs.questions, (std::vector<std::string>{"本文件已存在，要替换吗?"}));
    EXPECT_EQ(dir.read("old.bil"), "precious");
    EXPECT_TRUE(document.bilingual.modified());  // nothing was saved
    dialogs.inputs = {dir.file("new")};
    ASSERT_TRUE(saveBilingual(document, ctx).isOk());
    EXPECT_EQ(document.bilingualPath, dir.file("new.bil"));
    EXPECT_EQ(loadText("new.bil"), "text");
    EXPECT_FALSE(document.bilingual.modified());
}

TEST_F(DocumentTest, AFailedSaveKeepsTheOldFile) {
    dir.write("a.bil", "old bilingual");
    document.bilingualPath = dir.file("a.bil");
    document.bilingual.append("new", CharFormat{});
    document.bilingual.setModified(true);
    fs.failOn(FsOp::Write, ".tmp-save");
    DocumentContext ctx = context();
    EXPECT_FALSE(saveBilingual(document, ctx).isOk());
    EXPECT_EQ(dir.read("a.bil"), "old bilingual");
    EXPECT_TRUE(document.bilingual.modified());
}

TEST_F(DocumentTest, TargetSaveAndTargetView) {
    document.bilingual.append("A{*>x<}90{>X<*}B", CharFormat{});
    document.bilingual.select(2, 3);
    DocumentContext ctx = context();
    dialogs.inputs = {dir.file("out")};
    ASSERT_TRUE(saveTarget(document, ctx).isOk());
    EXPECT_EQ(loadText("out.rtf"), "AXB");
    EXPECT_EQ(document.bilingual.selStart(), 2u);  // the bilingual selection is restored
    ASSERT_TRUE(changeView(document, ctx, DocumentView::Target).isOk());
    EXPECT_EQ(document.target.text(), "AXB");
    EXPECT_TRUE(dir.exists("$tempfile.tmp"));
    ASSERT_TRUE(changeView(document, ctx, DocumentView::Source).isOk());
    EXPECT_TRUE(document.target.empty());
    // The target never replaces the bilingual file.
    document.bilingualPath = dir.file("a.bil");
    EXPECT_FALSE(writeTarget(document, ctx, dir.file("a.bil")).isOk());
    EXPECT_FALSE(dir.exists("a.bil"));
}

TEST_F(DocumentTest, ReplacingTheBilingualTextBySourceAsksFirst) {
    document.source.append("source", CharFormat{});
    document.bilingual.append("{*>b<}1{>c<*}", CharFormat{});
    DocumentContext ctx = context();
    EXPECT_FALSE(replaceBilingualBySource(document, ctx));
    EXPECT_EQ(document.bilingual.text(), "{*>b<}1{>c<*}");
    dialogs.answers = {true};
    EXPECT_TRUE(replaceBilingualBySource(document, ctx));
    EXPECT_EQ(document.bilingual.text(), "source");
}

// Builds a bilingual buffer the way confirming does, with protected markers.
RichText confirmed(const std::vector<std::pair<std::string, std::pair<std::string, double>>>& parts) {
    RichText rt;
    for (const auto& [source, target] : parts) {
        std::size_t at = rt.size();
        rt.append(source, CharFormat{});
        if (target.first.empty()) continue;
        rt.select(at, source.size());
        TargetWrite how;
        how.similarity = target.second;
        EXPECT_TRUE(addatarget(rt, target.first, how).isOk());
    }
    return rt;
}

TEST_F(DocumentTest, MergeJoinsSourcesAndTranslations) {
    document.bilingual = confirmed({{"A.", {"甲。", 0.9}}, {" ", {"", 0}}, {"B.", {"乙。", 0.8}}});
    ASSERT_EQ(document.bilingual.text(), "{*>A.<}90{>甲。<*} {*>B.<}80{>乙。<*}");
    document.bilingual.select(4, 20);
    ASSERT_TRUE(mergeSegments(document, Direction::EC).isOk());
    EXPECT_EQ(document.bilingual.text(), "{*>A. B.<}90{>甲。乙。<*}");
    EXPECT_TRUE(document.bilingual.formatAt(0).isProtected);

    document.bilingual = confirmed({{"甲。", {"A.", 0.9}}, {"乙。", {"B.", 0.8}}});
    document.bilingual.select(4, 25);
    ASSERT_TRUE(mergeSegments(document, Direction::CE).isOk());
    EXPECT_EQ(document.bilingual.text(), "{*>甲。乙。<}90{>A. B.<*}");
}

TEST_F(DocumentTest, MergeTakesSegmentsOfAnyLength) {
    // Built by push_back: GCC 12 takes `std::string(n, c) + "."` for an out-of-bounds copy.
    const std::string longSource = [] {
        std::string text(30000, 'a');
        text.push_back('.');
        return text;
    }();
    document.bilingual = confirmed({{"A.", {"甲。", 0.9}}, {longSource, {"乙。", 0.8}}});
    document.bilingual.select(4, 20);
    ASSERT_TRUE(mergeSegments(document, Direction::EC).isOk());
    EXPECT_TRUE(document.bilingual.text() == "{*>A. " + longSource + "<}90{>甲。乙。<*}");
}

TEST_F(DocumentTest, MergeRefusesSelectionsOutsideSegmentsAndBrokenMarkup) {
    document.bilingual = confirmed({{"x ", {"", 0}}, {"A.", {"甲。", 0.9}}, {" tail", {"", 0}}});
    const std::string before = document.bilingual.text();
    document.bilingual.select(0, 1);  // ends outside any segment
    EXPECT_FALSE(mergeSegments(document, Direction::EC).isOk());
    document.bilingual.select(before.size() - 2, 2);
    EXPECT_FALSE(mergeSegments(document, Direction::EC).isOk());
    EXPECT_EQ(document.bilingual.text(), before);

    document.bilingual.clear();
    document.bilingual.append("{*>A.<}9{>a<}b<}c<*}", CharFormat{});
    document.bilingual.select(3, 5);
    EXPECT_FALSE(mergeSegments(document, Direction::EC).isOk());
    EXPECT_EQ(document.bilingual.text(), "{*>A.<}9{>a<}b<}c<*}");
}

TEST_F(DocumentTest, UntranslateLeavesThePlainSourceOfOneSegment) {
    document.bilingual = confirmed({{"A.", {"甲。", 0.9}}, {" ", {"", 0}}, {"B.", {"乙。", 0.8}}});
    document.bilingual.select(4, 22);  // runs on into the second segment
    ASSERT_TRUE(untranslateSegment(document).isOk());
    EXPECT_EQ(document.bilingual.text(), "A. {*>B.<}80{>乙。<*}");
    EXPECT_FALSE(document.bilingual.formatAt(0).isProtected);
    EXPECT_TRUE(document.bilingual.erase(0, 1));  // plain text again: editable
}

}  // namespace
}  // namespace tavricat
