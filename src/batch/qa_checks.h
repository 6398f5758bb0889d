#pragma once
// Quality checks of a bilingual document before it goes to the client: every segment's
// translation against its source (tags, numbers, the term base's terms, untranslated or empty
// translations, blanks and punctuation of the target language) and the segments against each
// other (the same source translated differently). Each finding names its segment.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/direction.h"

namespace tavricat {

class SystemDictionary;
class TermBase;

enum class QaKind {
    Tags,          // the translation's inline tags differ from the source's in count or order
    Numbers,       // a number of the source is missing from the translation
    Terms,         // a term of the source whose meanings appear nowhere in the translation
    Untranslated,  // the translation is the source, or in the source's language
    Empty,         // the translation is empty
    Inconsistent,  // the same source was translated differently before
    DoubleBlanks,  // two blanks in a row in the translation
    Punctuation,   // punctuation of the source language in the translation
};

// The English name of a kind ("tags", "numbers", ...), as the command line reports it.
const char* qaKindName(QaKind kind);

// One segment "{*>" source "<}" rate "{>" translation "<*}" of a bilingual text.
struct QaSegment {
    std::size_t start = 0;  // byte offset of its "{*>"
    std::size_t end = 0;    // byte offset after its "<*}"
    std::size_t line = 1;   // the line it starts on, from 1
    std::string source;
    std::string translation;
};

struct QaFinding {
    QaKind kind = QaKind::Tags;
    std::size_t segment = 0;  // index into the segments
    std::string detail;       // GBK: what was found ("1,250", "valve → 阀门", ...)
};

// The segments of a bilingual text, in order. A segment whose markers are broken ends the list.
std::vector<QaSegment> bilingualSegments(std::string_view text);

// Every finding, segment by segment in document order. `terms` may be null (no term check).
// With `dictionary`, a term-base entry that is only a copy of the dictionary's entry (the
// analysis copies what it looks up) is no term of the translator's and is not checked.
std::vector<QaFinding> checkSegments(const std::vector<QaSegment>& segments, Direction direction, const TermBase* terms,
                                     SystemDictionary* dictionary = nullptr);

// The numbers of a text, normalised: full-width digits as ASCII, thousands separators
// ("1,000") dropped, so that "1,000", "1000" and "１０００" are one number.
std::vector<std::string> numbersIn(std::string_view text);

}  // namespace tavricat
