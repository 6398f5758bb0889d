#pragma once
// TMX 1.4b, the exchange format of translation memories, into and out of the current
// sentence library. Import reads the file a translation unit at a time (any size in bounded
// memory) and puts every English–Chinese pair through the library update's rules; units of
// other languages are skipped and counted, and a unit whose text GBK cannot hold is reported
// by its number instead of being stored with "?". Inline markup (bpt, ept, ph, it) becomes
// the program's tags ("<1:>", "<:1>", "<:2:>") and goes back out the same way.

#include <cstddef>
#include <string>
#include <vector>

#include "base/status.h"
#include "memory/library_update.h"

namespace tavricat {

class SentenceLibrary;

struct TmxImportCounts {
    std::size_t units = 0;           // <tu> elements read
    std::size_t otherLanguages = 0;  // units without both an English and a Chinese variant
    std::vector<std::size_t> notGbk; // numbers (from 1) of units with text GBK cannot hold
    FileUpdateCounts pairs;          // what the library update made of the pairs
};

// Imports `path` into context.library in the context's direction (English source for EC,
// Chinese for CE). Fails only when the file cannot be read or is not a TMX file; a unit that
// is not well-formed XML is counted in otherLanguages and skipped.
Result<TmxImportCounts> importTmx(LibraryUpdateContext& context, const std::string& path, bool overwrite);

// The library's examples as a TMX 1.4b file (written by scratch file and rename). `direction`
// says which side is English. The number of units written.
Result<std::size_t> exportTmx(const SentenceLibrary& library, Direction direction, const std::string& path);

// The text of a TMX <seg> (its XML, "<seg>...</seg>") with inline markup as the program's tags.
std::string segmentText(const std::string& segXml);

}  // namespace tavricat
