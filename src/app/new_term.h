#pragma once
// What every command that creates a term entry does after the person has given it: the entry
// goes into the term base at its sorted place, into the run's journal and, when changes are
// sent to a shared library, into the queue to send; its key leaves the deleted words.

#include <string>
#include <string_view>

#include "base/status.h"

namespace tavricat {

class Workbench;

// Queues a term change ("A^" + line) for the shared library when the person's changes are
// sent there (shareMode 1 or 3 with a shared library chosen); else does nothing.
void queueTermChange(Workbench& bench, std::string_view line);

// The key a typed term is stored under: the text trimmed (in CE with blanks between its
// Chinese characters), analysed, and rebuilt from its base words (a final full stop attached).
std::string typedTermKey(Workbench& bench, std::string_view typed);

// Stores a new entry `key` ^ `value` as it is: term base, journal "key^value", queue
// "A^key^value", deleted words. Refused (BadInput, nothing changed) for an empty key, a key
// holding "^" or a line break or reading as a journalled deletion ("dddit "), and a value
// holding a line break; Refused when the term base holds the key already.
Status storeNewTerm(Workbench& bench, const std::string& key, const std::string& value);

// Deletes `key` from the term base as a person's deletion: journal "dddit key", queue
// "A^dddit key". NotFound (nothing journalled) when the term base lacks it. The key goes
// onto the deleted words either way when `remember` is set, so that the system dictionary
// does not bring it back.
Status deletePersonsTerm(Workbench& bench, const std::string& key, bool remember);

}  // namespace tavricat
