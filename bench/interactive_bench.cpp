// Translating one sentence interactively (Ctrl+J): the whole command -- the sentence taken
// from the document, analysed with the delivered dictionaries and grammar, searched in a
// synthetic English→Chinese library of 100,000 examples, the best example fitted and the
// translation box filled -- for sentences of 25 tokens (24 words and the full stop, the
// longest the generator makes).
//   build/bench/interactive_bench
//
// Confirming a sentence (Ctrl+Enter) is measured too: the pair stored in that library and
// indexed, and the translation written back as a segment into a document of a few hundred
// sentences.
//
// Each sentence is timed on its own with CLOCK_MONOTONIC; median_us and p95_us are the
// figures to read (the Time column is the mean over all sentences of a kind).

#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/program_folder_setup.h"
#include "app/sentence_confirmation_setup.h"
#include "app/sentence_translation_setup.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "base/ports.h"
#include "interactive/sentence_confirmation.h"
#include "interactive/sentence_state.h"
#include "interactive/sentence_translation.h"
#include "latency.h"
#include "synthetic_library.h"

namespace tavricat {
namespace {

using bench::reportLatency;
using bench::seconds;

constexpr std::uint32_t kSeed = 20110;
constexpr std::size_t kLibraryExamples = 100000;
constexpr std::size_t kTokens = 25;

// A started workbench over a program folder filled from the delivered data, with the
// synthetic library as its sentence library and the library's words in its term base.
struct Setup {
    bench::SyntheticLibrary generator{kSeed};
    DiskFileSystem disk;
    SilentDialogs dialogs;
    SilentProgress progress;
    std::string folder;
    std::unique_ptr<Workbench> workbench;

    Setup() {
        char scratch[] = "/tmp/tavricat-interactive-bench.XXXXXX";
        if (!::mkdtemp(scratch)) std::abort();
        folder = scratch;
        const std::string home = folder + "/home";
        if (!completeProgramFolder(disk, TAVRICAT_DELIVERED_DIR, home)) std::abort();
        WorkbenchOptions options;
        options.settingsPath = folder + "/settings.ini";
        options.direction = Direction::EC;
        workbench = std::make_unique<Workbench>(disk, Workspace(disk, home), dialogs, progress, options);
        if (!workbench->start()) std::abort();
        SentenceLibrary library;
        library.name = "BenchEC";
        generator.fill(library, kLibraryExamples);
        workbench->installSentenceLibrary(std::move(library), "BenchEC", LibraryInfo{});
        generator.fillTermBase(workbench->engine.termBase);
    }
    ~Setup() { std::system(("rm -rf " + folder).c_str()); }
};

Setup& setup() {
    static Setup shared;
    return shared;
}

// Sentences of kTokens tokens, as a document writes them.
std::vector<std::string> sentencesOf(const std::vector<stClass>& queries, std::size_t most) {
    std::vector<std::string> sentences;
    for (const stClass& query : queries) {
        if (query.segCount != static_cast<std::int32_t>(kTokens)) continue;
        std::string text = query.text;
        if (text.size() > 2 && text.compare(text.size() - 2, 2, " .") == 0) text.erase(text.size() - 2, 1);
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        sentences.push_back(text);
        if (sentences.size() == most) break;
    }
    return sentences;
}

void translateSentences(benchmark::State& state, const std::vector<std::string>& sentences) {
    Setup& s = setup();
    if (sentences.empty()) {
        state.SkipWithError("no sentence of 25 tokens");
        return;
    }
    std::vector<double> micros;
    std::size_t offered = 0;
    for (auto _ : state) {
        micros.clear();
        offered = 0;
        for (const std::string& sentence : sentences) {
            RichText document;
            document.append(sentence + "\r\n", document.defaultFormat());
            const double start = seconds();
            SentenceTranslationSetup run(*s.workbench);
            const SentenceTranslation result = translateSentence(run.context(), s.workbench->sentenceState, document,
                                                                 TranslateTrigger::NextSentence, ViewInput{});
            micros.push_back((seconds() - start) * 1e6);
            if (result.path != ExamplePath::None) ++offered;
            benchmark::DoNotOptimize(result.translationBox.data());
        }
    }
    state.counters["sentences"] = static_cast<double>(sentences.size());
    state.counters["with_example"] = static_cast<double>(offered);
    reportLatency(state, micros);
}

void similar(benchmark::State& state) {
    static const std::vector<std::string> sentences = sentencesOf(setup().generator.similarQueries(20000, 7), 200);
    translateSentences(state, sentences);
}

void exact(benchmark::State& state) {
    static const std::vector<std::string> sentences = sentencesOf(setup().generator.exactQueries(20000, 8), 200);
    translateSentences(state, sentences);
}

void fresh(benchmark::State& state) {
    static const std::vector<std::string> sentences = sentencesOf(setup().generator.freshQueries(20000, 9), 200);
    translateSentences(state, sentences);
}

// One document of the sentences, translated from front to back as a person would: each
// sentence is translated (not timed), then its confirmation is timed. Every tenth stored
// example also writes the recovery files (with fsync), which is what p95 and max show.
void confirm(benchmark::State& state) {
    static const std::vector<std::string> sentences = sentencesOf(setup().generator.similarQueries(40000, 11), 300);
    Setup& s = setup();
    if (sentences.size() < 100) {
        state.SkipWithError("too few sentences of 25 tokens");
        return;
    }
    std::string text;
    for (const std::string& sentence : sentences) text += sentence + "\r\n";
    std::vector<double> micros;
    std::size_t stored = 0, written = 0;
    for (auto _ : state) {
        micros.clear();
        RichText document;
        document.append(text, document.defaultFormat());
        document.setCaret(0);
        for (std::size_t i = 0; i < sentences.size(); ++i) {
            SentenceTranslationSetup run(*s.workbench);
            const SentenceTranslation result = translateSentence(run.context(), s.workbench->sentenceState, document,
                                                                 TranslateTrigger::NextSentence, ViewInput{});
            if (result.outcome != SentenceOutcome::Translated) break;
            std::string box = result.translationBox.empty() ? std::string("这是译文。") : result.translationBox;
            const double start = seconds();
            SentenceConfirmationSetup confirmation(*s.workbench);
            const ConfirmationResult done =
                confirmSentence(confirmation.context(), s.workbench->sentenceState, document, box);
            micros.push_back((seconds() - start) * 1e6);
            if (done.outcome == ConfirmOutcome::Stored || done.outcome == ConfirmOutcome::Corrected) ++stored;
            if (done.written) ++written;
        }
    }
    state.counters["sentences"] = static_cast<double>(micros.size());
    state.counters["stored"] = static_cast<double>(stored);
    state.counters["written"] = static_cast<double>(written);
    reportLatency(state, micros);
}

BENCHMARK(similar)->Name("translate_sentence/25_tokens/similar")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(exact)->Name("translate_sentence/25_tokens/exact")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(fresh)->Name("translate_sentence/25_tokens/new")->Unit(benchmark::kMillisecond)->Iterations(1);
// Last: it adds examples to the shared library.
BENCHMARK(confirm)->Name("confirm_sentence/25_tokens/300_sentence_document")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tavricat

BENCHMARK_MAIN();
