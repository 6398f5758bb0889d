#pragma once
// The bilingual markup. A translated sentence in a document is the segment
//   "{*>" source "<}" rate "{>" translation "<*}"
// where rate is the match rate of the reference used, in percent (999: no usable reference).
// Segments never nest and may be of any length; text between segments is untranslated source. In a word-processor
// document the segment start and end are written "{0>" and "<0}".

#include <cstdint>
#include <string>
#include <string_view>

#include "document/char_format.h"

namespace tavricat {

inline constexpr std::string_view kSegmentStart = "{*>";
inline constexpr std::string_view kSourceEnd = "<}";
inline constexpr std::string_view kTargetStart = "{>";
inline constexpr std::string_view kSegmentEnd = "<*}";
inline constexpr std::string_view kWordSegmentStart = "{0>";
inline constexpr std::string_view kWordSegmentEnd = "<0}";

// The rate written for a similarity `s` (1.0 = exact): the integer nearest to s × 100.
int rateForSimilarity(double similarity);

// True when the text holds any of the four segment markers.
bool containsMarker(std::string_view text);

// The format of marker runs: GB2312, 8 points, the isolated-tag colour, protected; the font
// of the text around.
CharFormat markerFormat(const CharFormat& around, std::uint32_t isoTagsColour);

// Word form <-> our form of the segment start and end markers.
std::string fromWordForm(std::string_view text);  // "{0>" -> "{*>", then "<0}" -> "<*}"
std::string toWordForm(std::string_view text);    // "{*>" -> "{0>", then "<*}" -> "<0}"

// Every occurrence of `from` replaced by `to`, left to right, in one pass.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace tavricat
