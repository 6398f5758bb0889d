#pragma once
// A small summary of one stored example line that the sentence search reads instead of the
// line: its token count, whether it holds an inline tag, and a 256-bit set of the hashed
// byte pairs it contains. A word of two or more bytes can occur in the line only if all of
// its byte pairs are in the set, so the search can tell, without reading the line, the most
// that an example can match, and skip examples that cannot matter.

#include <array>
#include <cstdint>
#include <string_view>

namespace tavricat {

class LineSignature {
public:
    LineSignature() = default;

    // The summary of a library line ("03 i have it ^我有"). Its source part counts as
    // standing between blanks, so that " " + token + " " may be looked for.
    static LineSignature ofLine(std::string_view line);
    // The byte pairs of a word searched for in lines.
    static LineSignature ofWord(std::string_view word);

    // False only when `word` (made by ofWord) certainly does not occur in the line. Words of
    // one byte have no pairs and may always occur.
    bool mayContain(const LineSignature& word) const {
        for (std::size_t k = 0; k < m_pairs.size(); ++k)
            if ((m_pairs[k] & word.m_pairs[k]) != word.m_pairs[k]) return false;
        return true;
    }
    // The count field of the line; -1 when it is not two hexadecimal digits.
    int tokenCount() const { return m_tokenCount; }
    // The line holds ":>" or "<:".
    bool hasTag() const { return m_hasTag; }

private:
    void addPairs(std::string_view text);

    std::array<std::uint64_t, 4> m_pairs{};
    std::int16_t m_tokenCount = -1;
    bool m_hasTag = false;
};

}  // namespace tavricat
