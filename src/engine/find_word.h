#pragma once
// Searching text from a 1-based position: a plain substring search, and the whole-token
// search the sentence search uses on an example's tokens.

#include <cstddef>
#include <cstring>
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
    if (start < 1 || start > tokens.size() || token.empty() || token.size() > tokens.size()) return 0;
    // Candidates are the token's first byte where a token starts; the rest is compared only there.
    const char* const data = tokens.data();
    const std::size_t lastStart = tokens.size() - token.size();
    for (std::size_t at = start - 1; at <= lastStart;) {
        const void* hit = std::memchr(data + at, token[0], lastStart - at + 1);
        if (!hit) return 0;
        at = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        const std::size_t end = at + token.size();
        if ((at == 0 || data[at - 1] == ' ') && (end == tokens.size() || data[end] == ' ') &&
            std::memcmp(data + at + 1, token.data() + 1, token.size() - 1) == 0)
            return at + 1;
        ++at;
    }
    return 0;
}

}  // namespace tavricat
