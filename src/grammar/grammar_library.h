#pragma once
// The grammar library of one direction: two parallel line lists kept in
// userdata/modes<dir>.m1 (anchors, sorted, duplicates allowed) and .m2 (entries; line i
// belongs to anchor i).

#include <cstddef>
#include <string>
#include <string_view>

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

// The lines whose anchor equals `anchor` in list order: [first, last). When there are none,
// first == last is the place where the anchor would be inserted.
struct AnchorRange {
    std::size_t first = 0;
    std::size_t last = 0;
    bool empty() const { return first == last; }
};
AnchorRange findAnchorRange(const GrammarLibrary& grammar, std::string_view anchor);

// Inserts the anchor at its sorted place (after the anchors equal to it) and the entry at the
// same index; returns that index. An entry list shorter than the anchor list (a damaged .m2)
// is first padded with empty lines so that the two lists stay parallel.
std::size_t insertGrammarEntry(GrammarLibrary& grammar, std::string anchor, std::string entry);

// Removes line `index` from both lists (from the entry list only when it has that line).
void eraseGrammarEntry(GrammarLibrary& grammar, std::size_t index);

}  // namespace tavricat
