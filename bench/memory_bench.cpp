// The sentence library and its fuzzy search on synthetic English→Chinese libraries of 10,000,
// 100,000 and 1,000,000 examples: search latency per query kind (median and 95th percentile
// of single queries), adds per second, and save, load and load peak memory of the largest
// library.
//   build-bench/bench/memory_bench                       everything (the 1M cases take minutes)
//   build-bench/bench/memory_bench --benchmark_filter=rankSimilarExamples/100000
//
// Each query is timed on its own with CLOCK_MONOTONIC; the counters median_us and p95_us are
// the figures to read (the framework's Time column is the mean, which a few slow queries
// drag up). Libraries are built once per size and shared by every case.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/ports.h"
#include "engine/engine.h"
#include "memory/fuzzy_search.h"
#include "memory/posting_merge.h"
#include "memory/sentence_library.h"
#include "latency.h"
#include "synthetic_library.h"

namespace tavricat {
namespace {

using bench::quantile;
using bench::reportLatency;
using bench::seconds;

constexpr std::uint32_t kLibrarySeed = 20110;
constexpr std::size_t kQueriesPerKind = 1000;
constexpr const char* kLibraryName = "BenchEC";
constexpr const char* kLoadChildFlag = "--load-child";

enum QueryKind { Exact, Similar, Fresh, kQueryKinds };
const char* const kKindNames[] = {"exact", "similar", "new"};

// "VmRSS" or "VmHWM" of /proc/self/status, in KiB.
long procStatusKb(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long value = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::strtol(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return value;
}

void removeFolder(const std::string& folder) {
    DiskFileSystem fs;
    if (auto names = fs.listDirectory(folder)) {
        for (const std::string& name : *names) (void)fs.remove(joinPath(folder, name));
    }
    ::rmdir(folder.c_str());
}

// A folder under /tmp, removed at exit.
struct TempFolder {
    std::string path;
    TempFolder() {
        char pattern[] = "/tmp/tavricat-memory-bench.XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made) std::abort();
        path = made;
    }
    ~TempFolder() { removeFolder(path); }
};

// The analysis addAnalysed reads (segment keys and their count) without the other arrays,
// so that many of them fit in memory.
stClass keysOnly(const stClass& analysis) {
    stClass light;
    light.segCount = analysis.segCount;
    light.segKeys = analysis.segKeys;
    return light;
}

struct SearchSet {
    SentenceLibrary library;
    std::vector<stClass> queries[kQueryKinds];
    double buildSeconds = 0;
};

// One library per size, all from one seed (the smaller ones are prefixes of the larger).
SearchSet& searchSet(std::size_t examples) {
    static std::map<std::size_t, std::unique_ptr<SearchSet>> cache;
    std::unique_ptr<SearchSet>& slot = cache[examples];
    if (!slot) {
        slot = std::make_unique<SearchSet>();
        bench::SyntheticLibrary generator(kLibrarySeed);
        slot->library.name = kLibraryName;
        const double start = seconds();
        if (generator.fill(slot->library, examples) != 0) std::abort();
        slot->buildSeconds = seconds() - start;
        slot->queries[Exact] = generator.exactQueries(kQueriesPerKind, 1);
        slot->queries[Similar] = generator.similarQueries(kQueriesPerKind, 2);
        slot->queries[Fresh] = generator.freshQueries(kQueriesPerKind, 3);
    }
    return *slot;
}

// An engine whose term base holds the library's vocabulary, so that the analyses the fuzzy
// path makes of an example's text give segments with meanings, as in real use.
Engine& sharedEngine() {
    static Engine* engine = [] {
        auto* e = new Engine;
        bench::SyntheticLibrary(kLibrarySeed).fillTermBase(e->termBase);
        return e;
    }();
    return *engine;
}

// How many examples the search of `query` visits (the merge of its tokens' postings), and
// how many of its tokens are searched as text in each of them.
void visitCounts(const SentenceLibrary& library, const stClass& query, double& visited, double& unindexed) {
    std::vector<std::string> tokens;
    for (std::int32_t k = 1; k <= query.segCount; ++k) tokens.push_back(query.segKeys[static_cast<std::size_t>(k)]);
    const std::vector<QueryToken> classified = classifyQueryTokens(library, tokens);
    for (const QueryToken& token : classified) unindexed += token.kind == QueryTokenClass::Unindexed;
    PostingMerge merge(classified);
    std::size_t example = 0;
    std::vector<std::size_t> matched;
    while (merge.next(example, matched)) visited += 1;
}

void libraryCounters(benchmark::State& state, const SearchSet& set) {
    state.counters["build_s"] = set.buildSeconds;
    state.counters["words"] = static_cast<double>(set.library.libWords.size());
    std::size_t stopped = 0;
    for (const std::string& postings : set.library.libPostings) stopped += postings == kStopMarker;
    state.counters["stop_words"] = static_cast<double>(stopped);
}

void rankSimilarExamplesBench(benchmark::State& state, std::size_t examples, QueryKind kind) {
    SearchSet& set = searchSet(examples);
    const std::vector<stClass>& queries = set.queries[kind];
    FuzzySearch search;
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(state.max_iterations));
    std::size_t i = 0, candidates = 0, exactHits = 0;
    for (auto _ : state) {
        const stClass& query = queries[i++ % queries.size()];
        const double start = seconds();
        rankSimilarExamples(set.library, query, search);
        micros.push_back((seconds() - start) * 1e6);
        candidates += !search.CandidateList.empty();
        exactHits += search.ExactHit;
    }
    reportLatency(state, micros);
    double visited = 0, unindexed = 0;
    for (const stClass& query : queries) visitCounts(set.library, query, visited, unindexed);
    state.counters["visited_mean"] = visited / static_cast<double>(queries.size());
    state.counters["text_tokens_mean"] = unindexed / static_cast<double>(queries.size());
    state.counters["with_candidate"] = static_cast<double>(candidates) / static_cast<double>(micros.size());
    state.counters["exact_hit"] = static_cast<double>(exactHits) / static_cast<double>(micros.size());
    libraryCounters(state, set);
}

void adaptBestExampleBench(benchmark::State& state, std::size_t examples, QueryKind kind) {
    SearchSet& set = searchSet(examples);
    const std::vector<stClass>& queries = set.queries[kind];
    Engine& engine = sharedEngine();
    SimilarityOptions options;
    options.analysis = AnalysisOptions{Direction::EC, false, true};
    options.matchrate = 65;
    FuzzySearch search;
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(state.max_iterations));
    std::size_t i = 0, full = 0, fuzzy = 0;
    for (auto _ : state) {
        // The search may reorder workSent's meanings, so every query starts from its copy.
        engine.workSent = queries[i++ % queries.size()];
        search.ExampleRate = kNoExampleRate;
        const double start = seconds();
        std::string target = adaptBestExample(set.library, engine, options, search);
        micros.push_back((seconds() - start) * 1e6);
        benchmark::DoNotOptimize(target);
        if (!target.empty()) (search.ExampleRate >= 1 ? full : fuzzy) += 1;
    }
    reportLatency(state, micros);
    state.counters["full_match"] = static_cast<double>(full) / static_cast<double>(micros.size());
    state.counters["fuzzy_used"] = static_cast<double>(fuzzy) / static_cast<double>(micros.size());
    libraryCounters(state, set);
}

// `count` analyses (keys only) and translations from their own generator.
struct AddSet {
    std::vector<stClass> analyses;
    std::vector<std::string> translations;
    AddSet(std::uint32_t seed, std::size_t count) {
        bench::SyntheticLibrary generator(seed);
        stClass analysis;
        std::string translation;
        analyses.reserve(count);
        translations.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            generator.next(analysis, translation);
            analyses.push_back(keysOnly(analysis));
            translations.push_back(translation);
        }
    }
};

// 100,000 adds into a library that starts empty.
void addGrowing(benchmark::State& state) {
    static AddSet adds(kLibrarySeed, 100000);
    std::vector<double> micros;
    micros.reserve(adds.analyses.size() * static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        SentenceLibrary library;
        for (std::size_t i = 0; i < adds.analyses.size(); ++i) {
            const double start = seconds();
            auto added = library.addAnalysed(adds.analyses[i], adds.translations[i]);
            micros.push_back((seconds() - start) * 1e6);
            if (!added) state.SkipWithError("an add was refused");
        }
        state.PauseTiming();
        library.clear();  // the destruction is not an add
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(micros.size()));
    reportLatency(state, micros);
}

// 10,000 adds into a copy of the 1,000,000-example library (each iteration is one add).
void addToLarge(benchmark::State& state) {
    static AddSet adds(kLibrarySeed + 1, 10000);
    SentenceLibrary library = searchSet(1000000).library;
    std::vector<double> micros;
    micros.reserve(adds.analyses.size());
    std::size_t i = 0;
    for (auto _ : state) {
        const double start = seconds();
        auto added = library.addAnalysed(adds.analyses[i % adds.analyses.size()], adds.translations[i % adds.analyses.size()]);
        micros.push_back((seconds() - start) * 1e6);
        ++i;
        if (!added) state.SkipWithError("an add was refused");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(micros.size()));
    reportLatency(state, micros);
}

struct FileSizes {
    double rf0 = 0, rf1 = 0, rf2 = 0;
    double total() const { return rf0 + rf1 + rf2; }
};

FileSizes fileSizes(const std::string& folder) {
    DiskFileSystem fs;
    FileSizes sizes;
    auto sizeOf = [&](const char* extension) {
        auto data = fs.readFile(joinPath(folder, std::string(kLibraryName) + extension));
        return data ? static_cast<double>(data->size()) : 0.0;
    };
    sizes.rf0 = sizeOf(".rf0");
    sizes.rf1 = sizeOf(".rf1");
    sizes.rf2 = sizeOf(".rf2");
    return sizes;
}

// The 1,000,000-example library saved once, for the load cases.
const std::string& savedLibraryFolder() {
    static TempFolder folder;
    static bool saved = false;
    if (!saved) {
        DiskFileSystem fs;
        SilentDialogs dialogs;
        if (!searchSet(1000000).library.saveFiles(fs, dialogs, folder.path).isOk()) std::abort();
        saved = true;
    }
    return folder.path;
}

void save1M(benchmark::State& state) {
    const SentenceLibrary& library = searchSet(1000000).library;
    TempFolder folder;
    DiskFileSystem fs;
    SilentDialogs dialogs;
    for (auto _ : state) {
        if (!library.saveFiles(fs, dialogs, folder.path).isOk()) state.SkipWithError("save failed");
    }
    const FileSizes sizes = fileSizes(folder.path);
    state.counters["rf0_bytes"] = sizes.rf0;
    state.counters["rf1_bytes"] = sizes.rf1;
    state.counters["rf2_bytes"] = sizes.rf2;
    state.counters["file_bytes"] = sizes.total();
    state.SetBytesProcessed(static_cast<std::int64_t>(sizes.total()) * static_cast<std::int64_t>(state.iterations()));
}

std::string selfPath() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(length));
}

// The load run in a fresh process (this program started with kLoadChildFlag), so that its
// peak resident size holds nothing but the loaded library. Reads back what loadChild prints.
struct ChildLoad {
    bool ok = false;
    double rssBeforeKb = 0, hwmAfterKb = 0, seconds = 0, examples = 0, maxrssKb = 0;
};

ChildLoad loadInChild(const std::string& folder) {
    ChildLoad result;
    const std::string command = "'" + selfPath() + "' " + kLoadChildFlag + " '" + folder + "' " + kLibraryName;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    result.ok = std::fscanf(pipe, "%lf %lf %lf %lf %lf", &result.rssBeforeKb, &result.hwmAfterKb, &result.seconds,
                            &result.examples, &result.maxrssKb) == 5;
    if (::pclose(pipe) != 0) result.ok = false;
    return result;
}

int loadChild(const char* folder, const char* name) {
    DiskFileSystem fs;
    SentenceLibrary library;
    const long before = procStatusKb("VmRSS");
    const double start = seconds();
    Status loaded = library.load(fs, folder, name);
    const double elapsed = seconds() - start;
    if (!loaded.isOk()) return 1;
    const long peak = procStatusKb("VmHWM");
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld %ld %.6f %zu %ld\n", before, peak, elapsed, library.exampleCount(), usage.ru_maxrss);
    return 0;
}

void load1M(benchmark::State& state) {
    const std::string& folder = savedLibraryFolder();
    DiskFileSystem fs;
    std::vector<double> times;
    for (auto _ : state) {
        SentenceLibrary library;
        const double start = seconds();
        if (!library.load(fs, folder, kLibraryName).isOk()) state.SkipWithError("load failed");
        times.push_back(seconds() - start);
        state.PauseTiming();
        if (library.exampleCount() != 1000000) state.SkipWithError("wrong example count");
        library.clear();
        state.ResumeTiming();
    }
    const FileSizes sizes = fileSizes(folder);
    const ChildLoad child = loadInChild(folder);
    if (!child.ok || child.examples != 1000000) {
        state.SkipWithError("the loading child failed");
        return;
    }
    const double peakBytes = (child.hwmAfterKb - child.rssBeforeKb) * 1024;
    state.counters["load_s_median"] = quantile(times, 0.5);
    state.counters["child_load_s"] = child.seconds;
    state.counters["file_bytes"] = sizes.total();
    state.counters["peak_bytes"] = peakBytes;
    state.counters["peak_per_file"] = peakBytes / sizes.total();
    state.counters["child_maxrss_bytes"] = child.maxrssKb * 1024;
    state.SetBytesProcessed(static_cast<std::int64_t>(sizes.total()) * static_cast<std::int64_t>(state.iterations()));
}

void registerAll() {
    using benchmark::RegisterBenchmark;
    const std::size_t sizes[] = {10000, 100000, 1000000};
    for (const char* function : {"rankSimilarExamples", "adaptBestExample"}) {
        const bool whole = std::strcmp(function, "adaptBestExample") == 0;
        for (std::size_t examples : sizes) {
            for (int k = 0; k < kQueryKinds; ++k) {
                const auto kind = static_cast<QueryKind>(k);
                const std::string name = std::string(function) + "/" + std::to_string(examples) + "/" + kKindNames[k];
                auto* b = whole ? RegisterBenchmark(name.c_str(), [=](benchmark::State& s) { adaptBestExampleBench(s, examples, kind); })
                                : RegisterBenchmark(name.c_str(), [=](benchmark::State& s) { rankSimilarExamplesBench(s, examples, kind); });
                b->Iterations(static_cast<benchmark::IterationCount>(kQueriesPerKind))->Unit(benchmark::kMicrosecond);
            }
        }
    }
    RegisterBenchmark("add/empty_to_100000", addGrowing)->Iterations(3)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("add/into_1000000", addToLarge)->Iterations(10000)->Unit(benchmark::kMicrosecond);
    RegisterBenchmark("save/1000000", save1M)->Iterations(2)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("load/1000000", load1M)->Iterations(3)->Unit(benchmark::kMillisecond);
}

}  // namespace
}  // namespace tavricat

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], tavricat::kLoadChildFlag) == 0) return tavricat::loadChild(argv[2], argv[3]);
    tavricat::registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
