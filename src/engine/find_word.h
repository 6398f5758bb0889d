#pragma once
// Plain substring search from a 1-based position, the way the sentence search, the
// interactive translation and the automatic translation look for a token inside a line.

#include <cstddef>
#include <string_view>

namespace tavricat {

// 1-based position of the first occurrence of `word` in `text` at or after `start`; 0 when
// there is none or `start` is below 1 or beyond the text; `start` itself for an empty word.
// Not a whole-word match: "i" is found inside "it".
inline std::size_t findWordFrom(std::size_t start, std::string_view text, std::string_view word) {
    if (start < 1 || start > text.size()) return 0;
    if (word.empty()) return start;
    std::size_t at = text.find(word, start - 1);
    return at == std::string_view::npos ? 0 : at + 1;
}

}  // namespace tavricat
