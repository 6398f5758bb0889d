// Sentence analysis against a system dictionary of 100,000+ keys and a term base of
// 50,000+ keys.   build/bench/engine_bench

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "engine/analyser.h"
#include "engine/dictionary_writer.h"
#include "engine/engine.h"
#include "base/list_order.h"
#include "synthetic_text.h"

namespace tavricat {
namespace {

struct Fixture {
    std::string folder;
    Engine engine;
    std::vector<std::string> sentences;

    Fixture() {
        char pattern[] = "/tmp/tavricat-bench.XXXXXX";
        folder = ::mkdtemp(pattern);
        bench::EnglishSentences generator(7, 20000);
        const auto& words = generator.vocabulary();
        // System dictionary: every word, and two-word phrases of frequent words.
        std::vector<std::pair<std::string, std::string>> pairs;
        for (const std::string& w : words) pairs.emplace_back(w, "[n.]词" + w + "^个^");
        for (std::size_t i = 0; pairs.size() < 110000; ++i)
            pairs.emplace_back(words[i % 400] + " " + words[(i * 7919) % 2000], "短语^^");
        DiskFileSystem fs;
        if (!writeSystemDictionary(fs, folder + "/ecdict", pairs).isOk()) std::abort();
        if (!engine.systemDictionary.open(fs, folder + "/ecdict")) std::abort();
        // Term base: 50,000 keys in list order.
        std::vector<std::string> keys;
        for (std::size_t i = 0; keys.size() < 50000; ++i)
            keys.push_back(i < words.size() ? words[i] : words[i % 3000] + " " + words[(i / 3000) % words.size()]);
        std::sort(keys.begin(), keys.end(), ListOrderLess{});
        keys.erase(std::unique(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
                       return compareListOrder(a, b) == 0;
                   }),
                   keys.end());
        engine.termBase.termKeys = keys;
        engine.termBase.termEntries.assign(keys.size(), "术语^^n^");
        for (int i = 0; i < 2000; ++i) sentences.push_back(generator.sentence());
        // Copying system entries into the term base happens once per key; the figures below
        // are for a term base that already holds the keys met (a translator's steady state).
        for (const std::string& s : sentences) analyseSent(s, engine.workSent, engine, {Direction::EC, true, true});
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

void BM_AnalyseSentence(benchmark::State& state) {
    static Fixture fixture;
    AnalysisOptions options{Direction::EC, true, true};
    std::size_t i = 0;
    const std::size_t readsBefore = fixture.engine.systemDictionary.blockReads();
    for (auto _ : state) {
        analyseSent(fixture.sentences[i++ % fixture.sentences.size()], fixture.engine.workSent, fixture.engine, options);
        benchmark::DoNotOptimize(fixture.engine.workSent.segCount);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["blockReadsPerSentence"] = static_cast<double>(fixture.engine.systemDictionary.blockReads() - readsBefore) /
                                              static_cast<double>(state.iterations());
    state.counters["termBaseKeys"] = static_cast<double>(fixture.engine.termBase.size());
}
BENCHMARK(BM_AnalyseSentence)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavricat

BENCHMARK_MAIN();
