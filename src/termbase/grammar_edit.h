#pragma once
// Changing the grammar library: adding and deleting patterns, importing .sag files, the
// shared library's incoming changes, and the reference window's commands on the patterns
// placed in the current sentence.
//
// The library operations (AddAGram, DelAgram, ImPortAGram) change only the library. The
// person's own changes (the add/delete commands, the reference window's permanent delete and
// modify) are also written to the run's change log ("aa"/"dd" + record, appended to
// userlibg.sag at shutdown) and, when changes are sent to a shared library, queued as
// "B^aa"/"B^dd" + record. Imports and incoming shared changes are neither logged nor queued.
// A change is logged only when it changed the library.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_list.h"
#include "base/status.h"
#include "engine/analyser.h"
#include "engine/match_table.h"
#include "termbase/grammar_library.h"

namespace tavricat {

class Engine;
class Workbench;
struct Settings;

// What a grammar operation works on: the library of the current direction and the engine
// whose analysis builds the pattern keys.
struct GrammarScope {
    GrammarLibrary& library;
    Engine& engine;
    AnalysisOptions options;
};
GrammarScope grammarScope(Workbench& bench);

enum class GrammarChange {
    None,            // empty record: nothing to do
    Added,
    AlreadyPresent,  // the same anchor and entry are in the library; not added a second time
    Deleted,
    NotPresent,      // nothing to delete; the library is unchanged
};

// Inserts the pattern of "SOURCE^OPTION^TARGET" at its anchor's sorted place. Refuses
// (BadInput) a record parseGrammarRecord refuses and one whose source leaves no pattern key.
Result<GrammarChange> AddAGram(const GrammarScope& scope, std::string_view record);

// Removes one pattern with the record's pattern key from among the lines of its anchor.
// When several lines have that key, the one whose option and target also match is taken,
// else the one whose target matches, else the first line of the anchor, else the last
// matching line counting from the end. Only the source is required; a blank one is refused.
Result<GrammarChange> DelAgram(const GrammarScope& scope, std::string_view record);

// One line as a .sag file holds it: "aa" + record adds (the record cut to 3000 bytes on a
// character boundary), "dd" + record deletes, any other non-blank line is added.
Result<GrammarChange> ImPortAGram(const GrammarScope& scope, std::string_view line);

// True when the person's changes are queued for the shared library: shareMode 1 or 3 and a
// shared library chosen.
bool queuesGrammarChanges(const Settings& settings);

// The menu's add command: in CE the record first gets blanks between its Chinese characters;
// the change is logged and queued.
Result<GrammarChange> addGrammarPattern(Workbench& bench, std::string_view record);
// The menu's delete command: the record is taken as typed; the change is logged and queued.
Result<GrammarChange> deleteGrammarPattern(Workbench& bench, std::string_view record);

struct GrammarImportReport {
    std::size_t lines = 0;  // every line of the file, empty ones included
    std::size_t added = 0;
    std::size_t deleted = 0;
    std::size_t unchanged = 0;  // already present, or not there to delete
    std::size_t blank = 0;
    std::vector<std::string> refused;  // the messages of refused lines, in file order
    std::string message;  // "语法更新完毕！共加入语法" + lines + "条。"
};

// Imports a .sag file into the library of the current direction, showing the progress
// notice while it runs. Fails only when the file cannot be read or, being UTF-8 or UTF-16,
// holds characters GBK cannot hold (the library is unchanged).
Result<GrammarImportReport> importGrammarFile(Workbench& bench, const std::string& path);

// The reference window's grammar list holds two lines per placed pattern: its source, then
// its target. A selected line (0-based) stands for the pair it belongs to: an odd index for
// the pair starting one line above, an even index for the pair starting at it. Returns the
// first line of that pair, nothing when the selection names no whole pair.
std::optional<std::size_t> placementPairStart(const LineList& lines, long selected);

// "临时删除": every record of the match table whose pattern and template equal the pair is
// disabled, and the pair's two lines are removed. The library is unchanged. False (and
// nothing changed) without a valid selection. The caller translates the sentence again.
bool dropPlacementForSentence(LineList& lines, std::vector<MatchRecord>& matchTable, long selected);

// "永久删除": as dropPlacementForSentence, after deleting source + "^^" + target from the
// library (logged and queued as a deletion when it removed a line).
Result<bool> deletePlacementPermanently(Workbench& bench, LineList& lines, std::vector<MatchRecord>& matchTable,
                                        long selected);

// "修改...": applies the dialog's record to the pattern the dialog was filled with. In CE the
// record first gets blanks between its Chinese characters. When its source has the same
// pattern key as the old source, the old pattern is deleted; the record is then added. Both
// changes are logged and queued. An empty record changes nothing.
Result<GrammarChange> modifyPlacement(Workbench& bench, std::string_view oldSource, std::string_view oldTarget,
                                      std::string_view record);

}  // namespace tavricat
