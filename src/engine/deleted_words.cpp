#include "engine/deleted_words.h"

#include <string>

#include "base/list_order.h"

namespace tavricat {

bool addDeletedWord(LineList& deletedWords, std::string_view key) {
    if (key.empty() || findSorted(deletedWords, key).found) return false;
    insertSorted(deletedWords, std::string(key));
    return true;
}

bool removeDeletedWord(LineList& deletedWords, std::string_view key) {
    const SortedFind found = findSorted(deletedWords, key);
    if (!found.found) return false;
    deletedWords.erase(deletedWords.begin() + static_cast<std::ptrdiff_t>(found.index));
    return true;
}

}  // namespace tavricat
