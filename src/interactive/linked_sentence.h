#pragma once
// Interactive translation of a document open in a word processor (the link): the sentence
// comes from the word processor instead of the bilingual document, and the confirmed
// translation goes back into it. Analysis, example search, the interactive area and the
// library are the same as for the program's own document.

#include <string>

#include "base/status.h"
#include "interactive/sentence_confirmation.h"
#include "interactive/sentence_translation.h"

namespace tavricat {

struct LinkedPick {
    std::string sentence;             // GBK; empty at the end of the document
    bool revision = false;            // translated before: its translation is selected
    std::string selectedTranslation;  // for a revision, that translation
};

// The document in the word processor, as the interactive translation sees it.
class LinkedDocument {
public:
    virtual ~LinkedDocument() = default;
    // The selected text when something is selected; else the next sentence after the cursor,
    // which becomes selected.
    virtual Result<LinkedPick> takeSentence() = 0;
    // Writes `translation` at the sentence taken last (`rate`: the match rate in percent, 999
    // without a reference); a revision replaces the translation selected.
    virtual Status putBack(const std::string& translation, int rate, bool revising) = 0;
};

// Ctrl+J / Ctrl+K in the link: reset, split phrases restored, the sentence taken from the
// word processor and checked, then translateText. A link failure is told to the person.
SentenceTranslation translateLinkedSentence(SentenceTranslationContext& context, SentenceState& state,
                                            LinkedDocument& document, TranslateTrigger trigger);

// The text the word processor receives: trimmed; in CE direction its first letter upper-cased
// and a blank after a final ".;:?!", so that the next sentence does not run into it.
std::string linkedFormOf(Direction direction, std::string_view box);

// Ctrl+L in the link: the tag check, the pair stored as confirmSentence stores it, then the
// translation written back through the link; the box is emptied only when it was written.
ConfirmationResult confirmLinkedSentence(ConfirmationContext& context, SentenceState& state, LinkedDocument& document,
                                         std::string& box);

}  // namespace tavricat
