// What the fuzzy search finds, and how fast, as the library grows: synthetic English→Chinese
// libraries of 10,000, 100,000 and 1,000,000 examples, 150 queries of each kind whose source
// example is known.
//   build/bench/recall_bench                 every size (the 1M library takes about a minute)
//   build/bench/recall_bench 10000 100000    chosen sizes
//
// Kinds: exact (an example's own words), similar (an example with 5-30 % of its words
// replaced), new (fresh sentences of the same vocabulary) and repeated (a new sentence
// stored, then met again, as a translator confirms a sentence and meets it later in the
// document). Each query is analysed by the engine (its term base holds the vocabulary) and
// searched; the search alone and the analysis with the search are timed one query at a time.
//
// Found: exact and repeated queries rate 100 % on their sentence; a similar query finds its
// source example when it is among the candidates or the best candidate rates at least what the
// source example rates when it is searched alone.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/analyser.h"
#include "engine/engine.h"
#include "memory/fuzzy_search.h"
#include "memory/sentence_library.h"
#include "latency.h"
#include "synthetic_library.h"

namespace tavricat {
namespace {

using bench::quantile;
using bench::seconds;

constexpr std::uint32_t kLibrarySeed = 20110;
constexpr std::size_t kQueries = 150;
const AnalysisOptions kAnalysis{Direction::EC, true, true};

struct Row {
    std::vector<double> searchMicros;
    std::vector<double> totalMicros;
    std::size_t found = 0;
    std::size_t withCandidate = 0;
};

void printRow(std::size_t examples, const char* kind, const Row& row, bool hasTruth) {
    const auto share = [&](std::size_t count) { return 100.0 * static_cast<double>(count) / static_cast<double>(row.totalMicros.size()); };
    std::printf("%9zu  %-9s %8.3f %8.3f %9.3f   %8.3f %8.3f %9.3f   ", examples, kind,
                quantile(row.searchMicros, 0.5) / 1000, quantile(row.searchMicros, 0.95) / 1000,
                quantile(row.searchMicros, 1.0) / 1000, quantile(row.totalMicros, 0.5) / 1000,
                quantile(row.totalMicros, 0.95) / 1000, quantile(row.totalMicros, 1.0) / 1000);
    if (hasTruth) std::printf("%6.1f %%", share(row.found));
    else std::printf("     - ");
    std::printf("   %6.1f %%\n", share(row.withCandidate));
    std::fflush(stdout);
}

// Analyses `query`'s text with `engine` and searches `library`; times both.
void searchTimed(const SentenceLibrary& library, Engine& engine, const stClass& query, FuzzySearch& search, Row& row) {
    const double start = seconds();
    analyseSent(query.text, engine.workSent, engine, kAnalysis);
    const double analysed = seconds();
    rankSimilarExamples(library, engine.workSent, search);
    const double end = seconds();
    row.searchMicros.push_back((end - analysed) * 1e6);
    row.totalMicros.push_back((end - start) * 1e6);
    row.withCandidate += !search.CandidateList.empty();
}

// The rate the example alone earns against `query`: the search over a library of it only.
double rateAlone(const bench::SyntheticLibrary& generator, std::size_t example, Engine& engine, const stClass& query) {
    SentenceLibrary alone;
    alone.name = "Alone";
    stClass analysis;
    std::string translation;
    generator.exampleAt(example, analysis, translation);
    if (!alone.addAnalysed(analysis, translation)) std::abort();
    FuzzySearch search;
    analyseSent(query.text, engine.workSent, engine, kAnalysis);
    rankSimilarExamples(alone, engine.workSent, search);
    return search.CandidateList.empty() ? 0 : search.CandidateList.back().rate;
}

bool holds(const FuzzySearch& search, std::size_t example) {
    return std::any_of(search.CandidateList.begin(), search.CandidateList.end(),
                       [&](const Candidate& c) { return c.example == example; });
}

void measure(std::size_t examples, Engine& engine) {
    bench::SyntheticLibrary generator(kLibrarySeed);
    SentenceLibrary library;
    library.name = "BenchEC";
    const double start = seconds();
    if (generator.fill(library, examples) != 0) std::abort();
    const double built = seconds() - start;
    FuzzySearch search;

    std::vector<std::size_t> madeFrom;
    // The first search of a library builds its in-memory lists; one search outside the
    // measured ones leaves every measured search as a translator's steady state.
    const double warmStart = seconds();
    rankSimilarExamples(library, generator.freshQueries(1, 99).front(), search);
    const double warm = seconds() - warmStart;

    Row exact;
    for (const stClass& query : generator.exactQueries(kQueries, 11, &madeFrom)) {
        searchTimed(library, engine, query, search, exact);
        exact.found += search.ExactHit && !search.CandidateList.empty() && search.CandidateList.back().rate == 1.0;
    }
    printRow(examples, "exact", exact, true);

    Row similar;
    const std::vector<stClass> similarSet = generator.similarQueries(kQueries, 12, &madeFrom);
    for (std::size_t q = 0; q < similarSet.size(); ++q) {
        searchTimed(library, engine, similarSet[q], search, similar);
        bool found = holds(search, madeFrom[q]);
        if (!found && !search.CandidateList.empty()) {
            const double bestRate = search.CandidateList.back().rate;
            found = bestRate >= rateAlone(generator, madeFrom[q], engine, similarSet[q]);
        }
        similar.found += found;
    }
    printRow(examples, "similar", similar, true);

    Row fresh;
    const std::vector<stClass> freshSet = generator.freshQueries(kQueries, 13);
    for (const stClass& query : freshSet) searchTimed(library, engine, query, search, fresh);
    printRow(examples, "new", fresh, false);

    Row repeated;
    for (const stClass& query : generator.freshQueries(kQueries, 14)) {
        analyseSent(query.text, engine.workSent, engine, kAnalysis);
        const Result<std::size_t> added = library.addAnalysed(engine.workSent, "重复");
        if (!added) std::abort();
        searchTimed(library, engine, query, search, repeated);
        repeated.found += search.ExactHit && search.bestExample() == *added;
    }
    printRow(examples, "repeated", repeated, true);
    std::printf("%9zu  built in %.1f s, first search %.1f ms\n", examples, built, warm * 1000);
}

}  // namespace
}  // namespace tavricat

int main(int argc, char** argv) {
    using namespace tavricat;
    std::vector<std::size_t> sizes;
    for (int a = 1; a < argc; ++a) sizes.push_back(std::strtoull(argv[a], nullptr, 10));
    if (sizes.empty()) sizes = {10000, 100000, 1000000};
    Engine engine;
    bench::SyntheticLibrary(kLibrarySeed).fillTermBase(engine.termBase);
    std::printf("                       search only (ms)               analysis + search (ms)\n");
    std::printf(" examples  kind        median      p95       max     median      p95       max    found   with candidate\n");
    for (std::size_t examples : sizes) {
        if (examples == 0) {
            std::fprintf(stderr, "recall_bench: sizes are numbers of examples, above 0\n");
            return 2;
        }
        measure(examples, engine);
    }
    return 0;
}
