// Loading a damaged sentence library (.rf0/.rf1/.rf2) or term base (.01/.02) from any bytes:
// the first byte picks which, the rest is cut into the files at each "\n@@\n". What loads
// must be usable: searched, added to, saved and loaded again with the same lines.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_bench.h"
#include "memory/fuzzy_search.h"
#include "grammar/translation_pipeline.h"
#include "memory/sentence_library.h"

namespace {

using namespace tavricat;

struct State {
    std::unique_ptr<Workbench> ec;
    std::string userData;
};

State* g_state = nullptr;

std::vector<std::string_view> parts(std::string_view bytes, std::size_t count) {
    std::vector<std::string_view> out;
    constexpr std::string_view kCut = "\n@@\n";
    while (out.size() + 1 < count) {
        std::size_t cut = bytes.find(kCut);
        if (cut == std::string_view::npos) break;
        out.push_back(bytes.substr(0, cut));
        bytes.remove_prefix(cut + kCut.size());
    }
    out.push_back(bytes);
    out.resize(count);
    return out;
}

void sentenceLibrary(std::string_view bytes) {
    Workbench& bench = *g_state->ec;
    const std::vector<std::string_view> files = parts(bytes, 3);
    const char* extensions[] = {".rf0", ".rf1", ".rf2"};
    for (std::size_t i = 0; i < 3; ++i) fuzz::writeFile(g_state->userData + "/Damaged" + extensions[i], files[i]);

    SentenceLibrary library;
    if (!library.load(bench.fs(), g_state->userData, "Damaged")) return;
    PipelineContext pipeline{bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames};
    std::string sentence = "I have a book.";
    std::string cleaned;
    prepareSent(sentence, cleaned, pipeline, false);
    FuzzySearch search;
    rankSimilarExamples(library, bench.engine.workSent, search);
    SimilarityOptions options{bench.analysisOptions(), 65};
    FuzzySearch batch;
    batch.ExampleRate = kNoExampleRate;
    batch.dialogs = &bench.dialogs();
    (void)adaptBestExample(library, bench.engine, options, batch);
    (void)library.addAsent(bench.engine, bench.analysisOptions(), "I have a pen.^ok");
    if (!library.saveFiles(bench.fs(), bench.dialogs(), g_state->userData)) return;
    SentenceLibrary again;
    fuzz::check(static_cast<bool>(again.load(bench.fs(), g_state->userData, "Damaged")));
    fuzz::check(again.libSentences == library.libSentences);
    fuzz::check(again.libWords.size() == library.libWords.size());
}

void termBase(std::string_view bytes) {
    Workbench& bench = *g_state->ec;
    const std::vector<std::string_view> files = parts(bytes, 2);
    fuzz::writeFile(g_state->userData + "/Damaged.01", files[0]);
    fuzz::writeFile(g_state->userData + "/Damaged.02", files[1]);

    TermBase terms;
    if (!terms.load(bench.fs(), g_state->userData, "Damaged")) return;
    fuzz::check(terms.termKeys.size() == terms.termEntries.size());
    (void)terms.lookupKey("book");
    const SortedFind at = terms.find("zz fuzz");
    if (!at.found) fuzz::check(terms.insertAt(at.index, "zz fuzz", "fuzz^^n^"));
    if (!terms.saveTermBase(bench.fs(), bench.dialogs(), g_state->userData)) return;
    TermBase again;
    fuzz::check(static_cast<bool>(again.load(bench.fs(), g_state->userData, "Damaged")));
    fuzz::check(again.termKeys == terms.termKeys);
    fuzz::check(again.termEntries == terms.termEntries);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_state = new State;
    g_state->ec = fuzz::startBench(Direction::EC);
    g_state->userData = fuzz::home().folder + "/userdata";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 32768) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) termBase(bytes);
    else sentenceLibrary(bytes);
    return 0;
}
