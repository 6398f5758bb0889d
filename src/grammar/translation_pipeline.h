#pragma once
// The sentence pipeline in front of the machine translation, and the translation itself.

#include <string>
#include <vector>

#include "engine/analyser.h"
#include "engine/match_table.h"
#include "engine/sentence_analysis.h"

namespace tavricat {

class Engine;
struct GrammarLibrary;

// What the pipeline reads besides the engine: the grammar library of the direction and the
// user's selected domain labels (in priority order).
struct PipelineContext {
    Engine& engine;
    AnalysisOptions options;
    const GrammarLibrary& grammar;
    const std::vector<std::string>& domainLabels;
};

// `prepareSent`: joins words hyphenated at a line end, removes trailing line ends (in place)
// and analyses the sentence into workSent. In analysis-only mode `cleaned` receives the
// sentence on one line (no tabs, line ends or "^", single blanks) and the match table is left
// alone; otherwise the translations are ordered by domain, inflections tagged, function and
// measure words added, the grammar patterns found and placed, and `cleaned` is emptied.
void prepareSent(std::string& sentence, std::string& cleaned, const PipelineContext& context, bool analysisOnly);

// `orderByDomain`: drops the translations labelled for domains the user did not select and
// puts those of the first three selected domains first; segment -1 means every segment.
void orderByDomain(stClass& sentence, int segment, const std::vector<std::string>& domainLabels);

// `machineTranslate`: the target sentence assembled from the segments' first translations
// and the placed grammar templates. Reads only the prepared state, so it can run again after
// a placement was disabled.
std::string machineTranslate(const stClass& sentence, const GrammarPlacement& placement, Direction direction);

}  // namespace tavricat
