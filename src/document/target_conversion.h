#pragma once
// Deriving the target and the sentence pairs from a bilingual buffer.

#include <string>
#include <vector>

#include "base/ports.h"
#include "document/rich_text.h"

namespace tavricat {

// `cleanup`: turns the bilingual buffer into target-only text in place. Every "{*>" source
// "<}" rate "{>" is removed (searching marker to marker), then every "<*}" (two passes).
// Progress (position against length, bar of 100) is reported every fifth step.
void cleanup(RichText& buffer, Progress* progress = nullptr);

struct PairExtraction {
    std::vector<std::string> pairs;       // "source^target", one per segment
    std::vector<std::size_t> nested;      // start positions of segments skipped: markers in the source
    std::vector<std::size_t> refused;     // start positions of segments that make no pair (below)
};

// `extractSentencePairs`: the sentence pairs of the buffer. Line breaks become blanks, double blanks
// single ones, both sides trimmed. Segments whose source holds a marker are skipped and
// reported in `nested`; segments with an empty side, a "^" in the source (it would end the
// source of the pair line early) or a marker in the target in `refused`. Length is no reason
// to skip one.
PairExtraction extractSentencePairs(const RichText& buffer, Progress* progress = nullptr);

}  // namespace tavricat
