// Match bands, report rows, marks in library lines, the project word filter and the log
// file check of the project analysis.

#include <gtest/gtest.h>

#include "base/file_system.h"
#include "batch/analysis_log.h"
#include "batch/analysis_marks.h"
#include "batch/analysis_report.h"
#include "batch/project_words.h"
#include "engine/term_base.h"
#include "support/analysis_builder.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

TEST(AnalysisBands, LabelsFollowTheLowerLimit) {
    EXPECT_EQ(bandCount(80), 2);
    EXPECT_EQ(bandLabel(80, 0), "80% - 89%");
    EXPECT_EQ(bandLabel(80, 1), "90% - 99%");
    EXPECT_EQ(bandCount(75), 3);
    EXPECT_EQ(bandLabel(75, 2), "95% - 99%");
    EXPECT_EQ(bandCount(100), 0);
    EXPECT_EQ(bandCount(30), 7);
}

TEST(AnalysisBands, RatesFallIntoTheirBandAsTheDoubleRateGives) {
    // (0.9 - 0.8) * 100 is 9.999... in binary floating point: the lower band.
    EXPECT_EQ(bandOf(0.9, 80), 0);
    EXPECT_EQ(bandOf(0.8, 80), 0);
    EXPECT_EQ(bandOf(0.95, 80), 1);
    EXPECT_EQ(bandOf(0.999, 80), 1);
    EXPECT_EQ(bandOf(0.96, 75), 2);
    EXPECT_EQ(bandOf(0.87, 75), 1);
    // Never outside the bands that exist, whatever rate comes in.
    EXPECT_EQ(bandOf(0.5, 80), 0);
    EXPECT_EQ(bandOf(0.99999, 30), 6);
}

TEST(AnalysisReport, AOneFileTotalHasNoBandRowsAndZeroWordsShowZeroPercent) {
    AnalysisCounters counters(75);
    counters.full.add(3);
    counters.bands[1].add(1);
    counters.sentences = 2;
    const LineList block = totalReportBlock(counters, 75, false);
    ASSERT_EQ(block.size(), 9u);
    EXPECT_EQ(block[3], "100%               1           3       75.00");
    EXPECT_EQ(block[4], "重复新句           0           0        0.00");
    EXPECT_EQ(block[7], "总    计           2           4         100");
    EXPECT_EQ(totalReportBlock(AnalysisCounters(75), 75, true)[4], "95% - 99%          0           0        0.00");
    EXPECT_EQ(figuresOf(counters).wordRatio, "75.00");
    EXPECT_EQ(figuresOf(AnalysisCounters(80)).sentenceRatio, " 0.00");
}

TEST(AnalysisMarks, OnlyAMarkAtTheLineEndCounts) {
    EXPECT_EQ(temporaryCount("03 a b c ^A b c.  ^tvn3"), 3);
    EXPECT_EQ(temporarySentence("03 a b c ^A b c.  ^tvn3"), "A b c.  ");
    EXPECT_EQ(useRate("02 a b ^甲乙^tvok87"), 87);
    EXPECT_FALSE(temporaryCount("02 a b ^see ^tvn notes"));
    EXPECT_FALSE(useRate("02 a b ^甲乙"));
    EXPECT_FALSE(temporaryCount("02 tvn b ^x"));
    // The key's "^tvn" is no mark: marks live in the translation part.
    EXPECT_FALSE(findEndMark("02 a b", kTemporaryMark));
    // "\x81^" is one Chinese character; what follows is no mark.
    EXPECT_FALSE(temporaryCount("01 a ^\x81^tvn2"));
}

TEST(ProjectWordList, KeepsOnlyWordsWorthATermEntry) {
    for (const char* kept : {"book", "Hello", "etc.", "中文", "e-mail"}) EXPECT_TRUE(isProjectWord(kept)) << kept;
    for (const char* dropped : {"a", "is", "123", "-45", "a_b", "c#x", "c++", "http:x", "a\\b", "a=b", "/usr", "v1.2",
                                "..."})
        EXPECT_FALSE(isProjectWord(dropped)) << dropped;
    // A trail byte that looks like "\" or "_" is part of a Chinese character.
    EXPECT_TRUE(isProjectWord("\xD5\x5C\xD5\x5F"));
}

TEST(ProjectWordList, WordsAreSortedOnceWithTheirTermEntries) {
    TermBase terms;
    terms.termKeys = {"book", "the weather"};
    terms.termEntries = {"书^^n^", "天气^^n^"};
    ProjectWords words;
    stClass first = testing::analysisOf({"the weather", "today", "."});
    first.segText = {"", "The weather ", "Today ", ". "};
    first.wordCount = 4;
    first.baseWords = {"", "the", "weather", "be", "today"};
    words.addAsentSWords(first, terms);
    stClass second = testing::analysisOf({"book", "the weather"});
    second.segText = {"", "book ", "the weather "};
    words.addAsentSWords(second, terms);
    EXPECT_EQ(words.keys(), (LineList{"book", "the", "The weather", "Today", "weather"}));
    EXPECT_EQ(words.entries(), (LineList{"书^^n^", "^^^", "天气^^n^", "^^^", "^^^"}));
    words.clear();
    EXPECT_TRUE(words.keys().empty() && words.entries().empty());
}

TEST(AnalysisLogFile, NameGetsTxtAndFolderIsCreatedWithoutEmptyingALog) {
    testing::TempFolder folder;
    DiskFileSystem fs;
    EXPECT_EQ(withTxtExtension("/a.b/report.2024.log"), "/a.b/report.txt");
    EXPECT_EQ(withTxtExtension("report"), "report.txt");

    const std::optional<std::string> made = checkLogFile(fs, folder.file("logs/deep/run.log"));
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, folder.file("logs/deep/run.txt"));
    EXPECT_EQ(folder.read("logs/deep/run.txt"), "");

    // An existing file is taken as it is; an earlier log under the renamed name is kept.
    folder.write("keep.log", "x\r\n");
    EXPECT_EQ(checkLogFile(fs, folder.file("keep.log")), folder.file("keep.log"));
    folder.write("old.txt", "earlier\r\n");
    EXPECT_EQ(checkLogFile(fs, folder.file("old")), folder.file("old.txt"));
    EXPECT_EQ(folder.read("old.txt"), "earlier\r\n");

    // A folder that cannot exist: below a plain file.
    EXPECT_FALSE(checkLogFile(fs, folder.file("keep.log/sub/run.txt")));
}

}  // namespace
}  // namespace tavricat
