#pragma once
// Term bases exchanged with other tools: TBX (TBX-Basic and TBX v3 element names) and the
// simple glossaries they export (tab- or comma-separated source and target, optionally a
// note). Reading gives the key/value pairs the term file import merges; writing gives a
// TBX-Basic file of a term base.
//
// A TBX entry's terms in the source language (English for EC, Chinese for CE) become keys;
// its target-language terms the translations ("|"-separated, a part of speech as "[n.]" in
// front); a note goes to the associations field, a definition to the attributes field.

#include <string>
#include <vector>

#include "base/direction.h"
#include "base/file_system.h"
#include "base/status.h"
#include "engine/term_file_import.h"

namespace tavricat {

class TermBase;

Result<std::vector<TermPair>> readTbx(const std::string& path, Direction direction);
// ".csv": comma-separated with double quotes; ".tsv" (or any other): TAB-separated. A first
// line naming the columns ("source", "term", "en", ...) is skipped.
Result<std::vector<TermPair>> readGlossary(FileSystem& fs, const std::string& path);

// The term base as TBX-Basic; the number of entries written.
Result<std::size_t> writeTbx(const TermBase& terms, Direction direction, const std::string& path);

}  // namespace tavricat
