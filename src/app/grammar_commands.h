#pragma once
// The person's own changes to the grammar library of the current direction: the menu's add
// and delete commands, the .sag import, and the reference window's permanent delete and
// modify. Besides changing the library, the commands write each change to the run's change
// log ("aa"/"dd" + record, appended to userlibg.sag at shutdown) and, when changes are sent to
// a shared library, queue it as "B^aa"/"B^dd" + record. Imports are neither logged nor
// queued. A change is logged only when it changed the library.

#include <string>
#include <string_view>
#include <vector>

#include "base/line_list.h"
#include "base/status.h"
#include "grammar/grammar_edit.h"

namespace tavricat {

class Workbench;
struct Settings;

// The library and engine of the workbench's current direction.
GrammarScope grammarScope(Workbench& bench);

// True when the person's changes are queued for the shared library: shareMode 1 or 3 and a
// shared library chosen.
bool queuesGrammarChanges(const Settings& settings);

// The menu's add command: in CE the record first gets blanks between its Chinese characters;
// the change is logged and queued.
Result<GrammarChange> addGrammarPattern(Workbench& bench, std::string_view record);
// The menu's delete command: the record is taken as typed; the change is logged and queued.
Result<GrammarChange> deleteGrammarPattern(Workbench& bench, std::string_view record);

// Imports a .sag file into the library of the current direction, showing the progress
// notice while it runs. Fails only when the file cannot be read or, being UTF-8 or UTF-16,
// holds characters GBK cannot hold (the library is unchanged).
Result<GrammarImportReport> importGrammarFile(Workbench& bench, const std::string& path);

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
