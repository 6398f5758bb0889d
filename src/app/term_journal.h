#pragma once
// Term edits of a run. Each changes the current term base at once and is written to the
// run's journal (`Workbench::newUserWords`) in the form the journal files hold, so that the
// recovery file of an abnormal end replays it exactly (temlibw.saw) and a normal end keeps it
// in the permanent log (userlibw.saw).

#include <string_view>

#include "app/workbench.h"
#include "base/status.h"

namespace tavricat {

// Adds `entry` ("meaning|meaning^class^..." as the term base stores it) under `key`, merged
// into the key's entry when the term base already has it. Refuses an empty key or entry and
// a key holding "^" or a line break.
Status addTermEdit(Workbench& bench, std::string_view key, std::string_view entry);

// Replaces the whole entry of `key`, which must be in the term base (NotFound otherwise,
// nothing journalled): a meaning moved to the front of its list. The journal line merges
// into the old entry on replay, which gives the same entry because the new one holds every
// item of the old.
Status replaceTermEdit(Workbench& bench, std::string_view key, std::string_view entry);

// Deletes `key` from the term base. NotFound when it is not there (nothing is journalled).
Status deleteTermEdit(Workbench& bench, std::string_view key);

}  // namespace tavricat
