#pragma once
// A hash index over a word list (the library's .rf1, a project's words): a word's line found
// in a probe or two instead of a binary search of list-order comparisons, and the list may be
// in any order. Words that compare equal in list order (ASCII letters without case) hash alike.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/line_list.h"

namespace tavricat {

class WordTable {
public:
    void build(const LineList& words);
    void clear();
    // Whether the table indexes as many words as `words` holds (lines added or removed from
    // outside make it stale).
    bool inStepWith(const LineList& words) const { return m_count == words.size(); }

    // The line of `word` in `words` (the list the table was built over); nullopt when absent.
    std::optional<std::size_t> find(const LineList& words, std::string_view word) const;
    // words.back() was just appended.
    void appended(const LineList& words);
    // A word was inserted at `position`: the lines from there on moved down by one.
    void insertedAt(const LineList& words, std::size_t position);

private:
    std::size_t slotOf(const LineList& words, std::string_view word) const;  // where it is or would go
    void grow(const LineList& words);

    std::vector<std::uint32_t> m_slots;  // line + 1; 0 is free
    std::size_t m_count = 0;
};

}  // namespace tavricat
