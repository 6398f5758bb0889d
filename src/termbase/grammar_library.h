#pragma once
// The grammar library of one direction: two parallel line lists kept in
// userdata/modes<dir>.m1 (anchors, sorted, duplicates allowed) and .m2 (entries; line i
// belongs to anchor i).

#include <string>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/status.h"

namespace tavricat {

struct GrammarLibrary {
    LineList anchors;  // .m1
    LineList entries;  // .m2
};

// Loads both files; fails when either cannot be read.
Result<GrammarLibrary> loadGrammarLibrary(FileSystem& fs, const std::string& m1Path, const std::string& m2Path);

// Writes both lists through .m1bak/.m2bak. When both copies succeed the bak files are
// deleted; when either fails, .m1 and .m2 are deleted and the bak files kept, so the next
// start reports the grammar files as missing and the bak files hold the data to copy back.
Status saveGrammarLibrary(FileSystem& fs, const GrammarLibrary& grammar, const std::string& m1Path,
                          const std::string& m2Path);

}  // namespace tavricat
