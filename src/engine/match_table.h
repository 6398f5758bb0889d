#pragma once
// The match table: one record per placement of a grammar pattern on the segments of the
// working sentence. Filled by placeGrammar, read by machineTranslate; a record whose first
// segment is set to kDisabled drops out of the next translation without a new analysis.

#include <array>
#include <string>
#include <vector>

namespace tavricat {

struct GapRange {
    int first = 0;  // first segment of the gap
    int count = 0;  // segments in the gap
};

struct MatchRecord {
    static constexpr int kDisabled = 1000;

    int first = 0;            // first segment of the placement
    int last = 0;             // last segment
    std::string pattern;      // the placement pattern
    std::string templ;        // the template, cut before its first "|"
    int span = 0;             // last - first + 1
    int fixedTokens = 0;      // pattern tokens minus gaps
    int score = 0;            // span + 2 * fixedTokens - braced tags
    std::array<GapRange, 3> gaps{};
    int gapCount = 0;         // "*" in the pattern
    int braceCount = 0;       // "{" in the pattern
    std::array<int, 9> tagSegments{};  // segments matched by braced tags 1..9, in pattern order (0: none)

    bool disabled() const { return first == kDisabled; }
};

// What placing the grammar patterns produced for one sentence.
struct GrammarPlacement {
    std::vector<MatchRecord> matchTable;
    std::string placedPatterns;  // pattern and template of each placement, each followed by CR LF
    std::string fixedWords;      // the templates joined by "|", every "#x"/"@x" replaced by "|"
};

}  // namespace tavricat
