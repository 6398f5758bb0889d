#pragma once
// What a term edit made while translating a sentence hands back to the window, and the
// re-run of the sentence that edits of its entries need.

#include <cstddef>
#include <optional>

#include "document/rich_text.h"
#include "interactive/interactive_area.h"
#include "interactive/sentence_rerun.h"
#include "interactive/sentence_translation.h"

namespace tavricat {

class Workbench;

// The sentence translated again. `translation.translationBox` is the translator's own text,
// kept, and `caret` where the caret stood in it: the window shows the translation (tokens,
// example, patterns) and puts the box text and caret back as they were.
struct SentenceRerun {
    SentenceTranslation translation;
    std::size_t caret = 0;
};

struct TermEditOutcome {
    bool changed = false;                // the term base or the deleted words changed
    std::optional<SentenceRerun> rerun;  // when the sentence was translated again
};

// Translates the document's current sentence again (trigger Selection, or PhraseSplit to keep
// a split phrase out) after adjusting the document selection (reselectSentenceForRerun), and
// puts `box` back into the result. `area`, when given, is laid out for the new analysis.
SentenceRerun rerunKeepingBox(Workbench& bench, RichText& document, TranslateTrigger trigger,
                              const TranslationBoxText& box, InteractiveArea* area);

}  // namespace tavricat
