#include "interactive/sentence_state.h"

#include "base/list_order.h"
#include "engine/term_base.h"

namespace tavricat {

void SentenceState::reset(bool keepReEdit) {
    CurrentWord = -1;
    ExampleRate = kNoExampleRate;
    exampleUsed = false;
    bestCandidate.reset();
    if (!keepReEdit) reEdit = false;
}

void restoreSplitPhrases(SentenceState& state, TermBase& termBase, LineList& deletedWords) {
    for (const std::string& entry : state.PendingRestore) {
        const std::size_t caret = entry.find('^');
        const std::string key = entry.substr(0, caret);
        // The entry comes back whole: it was taken out whole, and a cut one would be saved so.
        const std::string meanings = caret == std::string::npos ? std::string() : entry.substr(caret + 1);
        if (const SortedFind at = termBase.find(key); !at.found) termBase.insertAt(at.index, key, meanings);
        if (const SortedFind deleted = findSorted(deletedWords, key); deleted.found)
            deletedWords.erase(deletedWords.begin() + static_cast<std::ptrdiff_t>(deleted.index));
    }
    state.PendingRestore.clear();
}

}  // namespace tavricat
