#pragma once
// Checking the segment structure of a bilingual text before deriving files from it, so that a
// broken document gives a clear message instead of a half-converted result.

#include <string>
#include <string_view>
#include <vector>

namespace tavricat {

struct MarkupProblem {
    std::size_t position;  // byte offset of the marker concerned
    std::string message;   // GBK, for the person
};

// Problems in order of position: segments without an end, markers out of place (a marker
// inside a source, a stray end marker), a rate that is not a number. Length is none: a
// segment may be as long as the sentence it holds.
std::vector<MarkupProblem> checkMarkup(std::string_view text);

}  // namespace tavricat
