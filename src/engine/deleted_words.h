#pragma once
// The deleted words (DeletedWords.ini): term keys the person deleted, which the system
// dictionary no longer copies into the term base. Sorted in list order, each key once.

#include <string_view>

#include "base/line_list.h"

namespace tavricat {

// Adds `key` at its sorted place unless the list holds it (ASCII case ignored). True when
// it was added.
bool addDeletedWord(LineList& deletedWords, std::string_view key);
// Takes `key` off the list. True when it was there.
bool removeDeletedWord(LineList& deletedWords, std::string_view key);

}  // namespace tavricat
