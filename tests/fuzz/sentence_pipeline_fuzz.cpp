// The sentence pipeline on any bytes, in both directions, on a workbench started over a copy
// of the delivered program folder: the tokeniser's steps, analyseSent, prepareSent (analysis
// only and full) and the machine translation. Every input must come back with an analysis
// whose parts agree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <stdlib.h>

#include "app/program_folder_setup.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "base/ports.h"
#include "engine/analyser.h"
#include "engine/tokenizer.h"
#include "grammar/translation_pipeline.h"

namespace {

using namespace tavricat;

struct Benches {
    DiskFileSystem fs;
    SilentDialogs dialogs;
    SilentProgress progress;
    std::unique_ptr<Workbench> ec, ce;
};

Benches* g_benches = nullptr;
char g_folder[] = "/tmp/tavricat-fuzz-XXXXXX";

std::unique_ptr<Workbench> startBench(Benches& b, const std::string& home, Direction direction) {
    WorkbenchOptions options;
    options.settingsPath = home + "/tavricat25cecmini.ini";
    options.direction = direction;
    options.stamp = [] { return std::string("20260101-000000"); };
    auto bench = std::make_unique<Workbench>(b.fs, Workspace(b.fs, home), b.dialogs, b.progress, options);
    if (!bench->start().isOk()) std::abort();
    return bench;
}

void check(bool condition) {
    if (!condition) std::abort();
}

void checkAnalysis(const stClass& s) {
    check(s.wordCount >= 0 && s.segCount >= 0 && s.segCount <= s.wordCount);
    check(s.wordCount == 0 || s.segCount >= 1);
    for (std::int32_t k = 1; k <= s.segCount; ++k) check(!s.segKeys[static_cast<std::size_t>(k)].empty());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!mkdtemp(g_folder)) std::abort();
    std::atexit([] { std::filesystem::remove_all(g_folder); });
    const std::string folder = g_folder;
    g_benches = new Benches;
    if (!completeProgramFolder(g_benches->fs, TAVRICAT_DELIVERED_DIR, folder).isOk()) std::abort();
    g_benches->ec = startBench(*g_benches, folder, Direction::EC);
    g_benches->ce = startBench(*g_benches, folder, Direction::CE);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096) return 0;
    const Direction direction = (data[0] & 1) ? Direction::CE : Direction::EC;
    Workbench& bench = direction == Direction::CE ? *g_benches->ce : *g_benches->ec;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The tokeniser's steps on their own.
    const std::string english = expandShortForms(input);
    for (char c : english) check(static_cast<unsigned char>(c) < 0x80);
    const std::string spaced = spacePunct(direction == Direction::CE ? splitHanChars(0, input) : english);
    check(spaced.find("  ") == std::string::npos);
    check(countWords(spaced) >= 0);
    check(collapseBlanks(input).find("  ") == std::string::npos);

    // The pipeline.
    PipelineContext context{bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames};
    stClass analysis;
    analyseSent(input, analysis, bench.engine, bench.analysisOptions());
    checkAnalysis(analysis);

    std::string sentence = input;
    std::string cleaned;
    prepareSent(sentence, cleaned, context, true);
    check(cleaned.find("  ") == std::string::npos);
    checkAnalysis(bench.engine.workSent);

    sentence = input;
    prepareSent(sentence, cleaned, context, false);
    checkAnalysis(bench.engine.workSent);
    const std::string translation = machineTranslate(bench.engine.workSent, bench.engine.grammarPlacement, direction);
    check(translation.size() <= 64 * (input.size() + 16));
    return 0;
}
