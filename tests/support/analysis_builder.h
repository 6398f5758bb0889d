#pragma once
// Analyses built by hand, as the tokeniser would leave them, for tests that need exact
// segment keys without a dictionary.

#include <string>
#include <vector>

#include "engine/sentence_analysis.h"

namespace tavricat::testing {

// Segment keys 1..n; `meanings`, when given, fills segTrans alongside. The text is the keys
// joined by blanks.
inline stClass analysisOf(const std::vector<std::string>& keys, const std::vector<std::string>& meanings = {}) {
    stClass a;
    a.reset(keys.size() + 1);
    a.segCount = static_cast<std::int32_t>(keys.size());
    a.wordCount = a.segCount;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        a.segKeys[i + 1] = keys[i];
        if (i < meanings.size()) a.segTrans[i + 1] = meanings[i];
        a.text += (i ? " " : "") + keys[i];
    }
    return a;
}

}  // namespace tavricat::testing
