#pragma once
// Dictionary segmentation: cutting a lower-case, base-form text into the longest dictionary
// keys that begin it at word boundaries, each with its entry. Inflected words are found
// under their base forms; an inflected form with an entry of its own has that entry merged
// into its base word's.

#include <string>
#include <string_view>
#include <vector>

#include "engine/dictionary_source.h"

namespace tavricat {

struct Segmentation {
    std::vector<std::string> keys;
    std::vector<std::string> entries;
    // Parallel to keys: the inflected form whose own entry was merged into the segment's
    // entry ("pleased" for the segment "please"), empty for a segment that merged nothing.
    std::vector<std::string> mergedForms;
};

// `segmentText` against the term base or the system dictionary. For the term base an unknown
// word becomes a segment whose key and translation are the word itself; for the system
// dictionary it is skipped.
Segmentation segmentText(std::string_view text, DictSource source, Dictionaries& dictionaries);

// Merges two entries field by field (3 fields for the system dictionary, 4 for the term
// base): the items of the second that the first lacks are appended, every non-empty field
// ending with "|".
std::string mergeEntries(DictSource source, std::string_view first, std::string_view second);

}  // namespace tavricat
