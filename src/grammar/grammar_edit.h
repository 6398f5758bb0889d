#pragma once
// Changing the grammar library: adding, deleting and importing patterns, and dropping a
// pattern placed in the current sentence. These change only the library; the person's own
// commands, which are also logged and queued, are in app/grammar_commands.h.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_list.h"
#include "base/status.h"
#include "engine/analyser.h"
#include "engine/match_table.h"
#include "grammar/grammar_library.h"

namespace tavricat {

class Engine;

// What a grammar operation works on: the library of the current direction and the engine
// whose analysis builds the pattern keys.
struct GrammarScope {
    GrammarLibrary& library;
    Engine& engine;
    AnalysisOptions options;
};

enum class GrammarChange {
    None,            // empty record: nothing to do
    Added,
    AlreadyPresent,  // the same anchor and entry are in the library; not added a second time
    Deleted,
    NotPresent,      // nothing to delete; the library is unchanged
};

// Inserts the pattern of "SOURCE^OPTION^TARGET" at its anchor's sorted place. Refuses
// (BadInput) a record parseGrammarRecord refuses and one whose source leaves no pattern key.
Result<GrammarChange> addGrammarRecord(const GrammarScope& scope, std::string_view record);

// Removes one pattern with the record's pattern key from among the lines of its anchor.
// When several lines have that key, the one whose option and target also match is taken,
// else the one whose target matches, else the first line of the anchor, else the last
// matching line counting from the end. Only the source is required; a blank one is refused.
Result<GrammarChange> deleteGrammarRecord(const GrammarScope& scope, std::string_view record);

// One line as a .sag file holds it: "aa" + record adds (the record cut to 3000 bytes on a
// character boundary), "dd" + record deletes, any other non-blank line is added.
Result<GrammarChange> importGrammarLine(const GrammarScope& scope, std::string_view line);

// The refusal of a record whose source is blank.
Status blankGrammarSource(std::string_view record);

struct GrammarImportReport {
    std::size_t lines = 0;  // every line of the file, empty ones included
    std::size_t added = 0;
    std::size_t deleted = 0;
    std::size_t unchanged = 0;  // already present, or not there to delete
    std::size_t blank = 0;
    std::vector<std::string> refused;  // the messages of refused lines, in file order
    std::string message;  // "语法更新完毕！共加入语法" + lines + "条。"
};

// The reference window's grammar list holds two lines per placed pattern: its source, then
// its target. A selected line (0-based) stands for the pair it belongs to: an odd index for
// the pair starting one line above, an even index for the pair starting at it. Returns the
// first line of that pair, nothing when the selection names no whole pair.
std::optional<std::size_t> placementPairStart(const LineList& lines, long selected);

// "临时删除": every record of the match table whose pattern and template equal the pair is
// disabled, and the pair's two lines are removed. The library is unchanged. False (and
// nothing changed) without a valid selection. The caller translates the sentence again.
bool dropPlacementForSentence(LineList& lines, std::vector<MatchRecord>& matchTable, long selected);

}  // namespace tavricat
