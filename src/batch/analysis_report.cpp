#include "batch/analysis_report.h"

#include <algorithm>
#include <cstdio>

namespace tavricat {

namespace {

std::string format(const char* pattern, auto... values) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

double percentOf(long part, long whole) { return whole == 0 ? 0.0 : static_cast<double>(part) * 100 / whole; }

std::string row(const std::string& label, const MatchCount& count, long allWords) {
    return label + format("%12ld%12ld%12.2f", count.sentences, count.words, percentOf(count.words, allWords));
}

void appendRows(LineList& block, const AnalysisCounters& counters, int lowerLimit, bool withBands) {
    const long allWords = counters.allWords();
    block.push_back(kReportHeader);
    block.push_back("");
    block.push_back(row("100%    ", counters.full, allWords));
    if (withBands) {
        for (int band = static_cast<int>(counters.bands.size()) - 1; band >= 0; --band) {
            const MatchCount& count = counters.bands[static_cast<std::size_t>(band)];
            block.push_back(format("%8s%11ld%12ld%12.2f", bandLabel(lowerLimit, band).c_str(), count.sentences,
                                   count.words, percentOf(count.words, allWords)));
        }
    }
    block.push_back(row("重复新句", counters.repeated, allWords));
    block.push_back(row("无 匹 配", counters.noMatch, allWords));
    block.push_back("");
    block.push_back("总    计" + format("%12ld%12ld%12d", counters.sentences, allWords, 100));
    block.push_back("");
}

}  // namespace

AnalysisCounters::AnalysisCounters(int lowerLimit) : bands(static_cast<std::size_t>(bandCount(lowerLimit))) {}

void AnalysisCounters::add(const AnalysisCounters& other) {
    auto sum = [](MatchCount& to, const MatchCount& from) {
        to.sentences += from.sentences;
        to.words += from.words;
    };
    sum(full, other.full);
    if (bands.size() < other.bands.size()) bands.resize(other.bands.size());
    for (std::size_t i = 0; i < other.bands.size(); ++i) sum(bands[i], other.bands[i]);
    sum(repeated, other.repeated);
    sum(noMatch, other.noMatch);
    sentences += other.sentences;
}

long AnalysisCounters::allWords() const {
    long words = full.words + repeated.words + noMatch.words;
    for (const MatchCount& band : bands) words += band.words;
    return words;
}

int bandCount(int lowerLimit) { return lowerLimit >= 100 ? 0 : (100 - lowerLimit + 9) / 10; }

std::string bandLabel(int lowerLimit, int band) {
    const int from = lowerLimit + 10 * band;
    return format("%d%% - %d%%", from, std::min(from + 9, 99));
}

int bandOf(double rate, int lowerLimit) {
    const int count = bandCount(lowerLimit);
    if (count == 0) return 0;
    const double points = (rate - lowerLimit / 100.0) * 100;
    const int band = static_cast<int>(points) / 10;
    return std::clamp(band, 0, count - 1);
}

LineList fileReportBlock(const std::string& libraryName, const std::string& path, const AnalysisCounters& counters,
                         int lowerLimit) {
    LineList block{"例 句 库:" + libraryName, "", "文 件 名:" + path, ""};
    appendRows(block, counters, lowerLimit, true);
    return block;
}

LineList totalReportBlock(const AnalysisCounters& totals, int lowerLimit, bool withBands) {
    LineList block{kTotalTitle};
    appendRows(block, totals, lowerLimit, withBands);
    return block;
}

AnalysisFigures figuresOf(const AnalysisCounters& totals) {
    AnalysisFigures figures;
    figures.allSentences = totals.sentences;
    figures.matchedSentences = totals.sentences - totals.noMatch.sentences - totals.repeated.sentences;
    figures.sentenceRatio = format("%5.2f", percentOf(figures.matchedSentences, figures.allSentences));
    figures.matchedWords = totals.full.words;
    figures.allWords = totals.allWords();
    figures.wordRatio = format("%5.2f", percentOf(figures.matchedWords, figures.allWords));
    return figures;
}

}  // namespace tavricat
