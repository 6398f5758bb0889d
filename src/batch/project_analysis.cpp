#include "batch/project_analysis.h"

#include <algorithm>
#include <cstring>

#include "base/encoding.h"
#include "base/gbk.h"
#include "batch/analysis_marks.h"
#include "document/document_io.h"
#include "document/sentence_getters.h"
#include "engine/engine.h"
#include "engine/term_base_snapshot.h"
#include "grammar/translation_pipeline.h"
#include "memory/sentence_library.h"

namespace tavricat {

namespace {

// The progress bar of a file moves every this many sentences.
constexpr int kProgressStep = 20;

// The translation part holds at most kMaxTranslationPart bytes with its "^": the text in
// front of a mark is cut so that the mark itself is never lost.
std::string withMark(std::string_view body, const std::string& mark) {
    const std::size_t room = kMaxTranslationPart - 1 - std::min(mark.size(), kMaxTranslationPart - 1);
    return std::string(gbk::cutToBytes(body, room)) + mark;
}

std::string translationBody(std::string_view line, std::optional<std::size_t> markAt) {
    const std::size_t separator = findKeySeparator(line);
    if (separator == std::string_view::npos) return {};
    const std::size_t end = markAt.value_or(line.size());
    return std::string(line.substr(separator + 1, end - separator - 1));
}

}  // namespace

ProjectAnalysis::ProjectAnalysis(ProjectAnalysisContext context, AnalysisClock clock)
    : m_context(std::move(context)), m_clock(std::move(clock)) {
    m_search.RateOnly = true;
    m_search.dialogs = &m_context.dialogs;
}

ProjectAnalysis::~ProjectAnalysis() {
    // A library that cannot be read back has been shown by readLibraryBack; a destructor can
    // do nothing more.
    if (m_open) (void)close();
}

Status ProjectAnalysis::open() {
    m_words.clear();
    Status saved = m_context.library.saveFiles(m_context.fs, m_context.dialogs, m_context.userDataFolder);
    // Without a saved copy, reading back would lose examples held only in memory.
    m_open = saved.isOk();
    return saved;
}

Status ProjectAnalysis::close() {
    m_words.clear();
    // Not open: nothing was marked, and without the save of open() reading the files back
    // would drop examples held only in memory.
    if (!m_open) return Status::ok();
    Status reread = readLibraryBack();
    if (reread) m_open = false;
    return reread;
}

Status ProjectAnalysis::readLibraryBack() {
    SentenceLibrary& library = m_context.library;
    Status loaded = library.load(m_context.fs, m_context.userDataFolder, library.name);
    if (!loaded) m_context.dialogs.message(loaded.message());
    m_words.clear();
    return loaded;
}

Status ProjectAnalysis::refuse(const char* message) {
    m_context.dialogs.message(message);
    return Status::error(ErrorKind::Refused, message);
}

Status ProjectAnalysis::checkRequest(const std::vector<std::string>& files, int lowerLimit, const std::string& logFile,
                                     std::string& logPath) {
    if (!m_open) return Status::error(ErrorKind::Refused, "project analysis is not open");
    if (files.empty()) return refuse(kNoProjectFiles);
    if (lowerLimit < kMinLowerLimit || lowerLimit > kMaxLowerLimit) return refuse(kLowerLimitOutOfRange);
    std::optional<std::string> checked = checkLogFile(m_context.fs, logFile);
    if (!checked) return refuse(kBadAnalysisLog);
    logPath = *checked;
    return Status::ok();
}

Result<AnalysisOutcome> ProjectAnalysis::analyse(const std::vector<std::string>& files, int lowerLimit,
                                                 const std::string& logFile) {
    std::string logPath;
    if (Status checked = checkRequest(files, lowerLimit, logFile, logPath); !checked) return checked;
    // Marks of an earlier run are dropped.
    if (Status reread = readLibraryBack(); !reread) return reread;
    m_context.progress.setCaption(kProjectAnalysisCaption);
    const TermBaseSnapshot snapshot(m_context.engine.termBase);
    // From here the library in memory is the analysis's working copy until it is read back.
    m_context.library.holdBackFromSaving();
    return analyseList(files, lowerLimit, lowerLimit / 100.0, logPath);
}

Result<AnalysisOutcome> ProjectAnalysis::compare(const std::vector<std::string>& newFiles,
                                                 const std::vector<std::string>& oldFiles, int lowerLimit,
                                                 const std::string& logFile) {
    std::string logPath;
    if (oldFiles.empty()) return refuse(kNoProjectFiles);
    if (Status checked = checkRequest(newFiles, lowerLimit, logFile, logPath); !checked) return checked;
    m_context.progress.setCaption(kProjectComparisonCaption);
    const TermBaseSnapshot snapshot(m_context.engine.termBase);

    // From here the library in memory is the analysis's working copy until it is read back.
    m_context.library.holdBackFromSaving();
    m_context.library.clear();
    Result<AnalysisOutcome> earlier = analyseList(oldFiles, lowerLimit, lowerLimit / 100.0, logPath);
    if (!earlier) {
        // The analysis failure is the one returned; a failed read back has shown its own.
        (void)readLibraryBack();
        return earlier;
    }
    dropTemporaryMarks();
    Result<AnalysisOutcome> outcome = analyseList(newFiles, lowerLimit, 1.0, logPath);
    // The comparison leaves nothing of the earlier project in the library.
    if (Status reread = readLibraryBack(); !reread) return reread;
    return outcome;
}

Result<AnalysisOutcome> ProjectAnalysis::analyseList(const std::vector<std::string>& files, int lowerLimit,
                                                     double limit, const std::string& logPath) {
    FileSystem& fs = m_context.fs;
    Dialogs& dialogs = m_context.dialogs;
    Progress& progress = m_context.progress;
    Result<LineList> loadedLog = loadLines(fs, logPath);
    if (!loadedLog) return refuse(kBadAnalysisLog);
    LineList log = std::move(*loadedLog);
    const SentenceLibrary::BulkAdds bulk(m_context.library);

    AnalysisOutcome outcome;
    outcome.logPath = logPath;
    outcome.lowerLimit = lowerLimit;
    outcome.totals = AnalysisCounters(lowerLimit);
    const ProjectAnalysisOptions options = m_context.options();
    const PipelineContext pipeline{m_context.engine, options.analysis, m_context.grammar, m_context.selectedDomainNames};
    const BreakOptions breaks = options.breaks;
    const std::string libraryName = encoding::utf8ToGbkLossy(m_context.library.name);

    log.push_back("开始时间:" + m_clock());
    log.push_back("");
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string& path = files[f];
        const std::string shownPath = encoding::utf8ToGbkLossy(path);
        // Office documents are read through LibreOffice; without it they are left out and
        // the person is told once at the end.
        const bool viaLink = isOfficeDocument(path) && m_context.officeText;
        if (isOfficeDocument(path) && !viaLink && !defaultOfficeConverter().available()) {
            outcome.skippedWordFiles.push_back(path);
            continue;
        }
        Result<RichText> document = [&]() -> Result<RichText> {
            if (!viaLink) return loadDocumentFile(fs, path);
            Result<std::string> plain = m_context.officeText(path);
            if (!plain) return plain.status();
            RichText read;
            read.append(*plain, CharFormat{});
            return read;
        }();
        if (!document) {
            dialogs.message(document.status().message());
            outcome.unreadableFiles.push_back(path);
            continue;
        }
        const std::string text = document->text();
        progress.show("正在分析(" + std::to_string(f + 1) + "/" + std::to_string(files.size()) + "): " + shownPath,
                      static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF)), 0);

        AnalysisCounters counters(lowerLimit);
        std::size_t position = 0;
        for (int picked = 1; position < text.size(); ++picked) {
            const std::size_t before = position;
            std::string sentence = nextChineseSentenceIn(text, position, text.size(), breaks);
            if (sentence.empty() || position <= before) break;
            analyseSentence(std::move(sentence), pipeline, options.matchrate, lowerLimit, limit, counters);
            if (picked % kProgressStep == 0) progress.setPosition(static_cast<int>(std::min<std::size_t>(position, 0x7FFFFFFF)));
            progress.pump();
        }
        for (std::string& line : fileReportBlock(libraryName, shownPath, counters, lowerLimit)) log.push_back(std::move(line));
        outcome.totals.add(counters);
        outcome.files.push_back({path, std::move(counters)});
    }
    progress.hide();

    outcome.totalBlock = totalReportBlock(outcome.totals, lowerLimit, files.size() > 1);
    log.insert(log.end(), outcome.totalBlock.begin(), outcome.totalBlock.end());
    outcome.figures = figuresOf(outcome.totals);
    if (!outcome.skippedWordFiles.empty()) dialogs.message(kWordNotAvailable);

    log.push_back("结束时间:" + m_clock());
    log.push_back("");
    log.push_back(std::string(52, '='));
    log.push_back("");
    if (Status saved = replaceLines(fs, logPath, log); !saved) return refuse(kLogNotWritten);
    return outcome;
}

void ProjectAnalysis::analyseSentence(std::string sentence, const PipelineContext& pipeline, int matchrate,
                                      int lowerLimit, double limit, AnalysisCounters& counters) {
    Engine& engine = m_context.engine;
    SentenceLibrary& library = m_context.library;
    ++counters.sentences;
    std::string cleaned;
    prepareSent(sentence, cleaned, pipeline, true);
    const long words = engine.workSent.wordCount;
    m_words.addAsentSWords(engine.workSent, engine.termBase);

    m_search.ExampleRate = 0;
    adaptBestExample(library, engine, SimilarityOptions{pipeline.options, matchrate}, m_search);
    const double rate = m_search.ExampleRate;
    const std::optional<std::size_t> best = rate >= limit ? m_search.bestExample() : std::nullopt;
    if (best && *best < library.exampleCount()) {
        if (const std::optional<long> count = temporaryCount(library.libSentences[*best])) {
            // A sentence new within this project: only an exact repeat counts as one.
            if (rate == 1.0) {
                counters.repeated.add(words);
                setTemporaryCount(*best, *count + 1);
            } else {
                counters.noMatch.add(words);
            }
            return;
        }
        if (static_cast<long>(rate) == 1 || counters.bands.empty()) counters.full.add(words);
        else counters.bands[static_cast<std::size_t>(bandOf(rate, lowerLimit))].add(words);
        markUsed(*best, rate);
        return;
    }
    counters.noMatch.add(words);
    addTemporaryEntry(cleaned);
}

void ProjectAnalysis::addTemporaryEntry(const std::string& cleaned) {
    // Refused for a sentence without segments (or too many): it is counted, not stored.
    (void)m_context.library.addAnalysed(m_context.engine.workSent,
                                        withMark(cleaned, " " + std::string(kTemporaryMark) + "1"));
}

void ProjectAnalysis::setTemporaryCount(std::size_t example, long count) {
    SentenceLibrary& library = m_context.library;
    const std::string& line = library.libSentences[example];
    const std::string body = translationBody(line, findEndMark(line, kTemporaryMark));
    library.replaceTranslation(example, withMark(body, kTemporaryMark + std::to_string(count)));
}

void ProjectAnalysis::markUsed(std::size_t example, double rate) {
    SentenceLibrary& library = m_context.library;
    const std::string& line = library.libSentences[example];
    const long percent = static_cast<long>(rate * 100);
    const std::optional<long> marked = useRate(line);
    if (marked && *marked >= percent) return;
    const std::string body = translationBody(line, findEndMark(line, kUseMark));
    library.replaceTranslation(example, withMark(body, kUseMark + std::to_string(percent)));
}

void ProjectAnalysis::dropTemporaryMarks() {
    SentenceLibrary& library = m_context.library;
    for (std::size_t i = 0; i < library.exampleCount(); ++i) {
        const std::string& line = library.libSentences[i];
        if (const std::optional<std::size_t> mark = findEndMark(line, kTemporaryMark))
            library.replaceTranslation(i, translationBody(line, mark));
    }
}

}  // namespace tavricat
