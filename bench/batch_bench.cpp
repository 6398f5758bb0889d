// Batch work against a 100,000-example synthetic library: automatic translation of a
// 10,000-sentence document, updating a library from a 100,000-pair sentence file, and the
// project analysis of 100,000 sentences (in a started workbench over the delivered data).
// Sentences are analysed by the real analyser over a term base holding the vocabulary, so
// the figures include the analysis; there is no system dictionary.
//
//   build/bench/batch_bench
//   build/bench/batch_bench --benchmark_filter=translate
//   build/bench/batch_bench --benchmark_filter=update/1000000   (1,000,000 pairs into an empty library)

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/program_folder_setup.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "base/ports.h"
#include "batch/auto_translation.h"
#include "app/project_analysis_context.h"
#include "batch/project_analysis.h"
#include "engine/engine.h"
#include "memory/library_update.h"
#include "synthetic_library.h"
#include "grammar/grammar_library.h"

namespace tavricat {
namespace {

constexpr std::uint32_t kSeed = 20110;
constexpr std::size_t kLibraryExamples = 100000;

// "VmRSS" of /proc/self/status, in KiB.
long residentKb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long value = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) value = std::strtol(line + 6, nullptr, 10);
    }
    std::fclose(f);
    return value;
}

struct Setup {
    bench::SyntheticLibrary generator{kSeed};
    SentenceLibrary library;
    Engine engine;
    GrammarLibrary grammar;
    std::vector<std::string> domains;
    SilentDialogs dialogs;
    SilentProgress progress;

    Setup() {
        library.name = "BenchEC";
        generator.fill(library, kLibraryExamples);
        generator.fillTermBase(engine.termBase);
        engine.workSent.reset(1);
        engine.refSent.reset(1);
    }
    PipelineContext pipeline() { return {engine, {Direction::EC, true, true}, grammar, domains}; }
};

Setup& setup() {
    static Setup shared;
    return shared;
}

// `count` sentences, a third each exact, similar and new, one per line.
std::string documentText(std::size_t count, std::uint32_t seed) {
    Setup& s = setup();
    const std::size_t third = count / 3 + 1;
    std::vector<stClass> kinds[] = {s.generator.exactQueries(third, seed), s.generator.similarQueries(third, seed + 1),
                                    s.generator.freshQueries(third, seed + 2)};
    std::string text;
    for (std::size_t k = 0; k < count; ++k) {
        std::string sentence = kinds[k % 3][k / 3].text;
        if (!sentence.empty()) sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
        // The analyser's text has "word ." ; a document has "word."
        if (sentence.size() > 2 && sentence.compare(sentence.size() - 2, 2, " .") == 0)
            sentence.erase(sentence.size() - 2, 1);
        text += sentence + "\r\n";
    }
    return text;
}

void translateDocument(benchmark::State& state) {
    Setup& s = setup();
    const auto sentences = static_cast<std::size_t>(state.range(0));
    const std::string text = documentText(sentences, 77);
    class NoAbbreviations : public AbbreviationLookup {
    public:
        bool contains(std::string_view) const override { return false; }
    } abbreviations;
    StopRequest stop;
    AutoTranslationCounts counts;
    long memoryBefore = 0, memoryAfter = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RichText document;
        document.append(text, document.defaultFormat());
        document.setCaret(0);
        memoryBefore = residentKb();
        state.ResumeTiming();
        AutoTranslationContext context{s.pipeline(), s.library, abbreviations, s.dialogs, s.progress, stop, {}};
        AutoTranslationOptions options;
        Result<AutoTranslationCounts> run = runAutoTranslation(document, context, options);
        if (!run) state.SkipWithError(run.status().message().c_str());
        else counts = *run;
        memoryAfter = residentKb();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * counts.sentences));
    state.counters["from_memory"] = static_cast<double>(counts.fromMemory);
    state.counters["fallback"] = static_cast<double>(counts.fromFallback);
    state.counters["rss_growth_kb"] = static_cast<double>(memoryAfter - memoryBefore);
}

void updateFromExs(benchmark::State& state) {
    Setup& s = setup();
    const auto pairs = static_cast<std::size_t>(state.range(0));
    char folder[] = "/tmp/tavricat-batch-bench.XXXXXX";
    if (!::mkdtemp(folder)) std::abort();
    const std::string path = std::string(folder) + "/pairs.exs";
    {
        // Sentences of a fresh generator: new to the library except for its near-duplicates.
        bench::SyntheticLibrary other(kSeed + 1);
        LineList lines;
        stClass analysis;
        std::string translation;
        for (std::size_t k = 0; k < pairs; ++k) {
            other.next(analysis, translation);
            lines.push_back(analysis.text + "^" + translation);
        }
        DiskFileSystem disk;
        if (!saveLines(disk, path, lines)) std::abort();
    }
    DiskFileSystem disk;
    FileUpdateCounts counts;
    for (auto _ : state) {
        state.PauseTiming();
        // Every iteration starts from the same library: the 100,000 examples, or none (a
        // million pairs would fill the library to its limit of 1,048,576 examples).
        SentenceLibrary library;
        if (state.range(1) == 0) library = s.library;
        else library.name = s.library.name;
        state.ResumeTiming();
        LibraryUpdateContext context{library, s.pipeline(), disk, s.dialogs, nullptr};
        Result<FileUpdateCounts> done = singleFileUpdate(context, path, true);
        if (!done) state.SkipWithError(done.status().message().c_str());
        else counts = *done;
    }
    std::remove(path.c_str());
    ::rmdir(folder);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * counts.pairsRead));
    state.counters["same"] = static_cast<double>(counts.same);
    state.counters["library_after"] = static_cast<double>(counts.librarySize);
}

void analyseProject(benchmark::State& state) {
    Setup& s = setup();
    const auto sentences = static_cast<std::size_t>(state.range(0));
    char folder[] = "/tmp/tavricat-analysis-bench.XXXXXX";
    if (!::mkdtemp(folder)) std::abort();
    const std::string home = std::string(folder) + "/home";
    DiskFileSystem disk;
    if (!completeProgramFolder(disk, TAVRICAT_DELIVERED_DIR, home)) std::abort();
    {
        SentenceLibrary library = s.library;
        library.name = "MySentsEC";
        if (!library.saveFiles(disk, s.dialogs, joinPath(home, "userdata"))) std::abort();
    }
    const std::string project = std::string(folder) + "/project.txt";
    if (!disk.writeFile(project, documentText(sentences, 91))) std::abort();

    WorkbenchOptions options;
    options.settingsPath = std::string(folder) + "/settings.ini";
    Workbench bench(disk, Workspace(disk, home), s.dialogs, s.progress, options);
    if (!bench.start()) std::abort();
    s.generator.fillTermBase(bench.engine.termBase);
    AnalysisCounters totals;
    long memoryBefore = 0, memoryAfter = 0;
    for (auto _ : state) {
        ProjectAnalysis analysis(projectAnalysisContext(bench));
        if (!analysis.open()) state.SkipWithError("open");
        memoryBefore = residentKb();
        Result<AnalysisOutcome> outcome = analysis.analyse({project}, 80, std::string(folder) + "/log.txt");
        memoryAfter = residentKb();
        if (!outcome) state.SkipWithError(outcome.status().message().c_str());
        else totals = outcome->totals;
        state.PauseTiming();
        (void)analysis.close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * totals.sentences);
    state.counters["full"] = static_cast<double>(totals.full.sentences);
    state.counters["no_match"] = static_cast<double>(totals.noMatch.sentences);
    state.counters["rss_growth_kb"] = static_cast<double>(memoryAfter - memoryBefore);
    std::system((std::string("rm -rf ") + folder).c_str());
}

BENCHMARK(translateDocument)->Name("translate/10000_sentences")->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(updateFromExs)->Name("update/100000_pairs")->Args({100000, 0})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(updateFromExs)->Name("update/1000000_pairs_into_empty")->Args({1000000, 1})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(analyseProject)->Name("analyse/100000_sentences")->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tavricat

BENCHMARK_MAIN();
