// Concordance search on a synthetic English→Chinese library of 1,000,000 examples: building
// its index once, then single searches (median and 95th percentile) for the most common
// source word (beyond the posting cap, served by the concordance's own index), a word of
// middling frequency (served by the library's word index), two common words together, and a
// character and a word of the translations; and the cost the index adds to each new example.
//   build/bench/concordance_bench
//   build/bench/concordance_bench --benchmark_filter=search

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "latency.h"
#include "memory/concordance.h"
#include "memory/sentence_library.h"
#include "synthetic_library.h"

namespace tavricat {
namespace {

using bench::reportLatency;
using bench::seconds;

constexpr std::uint32_t kLibrarySeed = 20110;
constexpr std::size_t kExamples = 1000000;
constexpr std::size_t kShownHits = 200;  // what the window's pane shows
constexpr int kSearches = 200;

long residentKb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long value = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmRSS:", 6) == 0) value = std::strtol(line + 6, nullptr, 10);
    std::fclose(f);
    return value;
}

struct Library {
    bench::SyntheticLibrary generator{kLibrarySeed};
    SentenceLibrary library;
};

Library& shared() {
    static std::unique_ptr<Library> built = [] {
        auto made = std::make_unique<Library>();
        if (made->generator.fill(made->library, kExamples) != 0) std::abort();
        return made;
    }();
    return *built;
}

void buildIndex(benchmark::State& state) {
    Library& l = shared();
    for (auto _ : state) {
        const long before = residentKb();
        const double start = seconds();
        ConcordanceIndex index;
        index.build(l.library);
        state.counters["build_s"] = seconds() - start;
        state.counters["index_mb"] = static_cast<double>(residentKb() - before) / 1024.0;
    }
    (void)l.library.concordanceIndex();  // the library's own, for the searches below
}

void search(benchmark::State& state, const std::string& query, bool inTranslation) {
    Library& l = shared();
    (void)l.library.concordanceIndex();
    std::vector<double> micros;
    std::size_t hits = 0;
    for (auto _ : state) {
        const double start = seconds();
        hits = concordance(l.library, query, inTranslation, kShownHits).size();
        micros.push_back((seconds() - start) * 1e6);
    }
    state.counters["hits"] = static_cast<double>(hits);
    reportLatency(state, micros);
}

// 10,000 examples added while the index is built: what keeping it in step costs each add.
void addKeptInStep(benchmark::State& state, bool withIndex) {
    bench::SyntheticLibrary generator(kLibrarySeed);
    SentenceLibrary library;
    if (generator.fill(library, 200000) != 0) std::abort();
    if (withIndex) (void)library.concordanceIndex();
    stClass analysis;
    std::string translation;
    std::vector<double> micros;
    for (auto _ : state) {
        generator.next(analysis, translation);
        const double start = seconds();
        if (!library.addAnalysed(analysis, translation)) state.SkipWithError("an add was refused");
        micros.push_back((seconds() - start) * 1e6);
    }
    if (withIndex && !library.concordanceIndexReady()) state.SkipWithError("the index fell out of step");
    reportLatency(state, micros);
}

void registerAll() {
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("index/build_1000000", buildIndex)->Iterations(1)->Unit(benchmark::kMillisecond);
    const std::vector<std::string>& words = shared().generator.vocabulary();
    const std::vector<std::string>& meanings = shared().generator.meanings();
    struct Case {
        std::string name, query;
        bool inTranslation;
    } cases[] = {
        {"search/source_most_common_word", words[0], false},
        {"search/source_middling_word", words[2000], false},
        {"search/source_two_common_words", words[0] + " " + words[1], false},
        {"search/translation_common_character", meanings[0].substr(0, 2), true},
        {"search/translation_common_word", meanings[0], true},
    };
    for (const Case& c : cases)
        RegisterBenchmark(c.name.c_str(), [c](benchmark::State& s) { search(s, c.query, c.inTranslation); })
            ->Iterations(kSearches)
            ->Unit(benchmark::kMicrosecond);
    RegisterBenchmark("add/without_index", [](benchmark::State& s) { addKeptInStep(s, false); })
        ->Iterations(10000)
        ->Unit(benchmark::kMicrosecond);
    RegisterBenchmark("add/index_kept_in_step", [](benchmark::State& s) { addKeptInStep(s, true); })
        ->Iterations(10000)
        ->Unit(benchmark::kMicrosecond);
}

}  // namespace
}  // namespace tavricat

int main(int argc, char** argv) {
    tavricat::registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
