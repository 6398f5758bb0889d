#pragma once
// Searching text from a 1-based position: a plain substring search, and the whole-token
// search the sentence search uses on an example's tokens.

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

// 1-based position of the first occurrence of `token` in `tokens` (tokens separated by
// blanks) at or after `start` that stands as whole tokens: a blank or an end of `tokens` on
// either side. "cart" is not found in " filter cartridge ", "filter cartridge" and "filter"
// are. 0 when there is none, for an empty token, or when `start` is below 1 or beyond the text.
inline std::size_t findTokenFrom(std::size_t start, std::string_view tokens, std::string_view token) {
    if (start < 1 || start > tokens.size() || token.empty()) return 0;
    for (std::size_t at = tokens.find(token, start - 1); at != std::string_view::npos; at = tokens.find(token, at + 1)) {
        const std::size_t end = at + token.size();
        if ((at == 0 || tokens[at - 1] == ' ') && (end == tokens.size() || tokens[end] == ' ')) return at + 1;
    }
    return 0;
}

}  // namespace tavricat
