#pragma once
// A paragraph of the document open in Writer, as the program's own sentence getters see it:
// GBK text with the character each byte offset belongs to, so that a sentence found in bytes
// is selected in Writer by characters. Writer's marker form "{0>" "<0}" reads as the
// program's "{*>" "<*}" (same lengths), so a paragraph holding translated sentences is walked
// as the bilingual document is: a translated sentence is stepped over, or revised when the
// cursor stands in it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/direction.h"
#include "document/sentence_getters.h"

namespace tavricat::wordlink {

class LinkedParagraph {
public:
    // `utf8`: the paragraph as Writer gives it. A character GBK cannot hold stands as "?"
    // (one byte), so positions stay in step; lostCharacters() counts them.
    explicit LinkedParagraph(std::string_view utf8);

    const std::string& text() const { return m_text; }
    std::size_t characterCount() const { return m_starts.size() - 1; }
    std::size_t lostCharacters() const { return m_lost; }
    // The byte offset of character `index` (the text's size at or beyond the end).
    std::size_t byteOf(std::size_t index) const;
    // The character that byte offset `offset` belongs to (the count at or beyond the end).
    std::size_t characterAt(std::size_t offset) const;

private:
    std::string m_text;
    std::vector<std::size_t> m_starts;  // byte offset of each character, then the text's size
    std::size_t m_lost = 0;
};

struct ParagraphPick {
    std::size_t start = 0;  // the bytes to select: the sentence, or a revised sentence's translation
    std::size_t end = 0;
    std::string sentence;   // GBK; for a revision the segment's source
    bool revision = false;
};

// The next sentence of `paragraph` at or after byte `caret`, by the getter of the direction's
// source language; nothing when only blanks and marks are left.
std::optional<ParagraphPick> pickSentence(const LinkedParagraph& paragraph, std::size_t caret, Direction direction,
                                          const BreakOptions& breaks, const AbbreviationLookup& abbreviations);

}  // namespace tavricat::wordlink
