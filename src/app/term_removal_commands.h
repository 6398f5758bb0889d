#pragma once
// The meaning popup's commands that take the current token's entry out of the term base:
// delete it for good ("删除词条", key ".") or split the phrase for this sentence only
// ("拆分词组", key ";"). When an entry was taken out, the sentence is translated again from
// `document` (the bilingual document) and the translator's `box` text and caret are handed
// back unchanged with the new translation; `area` is laid out for it.

#include "app/term_edit_outcome.h"

namespace tavricat {

class Workbench;

inline constexpr const char* kConfirmDeleteWord = "真要删除本单词（词组）吗？";

// Asks "真要删除本单词（词组）吗？"; on yes the token's segment key goes onto the deleted
// words (even when the term base lacks it) and, when the term base holds it, is deleted,
// journalled "dddit key" and queued "A^dddit key", and the sentence is translated again.
TermEditOutcome deleteCurrentWord(Workbench& bench, InteractiveArea& area, const TranslationBoxText& box,
                                  RichText& document);

// For a token of at least two words that the term base holds: its "key^entry" goes onto the
// sentence's PendingRestore, the entry leaves the term base and the lower-cased key goes onto
// the deleted words; the sentence is translated again with the split kept. The next
// sentence's run puts the entry back. Nothing is journalled: the term base is the same once
// the sentence is done. A one-word token, or one the term base lacks, changes nothing.
TermEditOutcome splitCurrentPhrase(Workbench& bench, InteractiveArea& area, const TranslationBoxText& box,
                                   RichText& document);

}  // namespace tavricat
