#pragma once
// The examples of the words whose postings reached the cap (kStopMarker in .rf2). The word
// index stops naming them there, so an example that shares only such words with a sentence
// is found through these lists. Held in memory only: built from the examples at the first
// search that needs them and kept in step by the library's changes from then on. A list may
// still name an example deleted or given another source since (the search rates what the
// line holds); it never misses an example that holds the word.

#include <cstddef>
#include <string_view>

#include "base/line_list.h"
#include "memory/word_lists.h"

namespace tavricat {

class CappedExamples {
public:
    // Every word of `words` whose postings are the stop marker gets the examples of
    // `sentences` whose source holds it.
    void build(const LineList& sentences, const LineList& words, const LineList& postings);
    void clear();
    bool built() const { return m_built; }
    // Whether the lists were built over (or kept in step up to) `examples` examples.
    bool inStepWith(std::size_t examples) const { return m_built && m_examples == examples; }
    void setExampleCount(std::size_t examples) { m_examples = examples; }

    // Example `example` holds `token` now (added, or given a new source); nothing happens for
    // a token whose postings are not capped.
    void holds(std::string_view token, std::size_t example);
    // `token`'s postings reached the cap while they named `examples`: its examples are listed
    // here from now on.
    void capped(std::string_view token, ExampleList examples);

    // The examples holding `token`, oldest first; null when its postings are not capped.
    const ExampleList* examplesOf(std::string_view token) const { return m_lists.find(token); }

private:
    WordLists m_lists;
    std::size_t m_examples = 0;
    std::size_t m_longestToken = 1;  // in words: a term may be a token of several words
    bool m_built = false;
};

}  // namespace tavricat
