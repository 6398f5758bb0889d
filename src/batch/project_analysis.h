#pragma once
// Project analysis: how much of a set of source files the current sentence library covers.
// Every sentence of every file is rated against the library (rate only) and counted as a
// full match, a match in one of the bands above the lower limit, a repeat of a sentence new
// within this analysis, or no match; a report per file and one of the totals are appended
// to the log file.
//
// While it runs the analysis marks the library in memory (analysis_marks.h): new sentences
// become temporary entries, so that their repeats are recognised, and matched examples get a
// use mark, which the result actions (project_exports.h) read. The library is saved when
// the analysis is opened and read back from its files before each run and on close(), so
// the marks never reach the files. The term base ends each run as it began it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/ports.h"
#include "base/status.h"
#include "batch/analysis_log.h"
#include "batch/analysis_report.h"
#include "batch/project_words.h"
#include "document/sentence_getters.h"
#include "engine/analyser.h"
#include "memory/fuzzy_search.h"

namespace tavricat {

class Engine;
class SentenceLibrary;
struct GrammarLibrary;
struct PipelineContext;

inline constexpr const char* kNoProjectFiles = "请先选择要分析的文件!";
inline constexpr const char* kBadAnalysisLog = "指定的日志文件路径无效! 请重新指定.";
inline constexpr const char* kWordNotAvailable =
    "未找到 LibreOffice，分析中没有包含 Word 和 OpenDocument 文件(.docx、.odt、.doc)！";
inline constexpr const char* kLowerLimitOutOfRange = "必须为30到100范围内的数字";
inline constexpr const char* kLogNotWritten = "写入日志文件时出错! 请确保硬盘有足够的剩余空间!";
inline constexpr const char* kProjectAnalysisCaption = "项目分析";
inline constexpr const char* kProjectComparisonCaption = "项目比较";

// The lower limit L in percent. Below 30 a sentence without any candidate would reach the
// match branch with no example to name, so such limits are refused.
inline constexpr int kMinLowerLimit = 30;
inline constexpr int kMaxLowerLimit = 100;
inline constexpr int kDefaultLowerLimit = 80;

struct FileAnalysis {
    std::string path;
    AnalysisCounters counters;
};

struct AnalysisOutcome {
    std::string logPath;  // native
    int lowerLimit = kDefaultLowerLimit;
    std::vector<FileAnalysis> files;  // the files analysed, in order
    AnalysisCounters totals;
    LineList totalBlock;              // as appended to the log
    AnalysisFigures figures;
    std::vector<std::string> skippedWordFiles;  // office documents: no LibreOffice to read them
    std::vector<std::string> unreadableFiles;   // shown and left out
};

// The options a run reads, taken afresh at each run (they may change while the analysis is open).
struct ProjectAnalysisOptions {
    AnalysisOptions analysis;
    BreakOptions breaks;
    int matchrate = 65;
};

// What an analysis works on: the workbench's engine, current sentence library and grammar.
struct ProjectAnalysisContext {
    Engine& engine;
    SentenceLibrary& library;
    const GrammarLibrary& grammar;
    const LineList& selectedDomainNames;
    FileSystem& fs;
    Dialogs& dialogs;
    Progress& progress;
    std::string userDataFolder;
    std::function<ProjectAnalysisOptions()> options;
    // The plain text (GBK) of an office document through the word processor the person has
    // linked; empty: office documents are converted by LibreOffice run headless.
    std::function<Result<std::string>(const std::string& path)> officeText;
};

class ProjectAnalysis {
public:
    explicit ProjectAnalysis(ProjectAnalysisContext context, AnalysisClock clock = localDateTime);
    // Closes an analysis left open, so the marks never outlive it.
    ~ProjectAnalysis();
    ProjectAnalysis(const ProjectAnalysis&) = delete;
    ProjectAnalysis& operator=(const ProjectAnalysis&) = delete;

    // Clears the word list and saves the library (its marks-free state on disk is what each
    // run and close() read back).
    Status open();
    // Analyses `files` (native paths) with lower limit L, appending the report to `logFile`
    // (native; empty: kDefaultAnalysisLog). Refusals are shown and returned.
    Result<AnalysisOutcome> analyse(const std::vector<std::string>& files, int lowerLimit, const std::string& logFile);
    // The comparison: the earlier project's files become plain examples of an emptied library,
    // then the new files are analysed against them counting full matches only.
    Result<AnalysisOutcome> compare(const std::vector<std::string>& newFiles, const std::vector<std::string>& oldFiles,
                                    int lowerLimit, const std::string& logFile);
    // Reads the library back from its files and clears the word list.
    Status close();

    const ProjectWords& words() const { return m_words; }
    bool isOpen() const { return m_open; }

private:
    Status refuse(const char* message);
    Status checkRequest(const std::vector<std::string>& files, int lowerLimit, const std::string& logFile,
                        std::string& logPath);
    Status readLibraryBack();
    Result<AnalysisOutcome> analyseList(const std::vector<std::string>& files, int lowerLimit, double limit,
                                        const std::string& logPath);
    void analyseSentence(std::string sentence, const PipelineContext& pipeline, int matchrate, int lowerLimit,
                         double limit, AnalysisCounters& counters);
    void addTemporaryEntry(const std::string& cleaned);
    void setTemporaryCount(std::size_t example, long count);
    void markUsed(std::size_t example, double rate);
    void dropTemporaryMarks();

    ProjectAnalysisContext m_context;
    AnalysisClock m_clock;
    ProjectWords m_words;
    FuzzySearch m_search;
    bool m_open = false;
};

}  // namespace tavricat
