#pragma once
// XLIFF 1.2 files prepared by other tools: the translation units' sources are read with their
// inline markup as the program's tags (<g id="1">…</g> as "<1:>…<:1>", <x id="2"/> and the
// other placeholders as "<:2:>"), and targets are written back into the file's own bytes:
// a unit's <target> is put right after its </source> (or an existing one replaced), and
// nothing else of the file changes.

#include <cstddef>
#include <string>
#include <vector>

namespace tavricat {

struct XliffUnit {
    std::string id;
    std::string source;          // UTF-8, inline markup as the program's tags
    bool translate = true;       // translate="no" units are left alone
    std::size_t sourceEnd = 0;   // byte offset after </source>
    std::size_t targetStart = 0; // an existing <target ...>...</target> (or <target/>): its range
    std::size_t targetEnd = 0;   // equal to targetStart when there is none
    bool translated = false;     // the existing target holds text
};

// The units of the file, in order. A unit whose source cannot be read is left out.
std::vector<XliffUnit> xliffUnits(const std::string& xml);

struct XliffTarget {
    std::size_t unit = 0;     // index into the units
    std::string text;         // UTF-8, the program's tags allowed
    std::string state;        // "translated", "needs-review-translation", ...
};

// The file with the targets written; everything else byte for byte as it was.
std::string withXliffTargets(const std::string& xml, const std::vector<XliffUnit>& units,
                             const std::vector<XliffTarget>& targets);

}  // namespace tavricat
