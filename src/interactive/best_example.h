#pragma once
// Choosing the best stored example for the sentence under translation and fitting its
// translation to it, as the interactive translation does: the rate with the 99 % rule, the
// threshold, and for a fuzzy match the differing words marked and replaced -- literally where
// the example's translation holds them as they are (numbers, names), else by meaning.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/analyser.h"
#include "interactive/reference_display.h"
#include "memory/fuzzy_search.h"

namespace tavricat {

class Dialogs;
class Engine;
class SentenceLibrary;

inline constexpr const char* kUnreadableExample = "error 801 occur!";

enum class ExamplePath {
    Full,   // the example is the sentence: its translation as stored
    Fuzzy,  // the example's translation with the differing words replaced
    None,   // no usable example: the caller turns to the machine translation
};

struct BestExampleOptions {
    AnalysisOptions analysis;
    int matchrate = 65;
    bool spaceInHanChar = false;
};

struct BestExample {
    ExamplePath path = ExamplePath::None;
    double ExampleRate = kNoExampleRate;
    std::optional<std::size_t> example;  // the best candidate's index in the library
    std::string source;                  // its source as stored (with its blanks)
    std::string translation;             // its translation as stored
    std::string AdaptedTarget;           // the translation fitted to the sentence
    std::vector<bool> differs;           // per token: not found in the example (shown red)
    // Per token: the meaning an example sharing a run of tokens uses, shown in place of the
    // first meaning (empty: none). Filled on the no-example path only.
    std::vector<std::string> phraseMeanings;
    ReferenceDisplay reference;
};

// Rates the last candidate of `search` (which rankSimilarExamples filled for engine.workSent, in any
// scope) and adapts it. On the no-example path the full search runs again for its phrase hits. On the no-example path the meanings of runs the examples share move to the
// front of workSent's segTrans, and AdaptedTarget is left empty for the machine translation.
// An unreadable number in the stored example shows "error 801 occur!" and the rest goes on.
// Uses engine.refSent.
BestExample chooseBestExample(const SentenceLibrary& library, Engine& engine, FuzzySearch& search,
                              const BestExampleOptions& options, Dialogs& dialogs);

}  // namespace tavricat
