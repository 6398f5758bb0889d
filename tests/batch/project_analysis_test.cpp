// Project analysis over a started workbench: counting, temporary entries and use marks, the
// log, the comparison, the exports, and a library that comes back unchanged.

#include <gtest/gtest.h>

#include "app/workbench_fixture.h"
#include "batch/analysis_marks.h"
#include "app/project_analysis_context.h"
#include "batch/project_analysis.h"
#include "batch/project_exports.h"
#include "document/document_io.h"
#include "document/rtf_reader.h"
#include "support/scoped_environment.h"

namespace tavricat {
namespace {

class ProjectAnalysisTest : public testing::WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        add("I have a book.^我有一本书。");
        add("The weather is good today.^今天天气很好。");
        analysis = std::make_unique<ProjectAnalysis>(projectAnalysisContext(*bench), [this] { return times[clockCalls++ % 2]; });
        ASSERT_TRUE(analysis->open().isOk());
    }

    void add(const char* pair) {
        ASSERT_TRUE(bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), pair).isOk());
    }

    std::string project(const std::string& name, const std::string& text) {
        work.write(name, text);
        return work.file(name);
    }

    std::string libraryFiles() {
        return home.read("userdata/MySentsEC.rf0") + home.read("userdata/MySentsEC.rf1") +
               home.read("userdata/MySentsEC.rf2");
    }

    const SentenceLibrary& library() const { return bench->sentenceLibrary; }

    std::unique_ptr<Workbench> bench;
    std::unique_ptr<ProjectAnalysis> analysis;
    const char* times[2] = {"2026-01-01   08:00:00", "2026-01-01   08:00:05"};
    int clockCalls = 0;
    testing::TempFolder work;
};

TEST_F(ProjectAnalysisTest, ASentenceThreeTimesIsOneNewSentenceAndTwoRepeats) {
    const std::string file = project("p.txt", "Good morning everyone. Good morning everyone. Good morning everyone.\r\n");
    Result<AnalysisOutcome> outcome = analysis->analyse({file}, 80, work.file("log.txt"));
    ASSERT_TRUE(outcome.isOk()) << outcome.status().message();
    const AnalysisCounters& totals = outcome->totals;
    EXPECT_EQ(totals.sentences, 3);
    EXPECT_EQ(totals.noMatch.sentences, 1);
    EXPECT_EQ(totals.repeated.sentences, 2);
    EXPECT_EQ(totals.repeated.words, 2 * totals.noMatch.words);
    ASSERT_EQ(library().exampleCount(), 3u);
    EXPECT_EQ(temporaryCount(library().libSentences[2]), 3);
    EXPECT_EQ(temporarySentence(library().libSentences[2]), "Good morning everyone.  ");

    EXPECT_EQ(repeatedNewSentences(library(), 3), (LineList{"Good morning everyone.  ", ""}));
    EXPECT_TRUE(repeatedNewSentences(library(), 4).empty());
    EXPECT_EQ(exportedCountMessage(1), "共导出 1 个句子!");
}

TEST_F(ProjectAnalysisTest, AFuzzyMatchOfANewSentenceIsNoMatchAndAddsNothing) {
    const std::string file = project("p.txt", "Good morning dear everyone. Good morning dear friends.\r\n");
    Result<AnalysisOutcome> outcome = analysis->analyse({file}, 70, work.file("log.txt"));
    ASSERT_TRUE(outcome.isOk());
    EXPECT_EQ(outcome->totals.noMatch.sentences, 2);
    EXPECT_EQ(outcome->totals.repeated.sentences, 0);
    // Only the first sentence became a temporary entry, still counted once.
    ASSERT_EQ(library().exampleCount(), 3u);
    EXPECT_EQ(temporaryCount(library().libSentences[2]), 1);
}

TEST_F(ProjectAnalysisTest, MatchedExamplesKeepTheirBestRateAndAreExported) {
    const std::string file = project("p.txt", "I have a pen. I have a book. The weather is good today.\r\n");
    Result<AnalysisOutcome> outcome = analysis->analyse({file}, 80, work.file("log.txt"));
    ASSERT_TRUE(outcome.isOk());
    EXPECT_EQ(outcome->totals.full.sentences, 2);
    EXPECT_EQ(outcome->totals.bands[0].sentences, 1);
    EXPECT_EQ(useRate(library().libSentences[0]), 100);
    EXPECT_EQ(projectExamples(library()),
              (LineList{"i have a book . ^我有一本书。", "the weather be good today . ^今天天气很好。"}));
    EXPECT_EQ(outcome->figures.matchedSentences, 3);
    EXPECT_EQ(outcome->figures.sentenceRatio, "100.00");

    // The word list holds the project's words; exported as a new term base.
    const LineList& words = analysis->words().keys();
    EXPECT_NE(std::find(words.begin(), words.end(), "pen"), words.end());
    Result<std::string> terms =
        exportProjectTermBase(fs, bench->workspace().userDataFolder(), LibraryInfo{"P", "", "ProjTerms", {}},
                              analysis->words());
    ASSERT_TRUE(terms.isOk());
    EXPECT_EQ(home.read("userdata/ProjTerms.01"), joinLines(words));
    EXPECT_EQ(home.read("userdata/ProjTerms.02"), joinLines(analysis->words().entries()));
    EXPECT_FALSE(exportProjectTermBase(fs, bench->workspace().userDataFolder(), LibraryInfo{"", "", "ProjTerms", {}},
                                       analysis->words())
                     .isOk());
}

TEST_F(ProjectAnalysisTest, ClosingLeavesTheLibraryAsItWas) {
    const LineList sentences = library().libSentences, words = library().libWords, postings = library().libPostings;
    const std::string files = libraryFiles();
    const std::string file = project("p.txt", "I have a pen. Something new here. Something new here. I have a book.\r\n");
    ASSERT_TRUE(analysis->analyse({file}, 80, work.file("log.txt")).isOk());
    ASSERT_TRUE(analysis->analyse({file}, 80, work.file("log.txt")).isOk());
    EXPECT_EQ(library().exampleCount(), 3u);  // the second run started from the files again
    ASSERT_TRUE(analysis->close().isOk());
    EXPECT_EQ(library().libSentences, sentences);
    EXPECT_EQ(library().libWords, words);
    EXPECT_EQ(library().libPostings, postings);
    EXPECT_EQ(libraryFiles(), files);
    EXPECT_TRUE(analysis->words().keys().empty());
    // Nor does the shutdown that follows write a mark.
    ASSERT_TRUE(bench->shutdown().isOk());
    EXPECT_EQ(libraryFiles(), files);
}

TEST_F(ProjectAnalysisTest, RefusalsComeBeforeAnyWork) {
    const std::string file = project("p.txt", "I have a pen.\r\n");
    for (int limit : {0, 29, 101}) {
        Result<AnalysisOutcome> refused = analysis->analyse({file}, limit, work.file("log.txt"));
        ASSERT_FALSE(refused.isOk());
        EXPECT_EQ(dialogs.messages.back(), kLowerLimitOutOfRange);
    }
    EXPECT_FALSE(work.exists("log.txt"));
    EXPECT_FALSE(analysis->analyse({}, 80, work.file("log.txt")).isOk());
    EXPECT_EQ(dialogs.messages.back(), kNoProjectFiles);
    work.write("plain", "");
    EXPECT_FALSE(analysis->analyse({file}, 80, work.file("plain/sub/log.txt")).isOk());
    EXPECT_EQ(dialogs.messages.back(), kBadAnalysisLog);
    EXPECT_FALSE(analysis->compare({file}, {}, 80, work.file("log.txt")).isOk());
    EXPECT_EQ(dialogs.messages.back(), kNoProjectFiles);
    EXPECT_EQ(library().exampleCount(), 2u);

    // Unmatched sentences are exported only under a limit of 1..99.
    EXPECT_FALSE(unmatchedSentences(library(), 100).isOk());
    EXPECT_EQ(unmatchedSentences(library(), 100).status().message(), kExportRateInvalid);
}

TEST_F(ProjectAnalysisTest, WordFilesAreSkippedWithAMessageAtTheEndWithoutLibreOffice) {
    testing::ScopedEnvironment missing(kSofficeVariable, "/nonexistent/soffice");
    const std::string doc = project("letter.doc", "I have a book.\r\n");
    const std::string txt = project("p.txt", "I have a book.\r\n");
    Result<AnalysisOutcome> outcome = analysis->analyse({doc, txt}, 80, work.file("log.txt"));
    ASSERT_TRUE(outcome.isOk());
    EXPECT_EQ(outcome->files.size(), 1u);
    EXPECT_EQ(outcome->skippedWordFiles, std::vector<std::string>{doc});
    EXPECT_EQ(dialogs.messages.back(), kWordNotAvailable);
    EXPECT_EQ(work.read("log.txt").find("letter.doc"), std::string::npos);
}

TEST_F(ProjectAnalysisTest, OfficeDocumentsAreReadThroughLibreOffice) {
    testing::ScopedEnvironment noOverride(kSofficeVariable, nullptr);
    if (!defaultOfficeConverter().available()) GTEST_SKIP() << "LibreOffice is not installed";
    Result<RichText> text = readRichText("I have a book. Good morning everyone.\r\nGood morning everyone.\r\n");
    ASSERT_TRUE(text.isOk());
    const std::string docx = work.file("p.docx");
    ASSERT_TRUE(saveDocumentFile(fs, docx, *text).isOk());
    Result<AnalysisOutcome> outcome = analysis->analyse({docx}, 80, work.file("log.txt"));
    ASSERT_TRUE(outcome.isOk());
    ASSERT_EQ(outcome->files.size(), 1u) << (dialogs.messages.empty() ? "" : dialogs.messages.back());
    EXPECT_TRUE(outcome->skippedWordFiles.empty());
    EXPECT_EQ(outcome->totals.sentences, 3);
    EXPECT_EQ(outcome->totals.full.sentences, 1);
    EXPECT_EQ(outcome->totals.repeated.sentences, 1);
}

TEST_F(ProjectAnalysisTest, ComparisonCountsSentencesFoundUnchangedInTheEarlierFiles) {
    const std::string earlier = project("old.txt", "Good morning everyone. I have a pen.\r\n");
    const std::string fresh = project("new.txt", "Good morning everyone. I have a red pen. I have a book.\r\n");
    const LineList before = library().libSentences;
    Result<AnalysisOutcome> outcome = analysis->compare({fresh}, {earlier}, 80, work.file("log.txt"));
    ASSERT_TRUE(outcome.isOk()) << outcome.status().message();
    // The library's own example does not count: it was set aside for the comparison.
    EXPECT_EQ(outcome->totals.full.sentences, 1);
    EXPECT_EQ(outcome->totals.noMatch.sentences, 2);
    EXPECT_EQ(outcome->figures.matchedSentences, 1);
    EXPECT_EQ(library().libSentences, before);
    const std::string log = work.read("log.txt");
    EXPECT_NE(log.find("old.txt"), std::string::npos);
    EXPECT_LT(log.find("old.txt"), log.find("new.txt"));
}

TEST_F(ProjectAnalysisTest, TheLogOfATwoFileProjectIsWrittenExactly) {
    work.write("log.txt", "earlier run\r\n");
    const std::string one = project("one.txt", "I have a book. I have a pen.\r\n");
    const std::string two = project("two.txt", "Good morning everyone. Good morning everyone.\r\n");
    ASSERT_TRUE(analysis->analyse({one, two}, 80, work.file("log.txt")).isOk());

    const std::string header = "匹配类型        句子        单词      百分比(%)\r\n\r\n";
    const std::string expected =
        "earlier run\r\n"
        "开始时间:2026-01-01   08:00:00\r\n\r\n"
        "例 句 库:MySentsEC\r\n\r\n"
        "文 件 名:" + one + "\r\n\r\n" + header +
        "100%               1           5       50.00\r\n"
        "90% - 99%          0           0        0.00\r\n"
        "80% - 89%          1           5       50.00\r\n"
        "重复新句           0           0        0.00\r\n"
        "无 匹 配           0           0        0.00\r\n\r\n"
        "总    计           2          10         100\r\n\r\n"
        "例 句 库:MySentsEC\r\n\r\n"
        "文 件 名:" + two + "\r\n\r\n" + header +
        "100%               0           0        0.00\r\n"
        "90% - 99%          0           0        0.00\r\n"
        "80% - 89%          0           0        0.00\r\n"
        "重复新句           1           4       50.00\r\n"
        "无 匹 配           1           4       50.00\r\n\r\n"
        "总    计           2           8         100\r\n\r\n"
        "----------总计-----------\r\n" + header +
        "100%               1           5       27.78\r\n"
        "90% - 99%          0           0        0.00\r\n"
        "80% - 89%          1           5       27.78\r\n"
        "重复新句           1           4       22.22\r\n"
        "无 匹 配           1           4       22.22\r\n\r\n"
        "总    计           4          18         100\r\n\r\n"
        "结束时间:2026-01-01   08:00:05\r\n\r\n"
        "====================================================\r\n\r\n";
    EXPECT_EQ(work.read("log.txt"), expected);
}

// The analysis meets words of the system dictionary; none of them stays in the term base.
TEST_F(ProjectAnalysisTest, AnalysisAndComparisonLeaveTheTermBaseAsItWas) {
    const LineList keys = bench->engine.termBase.termKeys, entries = bench->engine.termBase.termEntries;
    const std::string file = project("p.txt", "Always switch off the power supply before you open the pump housing.\r\n"
                                              "Children should not be allowed near the pump.\r\n");
    ASSERT_TRUE(analysis->analyse({file}, 80, work.file("log.txt")).isOk());
    EXPECT_EQ(bench->engine.termBase.termKeys, keys);
    EXPECT_EQ(bench->engine.termBase.termEntries, entries);
    // Nor did the analysis lose the meanings the word list shows.
    const LineList& words = analysis->words().keys();
    const auto pump = std::find(words.begin(), words.end(), "pump");
    ASSERT_NE(pump, words.end());
    EXPECT_NE(analysis->words().entries()[static_cast<std::size_t>(pump - words.begin())], kEmptyTermEntry);

    const std::string earlier = project("old.txt", "Keep this manual in a safe place.\r\n");
    ASSERT_TRUE(analysis->compare({file}, {earlier}, 80, work.file("log.txt")).isOk());
    EXPECT_EQ(bench->engine.termBase.termKeys, keys);
    EXPECT_EQ(bench->engine.termBase.termEntries, entries);
}

TEST_F(ProjectAnalysisTest, AnAnalysisThatCouldNotSaveTheLibraryNeverReadsItBack) {
    ASSERT_TRUE(analysis->close().isOk());
    add("Thank you very much.^非常感谢。");  // held only in memory
    fs.failOn(testing::FsOp::Rename, "MySentsEC.rf0bak");
    ProjectAnalysis unsaved(projectAnalysisContext(*bench));
    EXPECT_FALSE(unsaved.open().isOk());
    EXPECT_FALSE(unsaved.analyse({project("p.txt", "Hello.")}, 80, work.file("log.txt")).isOk());
    EXPECT_TRUE(unsaved.close().isOk());
    EXPECT_EQ(library().exampleCount(), 3u);  // the unsaved example is still there
}

// The marks and temporary examples of an analysis whose library cannot be read back stay in
// memory; the shutdown must not write them over the library saved when the analysis opened.
TEST_F(ProjectAnalysisTest, AnAnalysisThatCouldNotReadTheLibraryBackIsNeverSaved) {
    const std::string saved = libraryFiles();
    ASSERT_TRUE(analysis->analyse({project("p.txt", "A sentence nobody stored. I have a book.")}, 80,
                                  work.file("log.txt"))
                    .isOk());
    fs.failOn(testing::FsOp::Read, "MySentsEC.rf0");
    EXPECT_FALSE(analysis->close().isOk());
    EXPECT_GT(library().exampleCount(), 2u);  // the temporary example is still in memory
    EXPECT_FALSE(bench->shutdown().isOk());
    EXPECT_EQ(libraryFiles(), saved);
}

}  // namespace
}  // namespace tavricat
