#pragma once
// Analysing one sentence into a SentenceAnalysis: clean-up, punctuation spacing, words,
// base forms, and segments against the dictionaries.

#include <string>
#include <string_view>

#include "base/direction.h"
#include "engine/sentence_analysis.h"

namespace tavricat {

class Engine;

struct AnalysisOptions {
    Direction direction = Direction::EC;
    bool useSysLib = true;   // consult the system dictionary
    bool useUserLib = true;  // consult the term base (without it there are no segments)
};

// `analyseSent`: fills `target` from `sentence`. The system-dictionary pass copies every key
// it finds that the term base lacks into the term base (in memory), with its entry converted.
void analyseSent(std::string_view sentence, stClass& target, Engine& engine, const AnalysisOptions& options);

// `normSent`: removes trailing line ends from `sentence` (in place), analyses it into the
// engine's refSent and empties `spare`.
void normSent(std::string& sentence, std::string& spare, Engine& engine, const AnalysisOptions& options);

// The key a sentence or term is stored under: refSent's segment keys 1..segCount, trimmed,
// joined by single blanks.
std::string segmentKeyOf(const stClass& analysis);
// The unsegmented form: baseWords 1..wordCount joined by single blanks.
std::string baseWordKeyOf(const stClass& analysis);

}  // namespace tavricat
