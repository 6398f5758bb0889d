// Updating the sentence library from files: the three kinds of input, the swap question,
// same sentences kept or overwritten, and the update of a whole file list.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/workbench_fixture.h"
#include "document/rtf_writer.h"
#include "memory/library_update.h"
#include "document/office_converter.h"
#include "support/scoped_environment.h"

#include <sys/stat.h>

namespace tavricat {
namespace {

class LibraryUpdateTest : public testing::WorkbenchFixture {
protected:
    void start(Direction direction = Direction::EC) {
        bench = makeWorkbench(direction);
        ASSERT_TRUE(bench->start().isOk());
        SortedFind at = bench->engine.termBase.find("zzterm");
        bench->engine.termBase.insertAt(at.index, "zzterm", "术语");
        update.emplace(LibraryUpdateContext{bench->sentenceLibrary,
                                            {bench->engine, bench->analysisOptions(), bench->grammar,
                                             bench->selectedDomainNames},
                                            fs,
                                            dialogs,
                                            nullptr});
    }
    FileUpdateCounts updateFrom(const std::string& name, const std::string& content, bool overwrite = true) {
        work.write(name, content);
        Result<FileUpdateCounts> counts = singleFileUpdate(*update, work.file(name), overwrite);
        EXPECT_TRUE(counts.isOk()) << counts.status().message();
        return counts ? *counts : FileUpdateCounts{};
    }
    const LineList& lines() const { return bench->sentenceLibrary.libSentences; }

    std::unique_ptr<Workbench> bench;
    std::optional<LibraryUpdateContext> update;
    testing::TempFolder work;
};

TEST_F(LibraryUpdateTest, SameSentencesAreOverwrittenOrKeptAndRepeatsAddedOnce) {
    start();
    FileUpdateCounts first = updateFrom("a.exs", "Good morning.^早上好。\r\n\r\nGood evening.^晚安。\r\nGood morning.^早安。\r\n");
    EXPECT_EQ(first.pairsRead, 3u);
    EXPECT_EQ(first.same, 1u);  // the repeat inside the file
    EXPECT_EQ(first.added(), 2u);
    EXPECT_EQ(first.librarySize, 2u);
    EXPECT_EQ(lines()[0], "03 good morning . ^早安。");

    FileUpdateCounts kept = updateFrom("b.exs", "Good evening.^夜安。\r\n", false);
    EXPECT_EQ(kept.same, 1u);
    EXPECT_EQ(lines()[1], "03 good evening . ^晚安。");
    updateFrom("c.exs", "Good evening.^夜安。\r\n", true);
    EXPECT_EQ(lines()[1], "03 good evening . ^夜安。");
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 2u);
}

// LibreOffice's part is played by a script that hands back the RTF in converted.rtf.
TEST_F(LibraryUpdateTest, OfficeDocumentsGiveTheirSegmentsOrTheirLines) {
    start();
    testing::TempFolder tools;
    tools.write("soffice", "#!/bin/sh\nwhile [ $# -gt 1 ]; do [ \"$1\" = --outdir ] && out=\"$2\"; shift; done\n"
                           "mkdir -p \"$out\" && cp '" + tools.file("converted.rtf") + "' \"$out/document.rtf\"\n");
    ::chmod(tools.file("soffice").c_str(), 0755);
    testing::ScopedEnvironment soffice(kSofficeVariable, tools.file("soffice").c_str());

    tools.write("converted.rtf", "{\\rtf1 \\{*>Good morning.<\\}90\\{>\\'d4\\'e7\\'c9\\'cf\\'ba\\'c3\\'a1\\'a3<*\\} Not a pair.}");
    FileUpdateCounts segments = updateFrom("done.docx", "zip bytes");
    EXPECT_EQ(segments.pairsRead, 1u);
    EXPECT_EQ(lines(), LineList{"03 good morning . ^早上好。"});

    tools.write("converted.rtf", "{\\rtf1 Good evening.\\par \\'cd\\'ed\\'b0\\'b2\\'a1\\'a3\\par}");
    FileUpdateCounts alternating = updateFrom("lines.odt", "zip bytes");
    EXPECT_EQ(alternating.added(), 1u);
    EXPECT_EQ(lines().back(), "03 good evening . ^晚安。");

    // No LibreOffice: the file fails with the update error and the reason.
    testing::ScopedEnvironment missing(kSofficeVariable, "/nonexistent/soffice");
    work.write("c.doc", "bytes");
    EXPECT_FALSE(singleFileUpdate(*update, work.file("c.doc"), true).isOk());
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_NE(dialogs.messages.back().find(kOfficeMissing), std::string::npos) << dialogs.messages.back();
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 2u);
}

TEST_F(LibraryUpdateTest, AlternatingLinesAndLibraryLinesBecomePairs) {
    start();
    // Five lines: two pairs, the odd last line dropped.
    FileUpdateCounts alternating = updateFrom("alt.txt", "Good morning.\r\n早上好。\r\nGood evening.\r\n晚安。\r\nalone\r\n");
    EXPECT_EQ(alternating.pairsRead, 2u);
    EXPECT_EQ(lines(), (LineList{"03 good morning . ^早上好。", "03 good evening . ^晚安。"}));
    // A library's own lines: the count dropped and the key analysed again; a tombstone and a
    // short line are skipped.
    FileUpdateCounts library =
        updateFrom("Other.RF0", "02 thank you . ^谢谢。\r\n03 ^\r\n03 good evening . ^晚安！\r\n");
    EXPECT_EQ(library.pairsRead, 3u);
    EXPECT_EQ(library.same, 1u);
    EXPECT_EQ(lines().back(), "02 thank you . ^谢谢。");
    EXPECT_EQ(lines()[1], "03 good evening . ^晚安！");
}

TEST_F(LibraryUpdateTest, AFileInTheOtherDirectionIsSwappedOrSkipped) {
    start(Direction::CE);
    // Chinese sources in CE: no question.
    FileUpdateCounts chinese = updateFrom("zh.exs", "早上好。^Good morning.\r\n");
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(chinese.added(), 1u);
    EXPECT_EQ(lines().back(), "02 早 上 好 。 ^Good morning.");  // the sentence spaced as the analysis needs

    dialogs.answers = {false};
    FileUpdateCounts skipped = updateFrom("en.exs", "Good evening.^晚安。\r\n");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], "系统发现原文与译文需要互换。互换吗（否则跳过文件:" + work.file("en.exs") + "）?");
    EXPECT_TRUE(skipped.skipped);
    EXPECT_EQ(skipped.pairsRead, 0u);
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 1u);

    dialogs.answers = {true};
    FileUpdateCounts swapped = updateFrom("en2.exs", "Good evening.^晚安。\r\n");
    EXPECT_EQ(swapped.added(), 1u);
    EXPECT_NE(lines().back().find("^Good evening."), std::string::npos) << lines().back();

    // An English source with an accented letter (double-byte in GBK) is still English.
    start(Direction::EC);
    dialogs.questions.clear();
    FileUpdateCounts accented = updateFrom("cafe.exs", "Caf\xA8\xA6 au lait.^咖啡牛奶。\r\n");
    EXPECT_TRUE(dialogs.questions.empty()) << dialogs.questions[0];
    EXPECT_EQ(accented.added(), 1u);
}

TEST_F(LibraryUpdateTest, AFileListIsConvertedUpdatedAndSaved) {
    start();
    RichText bilingual;
    bilingual.append("{*>Thank you.<}100{>谢谢。<*}\r\n", bilingual.defaultFormat());
    ASSERT_TRUE(saveRichTextFile(fs, work.file("doc.bil"), bilingual).isOk());
    work.write("more.exs", "Good evening.^晚安。\r\n");
    std::vector<std::string> told;  // what the window shows after each file
    const LibraryUpdateTotals totals = updateLibraryFromFiles(
        *update, {work.file("doc.bil"), work.file("missing.exs"), work.file("more.exs")}, true,
        bench->workspace().userDataFolder(), [&](std::size_t index, const std::string& input, const FileUpdateCounts* counts) {
            told.push_back(std::to_string(index) + " " + input + " " +
                           (counts ? std::to_string(counts->pairsRead) + "/" + std::to_string(counts->librarySize) : "failed"));
        });
    EXPECT_EQ(told, (std::vector<std::string>{"0 " + work.file("doc.exs") + " 1/1", "1 " + work.file("missing.exs") + " failed",
                                              "2 " + work.file("more.exs") + " 1/2"}));
    EXPECT_EQ(work.read("doc.exs"), "Thank you.^谢谢。\r\n");
    EXPECT_EQ(totals.pairsRead, 2u);
    EXPECT_EQ(totals.added, 2u);
    EXPECT_EQ(totals.failedFiles, std::vector<std::string>{work.file("missing.exs")});
    EXPECT_EQ(dialogs.messages.front(),
              "更新文件:" + work.file("missing.exs") + " 过程中出现错误！请仔细检查该文件的内容和格式。");
    EXPECT_EQ(dialogs.messages.back(), kUpdateDone);
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0"), "02 thank you . ^谢谢。\r\n03 good evening . ^晚安。\r\n");
}

// A library that can take no more stops the update with its message: the pairs that fit are
// stored and saved, the rest are counted as refused, and this file and the ones after it fail.
TEST_F(LibraryUpdateTest, AFullLibraryStopsTheUpdateAndFailsTheFiles) {
    start();
    LineList& stored = bench->sentenceLibrary.libSentences;
    stored.resize(kMaxExamples - 1, "01 ^");  // deleted examples hold their places
    work.write("a.exs", "Good morning.^早上好。\r\nGood evening.^晚安。\r\nGood night.^晚安。\r\n");
    work.write("b.exs", "Thank you.^谢谢。\r\n");
    const LibraryUpdateTotals totals = updateLibraryFromFiles(*update, {work.file("a.exs"), work.file("b.exs")}, true,
                                                              bench->workspace().userDataFolder());
    EXPECT_EQ(stored.size(), kMaxExamples);
    EXPECT_EQ(stored.back(), "03 good morning . ^早上好。");
    EXPECT_EQ(totals.pairsRead, 3u);
    EXPECT_EQ(totals.added, 1u);
    EXPECT_EQ(totals.refused, 2u);
    EXPECT_EQ(totals.failedFiles, (std::vector<std::string>{work.file("a.exs"), work.file("b.exs")}));
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(std::count(dialogs.messages.begin(), dialogs.messages.end(), std::string(kLibraryFull)), 1);
    EXPECT_TRUE(home.read("userdata/MySentsEC.rf0").ends_with("03 good morning . ^早上好。\r\n"));
}

TEST_F(LibraryUpdateTest, OnlyTheSameSourceIsTheSameSentence) {
    start();
    // "or" occurs inside "password": still another sentence.
    FileUpdateCounts counts = updateFrom("a.exs",
                                         "Enter your password and press OK.^输入密码并按确定。\r\n"
                                         "Enter your password or press OK.^输入密码或按确定。\r\n"
                                         "Enter your password.^输入密码。\r\n");
    EXPECT_EQ(counts.same, 0u);
    EXPECT_EQ(counts.added(), 3u);
    ASSERT_EQ(lines().size(), 3u);
    EXPECT_TRUE(lines()[0].ends_with(" and press ok . ^输入密码并按确定。")) << lines()[0];
    EXPECT_TRUE(lines()[1].ends_with(" or press ok . ^输入密码或按确定。")) << lines()[1];

    FileUpdateCounts again = updateFrom("b.exs", "Enter your password or press OK.^请输入密码或按确定。\r\n");
    EXPECT_EQ(again.same, 1u);
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_TRUE(lines()[0].ends_with("^输入密码并按确定。"));
    EXPECT_TRUE(lines()[1].ends_with("^请输入密码或按确定。"));
}

TEST_F(LibraryUpdateTest, ASentenceStaysTheSameAfterATermJoinsTwoOfItsWords) {
    start();
    updateFrom("a.exs", "Open the pump housing.^打开泵壳。\r\n");
    ASSERT_EQ(lines().size(), 1u);
    ASSERT_EQ(lines()[0], "05 open the pump housing . ^打开泵壳。");
    TermBase& terms = bench->engine.termBase;
    terms.insertAt(terms.find("pump housing").index, "pump housing", "泵壳^^n^");

    FileUpdateCounts again = updateFrom("b.exs", "Open the pump housing.^请打开泵壳。\r\n");
    EXPECT_EQ(again.same, 1u);
    EXPECT_EQ(lines(), LineList{"05 open the pump housing . ^请打开泵壳。"});
    // A new sentence now stores the term as one token.
    updateFrom("c.exs", "Close the pump housing.^关上泵壳。\r\n");
    EXPECT_EQ(lines().back(), "04 close the pump housing . ^关上泵壳。");
}

// The analysis copies the system-dictionary entries it meets into the term base; an update
// leaves the translator's term base as it found it.
TEST_F(LibraryUpdateTest, TheTermBaseIsLeftAsItWas) {
    start();
    const LineList keys = bench->engine.termBase.termKeys, entries = bench->engine.termBase.termEntries;
    updateFrom("a.exs", "Always switch off the power supply before you open the pump housing.^打开泵壳前务必关闭电源。\r\n");
    EXPECT_EQ(bench->engine.termBase.termKeys, keys);
    EXPECT_EQ(bench->engine.termBase.termEntries, entries);
    work.write("b.exs", "Children should not be allowed near the pump.^不应让儿童靠近水泵。\r\n");
    const LibraryUpdateTotals totals =
        updateLibraryFromFiles(*update, {work.file("b.exs")}, true, bench->workspace().userDataFolder());
    EXPECT_EQ(totals.added, 1u);
    EXPECT_EQ(bench->engine.termBase.termKeys, keys);
    EXPECT_EQ(bench->engine.termBase.termEntries, entries);
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 2u);
}

TEST_F(LibraryUpdateTest, ACutLineStopsItsFileAndKeepsThePairsBeforeIt) {
    const std::string updateError = "更新文件:" + work.file("cut.rf0") + " 过程中出现错误！请仔细检查该文件的内容和格式。";
    // The second line lost its "^" and translation; "0^" puts the only "^" inside the count.
    for (const std::string& cut : {std::string("03 good evening"), std::string("0^ good evening .")}) {
        SCOPED_TRACE(cut);
        start();
        work.write("cut.rf0", "02 thank you . ^谢谢。\r\n" + cut + "\r\n02 welcome . ^欢迎。\r\n");
        Result<FileUpdateCounts> counts = singleFileUpdate(*update, work.file("cut.rf0"), true);
        EXPECT_FALSE(counts.isOk());
        EXPECT_EQ(lines(), LineList{"02 thank you . ^谢谢。"});
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back(), updateError);
    }

    // In a file list the cut file fails, the others go on, and what was read is saved.
    dialogs.messages.clear();
    work.write("more.exs", "Good evening.^晚安。\r\nNo caret on this line\r\n");
    work.write("last.exs", "Welcome.^欢迎。\r\n");
    const LibraryUpdateTotals totals =
        updateLibraryFromFiles(*update, {work.file("cut.rf0"), work.file("more.exs"), work.file("last.exs")}, true,
                               bench->workspace().userDataFolder());
    EXPECT_EQ(totals.failedFiles, (std::vector<std::string>{work.file("cut.rf0"), work.file("more.exs")}));
    EXPECT_EQ(dialogs.messages.back(), kUpdateDone);
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0"),
              "02 thank you . ^谢谢。\r\n03 good evening . ^晚安。\r\n02 welcome . ^欢迎。\r\n");
}

TEST_F(LibraryUpdateTest, PairsWithAnEmptySideOrMarkersAreRefused) {
    start();
    FileUpdateCounts counts = updateFrom("a.exs",
                                         "Good morning.^   \r\n"
                                         "  ^早上好。\r\n"
                                         "Good {*>day.^日安。\r\n"
                                         "Good evening.^晚安<*}。\r\n"
                                         "Thank you.^谢谢。\r\n");
    EXPECT_EQ(counts.pairsRead, 5u);
    EXPECT_EQ(counts.refused, 4u);
    EXPECT_EQ(counts.added(), 1u);
    EXPECT_EQ(lines(), LineList{"02 thank you . ^谢谢。"});
}

TEST_F(LibraryUpdateTest, BilingualSegmentsThatMakeNoPairAreCountedAsRefused) {
    start();
    std::string text = "{*>Clean the ^filter.<}90{>清洁^过滤器。<*}\r\n{*>Thank you.<}100{>谢谢。<*}\r\n";
    for (int k = 0; k < 2000; ++k) text += "{*><}90{><*}";
    RichText bilingual;
    bilingual.append(text, bilingual.defaultFormat());
    ASSERT_TRUE(saveRichTextFile(fs, work.file("doc.bil"), bilingual).isOk());
    const LibraryUpdateTotals totals =
        updateLibraryFromFiles(*update, {work.file("doc.bil")}, true, bench->workspace().userDataFolder());
    EXPECT_EQ(work.read("doc.exs"), "Thank you.^谢谢。\r\n");
    EXPECT_EQ(totals.pairsRead, 2002u);
    EXPECT_EQ(totals.refused, 2001u);
    EXPECT_EQ(totals.added, 1u);
    EXPECT_EQ(lines(), LineList{"02 thank you . ^谢谢。"});
}

TEST_F(LibraryUpdateTest, SentenceFilesInUtf8AreConvertedOrRefused) {
    start();
    const std::string utf8 = reinterpret_cast<const char*>(u8"Good morning.^早上好。\r\nGood evening.^晚安。\r\n");
    // With a mark the source would look Chinese and the file be offered for swapping.
    FileUpdateCounts marked = updateFrom("bom.exs", "\xEF\xBB\xBF" + utf8);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(marked.added(), 2u);
    EXPECT_EQ(lines(), (LineList{"03 good morning . ^早上好。", "03 good evening . ^晚安。"}));
    FileUpdateCounts unmarked = updateFrom("plain.exs", reinterpret_cast<const char*>(u8"Welcome.^欢迎。\r\n"));
    EXPECT_EQ(unmarked.added(), 1u);
    EXPECT_EQ(lines().back(), "02 welcome . ^欢迎。");

    work.write("emoji.exs", reinterpret_cast<const char*>(u8"Smile.^\U0001F600\r\n"));
    Result<FileUpdateCounts> refused = singleFileUpdate(*update, work.file("emoji.exs"), true);
    EXPECT_FALSE(refused.isOk());
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().rfind("更新文件:" + work.file("emoji.exs"), 0), 0u);
    EXPECT_NE(dialogs.messages.back().find("U+1F600"), std::string::npos);
    EXPECT_EQ(lines().size(), 3u);
}

TEST(ExsPathTest, TheExtensionOfTheFileNameIsReplaced) {
    EXPECT_EQ(exsPathFor("/work/doc.bil"), "/work/doc.exs");
    EXPECT_EQ(exsPathFor("/work/v1.2/doc.BIL"), "/work/v1.2/doc.exs");
    EXPECT_EQ(exsPathFor("/work/v1.2/doc"), "/work/v1.2/doc.exs");
}

}  // namespace
}  // namespace tavricat
