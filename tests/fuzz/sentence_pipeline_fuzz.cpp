// The sentence pipeline on any bytes, in both directions, on a workbench started over a copy
// of the delivered program folder: the tokeniser's steps, analyseSent, prepareSent (analysis
// only and full) and the machine translation. Every input must come back with an analysis
// whose parts agree.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/analyser.h"
#include "engine/tokenizer.h"
#include "fuzz_bench.h"
#include "grammar/translation_pipeline.h"

namespace {

using namespace tavricat;
using fuzz::check;

fuzz::BothDirections* g_benches = nullptr;

void checkAnalysis(const stClass& s) {
    check(s.wordCount >= 0 && s.segCount >= 0 && s.segCount <= s.wordCount);
    check(s.wordCount == 0 || s.segCount >= 1);
    for (std::int32_t k = 1; k <= s.segCount; ++k) check(!s.segKeys[static_cast<std::size_t>(k)].empty());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_benches = new fuzz::BothDirections;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096) return 0;
    const Direction direction = (data[0] & 1) ? Direction::CE : Direction::EC;
    Workbench& bench = g_benches->pick(data[0]);
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
