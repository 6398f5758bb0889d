#pragma once
// The counters of a project analysis and the plain-text report blocks written to the log.
// Rates at or above the lower limit L that are not full matches fall into 10 % bands: band i
// covers L + 10i % up to min(L + 10i + 9, 99) %.

#include <string>
#include <vector>

#include "base/line_list.h"

namespace tavricat {

inline constexpr const char* kReportHeader = "匹配类型        句子        单词      百分比(%)";
inline constexpr const char* kTotalTitle = "----------总计-----------";

struct MatchCount {
    long sentences = 0;
    long words = 0;
    void add(long wordCount) {
        ++sentences;
        words += wordCount;
    }
};

struct AnalysisCounters {
    MatchCount full;
    std::vector<MatchCount> bands;  // lowest band first
    MatchCount repeated;            // repeats of a sentence new within this analysis
    MatchCount noMatch;
    long sentences = 0;

    explicit AnalysisCounters(int lowerLimit = 100);
    void add(const AnalysisCounters& other);
    // Full-match, band, repeated-new and no-match words together.
    long allWords() const;
};

// ceiling((100 - L) / 10): 2 for 80, 3 for 75, 0 for 100.
int bandCount(int lowerLimit);
// "80% - 89%".
std::string bandLabel(int lowerLimit, int band);
// trunc((rate - L/100) * 100) div 10, in binary floating point as the rates are held: 0.90
// with L = 80 gives 9.999... and so band 0. Kept within the bands that exist.
int bandOf(double rate, int lowerLimit);

// The block of one file: library, file, header, the rows, the total row. Lines that close a
// paragraph are followed by an empty line. `libraryName` and `path` are GBK.
LineList fileReportBlock(const std::string& libraryName, const std::string& path, const AnalysisCounters& counters,
                         int lowerLimit);
// The block of the totals; band rows only when the analysis covered more than one file.
LineList totalReportBlock(const AnalysisCounters& totals, int lowerLimit, bool withBands);

// What the analysis shows when it ends.
struct AnalysisFigures {
    long matchedSentences = 0;  // all sentences less no-match and repeated-new ones
    long allSentences = 0;
    std::string sentenceRatio;  // "%5.2f" percent
    long matchedWords = 0;      // words of full matches
    long allWords = 0;
    std::string wordRatio;
};
AnalysisFigures figuresOf(const AnalysisCounters& totals);

}  // namespace tavricat
