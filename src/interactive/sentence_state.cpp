#include "interactive/sentence_state.h"

#include "base/gbk.h"
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
        const std::string meanings =
            caret == std::string::npos ? std::string() : std::string(gbk::cutToBytes(std::string_view(entry).substr(caret + 1), 1000));
        if (const SortedFind at = termBase.find(key); !at.found) termBase.insertAt(at.index, key, meanings);
        if (const SortedFind deleted = findSorted(deletedWords, key); deleted.found)
            deletedWords.erase(deletedWords.begin() + static_cast<std::ptrdiff_t>(deleted.index));
    }
    state.PendingRestore.clear();
}

}  // namespace tavricat
