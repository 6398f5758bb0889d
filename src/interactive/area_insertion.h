#pragma once
// The text the interactive area puts into the translation box: a clicked word or meaning,
// a punctuation button, a run of the common-character box. The box itself (caret,
// selection, character set) belongs to the window; these functions take its text and caret
// as GBK bytes and say what to insert.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/direction.h"

namespace tavricat {

struct AreaToken;

// What to insert at the caret (replacing the selection), and how many characters the caret
// then moves back (1 between a pair of brackets).
struct BoxInsertion {
    std::string text;
    int caretBack = 0;
};

// A word label clicked: its trimmed text.
std::string wordClickText(const AreaToken& token);

// A meaning label clicked: the meaning (the word when the meaning is empty) without a
// trailing "'", with blanks between Chinese characters when `spaceInHanChar`.
std::string meaningClickText(const AreaToken& token, bool spaceInHanChar);

// Puts a blank before `text` when the character just left of `caret` (a byte offset into
// `box`) and the first character of `text` are both ASCII letters or digits, so that two
// words do not run together. At the start of the box no blank is put.
std::string withSeparatingBlank(std::string_view box, std::size_t caret, std::string text);

struct PunctuationButton {
    const char* button;
    const char* ce;              // CE direction
    const char* ecSpaced;        // EC with SpaceInHanChar
    const char* ec;              // EC
};

extern const std::array<PunctuationButton, 7> kPunctuationButtons;

struct TextRun {
    std::size_t start = 0;
    std::size_t length = 0;
};

// Where `text` occurs in the box from `caret` on, else from the start (what Shift over a
// word selects); whole characters only. None for an empty text or no occurrence.
std::optional<TextRun> findFromCaret(std::string_view box, std::size_t caret, std::string_view text);

// A punctuation button pressed: its text for the direction; the caret goes back between a
// pair of brackets.
BoxInsertion punctuationInsertion(const PunctuationButton& button, Direction direction, bool spaceInHanChar);

// The run of the common-character box under byte `pos`: from just after the nearest blank,
// CR or LF before it up to the next one. None when `pos` is at or past the end of the text
// or on a blank or line break.
// `pos` inside a double-byte character counts as that character.
std::optional<TextRun> commonCharacterRunAt(std::string_view box, std::size_t pos);

// A selected run of the common-character box clicked: trimmed, without CR and LF, with
// blanks between Chinese characters when `spaceInHanChar`, after a blank in CE direction.
std::string commonCharacterInsertText(std::string_view run, Direction direction, bool spaceInHanChar);

}  // namespace tavricat
