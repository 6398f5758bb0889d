#pragma once
// "|"-separated lists and "^"-separated entry fields, the small text forms the engine and
// the term base share.

#include <string>
#include <string_view>
#include <vector>

namespace tavricat {

// Keeps the first occurrence of each item (exact comparison), drops empty items, rejoins
// with "|": "a||b|a|" gives "a|b".
std::string dedupBar(std::string_view list);

// Splits at `separator`; with maxFields > 0 the last field takes the rest of the text.
std::vector<std::string> splitFields(std::string_view text, char separator, std::size_t maxFields = 0);

// Joins with `separator`.
std::string joinFields(const std::vector<std::string>& fields, char separator);

}  // namespace tavricat
