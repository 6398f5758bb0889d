#pragma once
// The texts of the term entry commands, without the workbench: the key an entry is stored
// under, the value the dialog's fields make, the phrase proposed from marked words, and the
// checks that keep a typed field from breaking the term lists.

#include <string>
#include <string_view>
#include <vector>

#include "base/direction.h"
#include "base/term_entry_form.h"

namespace tavricat {

struct stClass;
class InteractiveArea;

// The key of a typed term from its analysis: baseWords 1..wordCount, each trimmed, joined by
// single blanks, with a final "." attached to the word before it ("etc ." gives "etc.").
std::string termKeyOfBaseWords(const stClass& analysis);

// meanings "^" association "^" part of speech "^" attribute, as typed.
std::string typedTermValueOf(const TermEntryForm& form);
// The same with the blanks between Chinese characters removed: what a new entry stores.
std::string termValueOf(const TermEntryForm& form);

// Fills the four value fields from a stored entry split at "^": meanings, association, part
// of speech, and everything after the third "^" as the attribute.
void fillValueFields(TermEntryForm& form, std::string_view entry);

// False when a field would break the term lists: a line break in any field, "^" in the key,
// the meanings, the association or the part of speech (it would shift the fields after it).
// The attribute may hold "^": it carries the rest of an entry with more fields.
bool isStorableForm(const TermEntryForm& form);

// The full-width bar "｜" turned into "|", character by character.
std::string withAsciiBars(std::string_view text);

// What marked words propose for a new phrase.
struct PhraseProposal {
    std::vector<int> tokens;  // the marked tokens, in order
    std::string key;          // their segment keys joined by blanks (CE: blanks between Chinese characters)
    std::string meanings;     // their meaning labels, joined by a blank in CE, run together in EC
};

// The marked tokens of `area` (which lays out `workSent`, token i in slot i + 1).
PhraseProposal phraseOfMarkedTokens(const InteractiveArea& area, const stClass& workSent, Direction direction);

}  // namespace tavricat
