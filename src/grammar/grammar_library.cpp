#include "grammar/grammar_library.h"

#include "base/bak_save.h"
#include "base/list_order.h"

namespace tavricat {

Result<GrammarLibrary> loadGrammarLibrary(FileSystem& fs, const std::string& m1Path, const std::string& m2Path) {
    Result<LineList> anchors = loadLines(fs, m1Path);
    if (!anchors) return anchors.status();
    Result<LineList> entries = loadLines(fs, m2Path);
    if (!entries) return entries.status();
    return GrammarLibrary{std::move(*anchors), std::move(*entries)};
}

Status saveGrammarLibrary(FileSystem& fs, const GrammarLibrary& grammar, const std::string& m1Path,
                          const std::string& m2Path) {
    BakSaveResult saved = saveThroughBak(
        fs, {BakSaveFile::ofLines(m1Path, grammar.anchors), BakSaveFile::ofLines(m2Path, grammar.entries)});
    return saved.detail;
}

AnchorRange findAnchorRange(const GrammarLibrary& grammar, std::string_view anchor) {
    SortedFind found = findSorted(grammar.anchors, anchor);
    AnchorRange range{found.index, found.index};
    while (range.last < grammar.anchors.size() && compareListOrder(grammar.anchors[range.last], anchor) == 0) ++range.last;
    return range;
}

std::size_t insertGrammarEntry(GrammarLibrary& grammar, std::string anchor, std::string entry) {
    if (grammar.entries.size() < grammar.anchors.size()) grammar.entries.resize(grammar.anchors.size());
    const std::size_t index = insertSorted(grammar.anchors, std::move(anchor));
    grammar.entries.insert(grammar.entries.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
    return index;
}

void eraseGrammarEntry(GrammarLibrary& grammar, std::size_t index) {
    if (index < grammar.anchors.size()) grammar.anchors.erase(grammar.anchors.begin() + static_cast<std::ptrdiff_t>(index));
    if (index < grammar.entries.size()) grammar.entries.erase(grammar.entries.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace tavricat
