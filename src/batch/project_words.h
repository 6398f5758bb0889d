#pragma once
// The word list of a project: every word of the analysed sentences worth a term entry, in
// list order, with the current term base's entry for it (or an empty one), ready to be
// written out as a term base of the project.

#include <string_view>

#include "base/line_list.h"
#include "engine/sentence_analysis.h"
#include "base/word_table.h"

namespace tavricat {

class TermBase;

// The entry of a word the term base lacks: four empty fields.
inline constexpr const char* kEmptyTermEntry = "^^^";

// True for a word worth listing: longer than 2 bytes, not an integer, without "_", "#",
// "+", ":", "\\" or "=", not starting with "/", and no "." except as its last character.
bool isProjectWord(std::string_view word);

class ProjectWords {
public:
    // Parallel lists: the words in list order and their entries.
    const LineList& keys() const;
    const LineList& entries() const;

    void clear();
    // `addAsentSWords`: the segment keys (in input case where a key is just the segment's
    // words lowered) and the base words of `analysis` that are project words and not yet
    // listed are inserted at their place, with their entries.
    void addAsentSWords(const stClass& analysis, const TermBase& termBase);

private:
    void addWord(std::string_view word, const TermBase& termBase);
    void sortIfNeeded() const;

    // In the order first met while words are added (a word's place in list order would move
    // every later line), sorted when the lists are read.
    mutable LineList m_words;
    mutable LineList m_entries;
    mutable WordTable m_table;
    mutable bool m_sorted = true;
};

}  // namespace tavricat
