#pragma once
// The small editing commands of the translation box and the example commands under it, as
// functions over the box's text and selection, so that the window only shows the result.
// Offsets are bytes of the GBK text; a double-byte character is always taken whole.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavricat {

class SentenceLibrary;

struct BoxText {
    std::string text;
    std::size_t caret = 0;  // the selection is collapsed here
};

// Backspace: the selection, or else the one character left of the caret, is removed.
BoxText eraseLeft(std::string_view text, std::size_t selStart, std::size_t selLength);

// Delete right: the selection, or else the character right of the caret, is removed.
BoxText eraseRight(std::string_view text, std::size_t selStart, std::size_t selLength);

// All capitals: the selection, or the whole text when nothing is selected, upper-cased.
BoxText toAllCapitals(std::string_view text, std::size_t selStart, std::size_t selLength);

// Capital initials: the selection (or the whole text) lower-cased with the first character of
// each blank-separated word upper-cased; runs of blanks between words become one.
BoxText toCapitalInitials(std::string_view text, std::size_t selStart, std::size_t selLength);

// Use example: the box text for the best example's stored translation (blanks between
// Chinese characters when `spaceInHanChar`); nothing when there is no such translation.
std::optional<std::string> exampleForBox(std::string_view storedTranslation, bool spaceInHanChar);

// Update example: the text after "%]" (looked for within the first 2000 bytes of the example
// box), line ends turned into blanks and blanks between Chinese characters removed, becomes
// the translation of example `index`. False, nothing changed, when the box has no rate label
// or the example has no "^".
bool updateExampleFromBox(SentenceLibrary& library, std::size_t index, std::string_view exampleBox);

}  // namespace tavricat
