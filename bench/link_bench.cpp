// The word-processor link with LibreOffice Writer running (headless, started once): taking
// the next sentence after the cursor (getasent: the paragraph read, the program's sentence
// getter run on it, the sentence selected in Writer) and putting its translation back as
// bilingual markup (putback), sentence after sentence through a synthetic English document
// of about 60 KB (some 600 sentences in paragraphs of six) opened in Writer.
//   build/bench/link_bench
// Each call is timed on its own; median_us and p95_us are the figures to read. Nothing is
// measured (the run says why) where LibreOffice or Python UNO is missing.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "latency.h"
#include "synthetic_text.h"
#include "wordlink/writer_link.h"

namespace tavricat::bench {
namespace {

class NoAbbreviations : public AbbreviationLookup {
public:
    bool contains(std::string_view) const override { return false; }
};

// A headless Writer with the synthetic document open, shared by the benchmarks.
struct OpenDocument {
    std::string folder;
    std::unique_ptr<wordlink::WriterLink> link;
    std::string failure;

    OpenDocument() {
        char scratch[] = "/tmp/tavricat-link-bench-XXXXXX";
        if (!::mkdtemp(scratch)) {
            failure = "no scratch folder";
            return;
        }
        folder = scratch;
        wordlink::WriterLinkOptions options = wordlink::writerLinkOptionsFor(folder);
        options.pipe = "tavricat-bench-" + std::to_string(::getpid());
        options.profile = folder + "/profile";
        options.headless = true;
        link = std::make_unique<wordlink::WriterLink>(options);
        Result<bool> started = link->connect();
        if (!started) {
            failure = started.status().message();
            return;
        }
        EnglishSentences sentences(7);
        std::ofstream(folder + "/document.txt", std::ios::binary) << document(sentences, 60 * 1024);
        if (Status opened = link->openDocument(folder + "/document.txt"); !opened) failure = opened.message();
    }
    ~OpenDocument() {
        if (link && link->connected()) (void)link->quitWriter();
        if (!folder.empty()) (void)std::system(("rm -rf '" + folder + "'").c_str());
    }
};

OpenDocument& shared() {
    static OpenDocument document;
    return document;
}

void takeAndPutBack(benchmark::State& state) {
    OpenDocument& open = shared();
    if (!open.failure.empty()) {
        state.SkipWithError(("Writer is not available: " + open.failure).c_str());
        return;
    }
    NoAbbreviations none;
    std::vector<double> take;
    std::vector<double> put;
    for (auto _ : state) {
        for (int i = 0; i < 300; ++i) {
            const double t0 = seconds();
            Result<wordlink::TakenSentence> sentence = open.link->takeNextSentence(Direction::EC, BreakOptions{}, none);
            const double t1 = seconds();
            if (!sentence || sentence->text.empty()) {
                state.SkipWithError("the document ended or the link failed");
                return;
            }
            if (!open.link->putBack("译文" + std::to_string(i), "999", false)) {
                state.SkipWithError("putback failed");
                return;
            }
            const double t2 = seconds();
            take.push_back((t1 - t0) * 1e6);
            put.push_back((t2 - t1) * 1e6);
        }
    }
    state.counters["take_median_us"] = quantile(take, 0.5);
    state.counters["take_p95_us"] = quantile(take, 0.95);
    state.counters["take_max_us"] = quantile(take, 1.0);
    state.counters["put_median_us"] = quantile(put, 0.5);
    state.counters["put_p95_us"] = quantile(put, 0.95);
    state.counters["put_max_us"] = quantile(put, 1.0);
}

}  // namespace

BENCHMARK(takeAndPutBack)->Name("link/take_and_putback/300_sentences")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace tavricat::bench

BENCHMARK_MAIN();
