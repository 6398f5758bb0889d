#pragma once
// The measure-word table of the program folder: art.01 lists nouns' measure-word keys (one
// per line, list order) and line n of art.02 is the measure word text to use for line n of
// art.01. Plain GBK text files; read-only for the program.

#include <string>
#include <string_view>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/status.h"

namespace tavricat {

struct MeasureWords {
    LineList measureKeys;   // sorted in list order
    LineList measureWords;  // measureWords[i] belongs to measureKeys[i]

    // The measure word text for `key` (ASCII case ignored); empty when the key is not listed.
    std::string wordFor(std::string_view key) const;
};

// Loads both files; fails when either cannot be read. Keys out of list order are sorted
// together with their words; a key without a line in art.02 gets an empty word, and art.02
// lines beyond the keys are not used.
Result<MeasureWords> loadMeasureWords(FileSystem& fs, const std::string& art01Path, const std::string& art02Path);

}  // namespace tavricat
