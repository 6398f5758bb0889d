#pragma once
// Translating the current sentence again after a term edit changed the entries it uses. The
// translator's text in the translation box is kept: the run gives new tokens and a new
// example, but the box goes back to what the translator had written, caret and all.

#include <cstddef>
#include <string>

#include "document/rich_text.h"

namespace tavricat {

// The translation box as the translator left it.
struct TranslationBoxText {
    std::string text;
    std::size_t caret = 0;
    std::string selected;  // the selected text, empty when nothing is selected
};

// Before the run takes the sentence again: a selection that starts at byte 10 or later just
// after "{>" is an existing translation in the document, so the caret goes 11 bytes before it,
// into the segment's source, for the sentence getter to find the segment again. Any other
// selection stays as it is.
void reselectSentenceForRerun(RichText& document);

// A phrase is split only when its trimmed token holds at least two words.
bool isSplittablePhrase(std::string_view token);

}  // namespace tavricat
