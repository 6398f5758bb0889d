#pragma once
// Blanks between Chinese characters. The setting SpaceInHanChar asks for a blank between
// Chinese characters (and between Chinese and other text); these functions add such blanks or
// take the ones between Chinese characters away. Strings are GBK; characters are walked whole,
// so a trail byte is never taken for a single-byte character.

#include <string>
#include <string_view>

namespace tavricat {

// True when `text` holds a Han character: a whole double-byte character outside GBK's rows of
// punctuation, symbols and non-Chinese letters (lead bytes A1-A9).
bool hasCChars(std::string_view text);

// `text` trimmed, with every single blank that stands between two double-byte characters
// removed; everything else stays ("我 们 OK" -> "我们 OK"; two blanks in a row stay).
std::string ClearSpaceInCChars(std::string_view text);

// A blank before every double-byte character and before every single-byte non-blank that
// follows a double-byte character; runs of blanks become one blank; the result is trimmed
// ("我们OK" -> "我 们 OK").
std::string AddSpaceInCChars(std::string_view text);

}  // namespace tavricat
