#pragma once
// What the interactive translation keeps about the sentence under translation, from one run
// of the translate-a-sentence command to the next: the confirmation reads it, a new run
// starts it afresh. Owned by the Workbench.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/line_list.h"
#include "memory/fuzzy_search.h"

namespace tavricat {

class TermBase;

struct DocumentSelection {
    std::size_t start = 0;
    std::size_t length = 0;
    friend bool operator==(const DocumentSelection&, const DocumentSelection&) = default;
};

class SentenceState {
public:
    int CurrentWord = -1;                  // the current token of the interactive area
    double ExampleRate = kNoExampleRate;   // 1.0 is 100 %; kNoExampleRate: no usable example
    bool exampleUsed = false;              // a 100 % example went into the translation box
    std::size_t exampleIndex = 0;          // that example's index in the library
    // The best candidate of the search, offered or not: what the example box's delete and
    // update commands act on.
    std::optional<std::size_t> bestCandidate;
    std::string exampleSource;             // the best example's two halves
    std::string exampleTranslation;
    bool reEdit = false;                   // the sentence already has a translation in the document
    DocumentSelection selection;           // the sentence's selection, for the confirmation
    // Term entries taken out for this sentence only (a phrase split): key "^" meanings. They
    // go back into the term base when the next sentence is translated.
    LineList PendingRestore;

    // The clean start of a run. The re-edit flag survives only when `keepReEdit` (the command
    // that goes on to the next sentence leaves it as the sentence getter set it).
    void reset(bool keepReEdit);
};

// Puts every entry of PendingRestore back into the term base (a key already there is left as
// it is) and takes its key off the deleted words, then empties the list. The entry comes
// back whole, however long.
void restoreSplitPhrases(SentenceState& state, TermBase& termBase, LineList& deletedWords);

}  // namespace tavricat
