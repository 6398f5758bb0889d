#pragma once
// The marks a project analysis leaves in library lines while it runs. A new sentence of the
// project is appended as a temporary entry "<key> ^<sentence> ^tvn<N>" (N: how often it
// occurred); a real example the project matched gets "^tvok<P>" appended (P: the best rate
// in percent). Both marks stand at the very end of the line, so only a mark there counts:
// a translation that merely holds the letters is not taken for one.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavricat {

inline constexpr const char* kTemporaryMark = "^tvn";
inline constexpr const char* kUseMark = "^tvok";

// Where a mark (`mark` + digits up to the end of the line) starts in the translation part,
// or nothing. A "^" that is the trail byte of a double-byte character is never a mark.
std::optional<std::size_t> findEndMark(std::string_view line, std::string_view mark);

// The counter N of a temporary entry; nothing for any other line.
std::optional<long> temporaryCount(std::string_view line);
// The rate P of a used example; nothing when it carries no use mark.
std::optional<long> useRate(std::string_view line);

// The sentence of a temporary entry: the text after its first "^" up to the mark.
std::string temporarySentence(std::string_view line);

}  // namespace tavricat
