#pragma once
// Merging term lines into the current term base: the form of the term-edit journal
// (temlibw.saw, userlibw.saw) and of term changes received from a shared library.
// A line is "key^entry", or "dddit key" to delete the key.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "base/status.h"
#include "engine/analyser.h"

namespace tavricat {

class Engine;

struct TermImportCounts {
    std::size_t processed = 0;
    std::size_t added = 0;
    std::size_t merged = 0;
    std::size_t deleted = 0;
};

// Field by field ("^"): where the two entries differ, the new field's items come first,
// then the old field's, each once; equal fields stay.
std::string mergeTermValues(std::string_view oldValue, std::string_view newValue);

// `importTermLine`: one line. The key is rebuilt from its analysis (the segment keys joined by
// blanks); the value loses the blanks between Chinese characters; an existing key is merged,
// a new one inserted at its sorted place.
void importTermLine(Engine& engine, const AnalysisOptions& options, std::string_view line,
                 TermImportCounts* counts = nullptr);

// `impAtemfileWord`: every line of a journal file.
Result<TermImportCounts> impAtemfileWord(Engine& engine, const AnalysisOptions& options, FileSystem& fs,
                                         const std::string& path);

}  // namespace tavricat
