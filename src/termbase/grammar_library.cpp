#include "termbase/grammar_library.h"

#include "base/bak_save.h"

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
    BakSaveResult saved = saveThroughBak(fs, {{m1Path, joinLines(grammar.anchors)}, {m2Path, joinLines(grammar.entries)}});
    return saved.detail;
}

}  // namespace tavricat
