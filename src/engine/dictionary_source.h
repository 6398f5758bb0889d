#pragma once
// The two dictionaries the engine consults, as the segmentation and the morphology see them.

#include <string>
#include <string_view>

#include "base/line_list.h"

namespace tavricat {

enum class DictSource { System = 0, TermBase = 1 };

// Parallel sorted key and value lists to search: the whole term base, or the block of the
// system dictionary chosen for the searched string.
struct KeyValueLists {
    const LineList* keys = nullptr;
    const LineList* values = nullptr;
};

class Dictionaries {
public:
    virtual ~Dictionaries() = default;
    // Exact look-up (list order: ASCII case ignored) of the trimmed key; empty when absent.
    virtual std::string lookupKey(std::string_view key, DictSource source) = 0;
    // The lists that hold `candidate` if any list does. Empty lists when the source is not
    // available (no system dictionary open, empty term base).
    virtual KeyValueLists listsFor(std::string_view candidate, DictSource source) = 0;
    // Keys the translator deleted; system keys listed here are not used.
    virtual bool isDeleted(std::string_view key) const = 0;
};

}  // namespace tavricat
