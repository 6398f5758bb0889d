#pragma once
// Opening the file set of a library at start-up (term base: .01 .02; sentence library:
// .rf0 .rf1 .rf2). A complete set is used as it is; a missing set is created empty. Files
// that would otherwise be lost are first moved aside under a name that says so
// ("<file>.orphan-<date-time>") and the person is told where they went. A complete set of
// bak files (a save interrupted while copying them over the real files) is copied over the
// real files first and the library opens with the newest content it had. Moved aside are:
//  - the surviving files of an incomplete set (they would be overwritten by the empty set);
//  - bak files left by a save that failed half-way (they hold the newest content, and the
//    next save would overwrite them).

#include <string>
#include <vector>

#include "base/library_info.h"
#include "app/workspace.h"
#include "base/status.h"

namespace tavricat {

struct LibraryFilesOpening {
    bool wasComplete = false;              // every file of the set existed
    bool restoredFromBak = false;          // an interrupted save was finished from its bak set
    std::vector<std::string> created;      // empty files written
    std::vector<std::string> movedAside;   // new paths of the files kept aside
    std::string notice;                    // GBK message for the person; empty when nothing moved
};

// `extensions` like {".01", ".02"}; `kindName` is how the library is called in the notice
// (GBK, "词库" or "例句库"); `stamp` goes into the names of files moved aside.
Result<LibraryFilesOpening> openLibraryFiles(const Workspace& workspace, const std::string& name,
                                             const std::vector<std::string>& extensions,
                                             const std::vector<std::string>& infoExtensions,
                                             const std::string& kindName, const std::string& stamp);

// The library a run works with: `configured` when its key file (term base .01, sentence
// library .rf1) exists, otherwise the default library of the direction. Start-up and the
// commands that read a library without starting the workbench choose it the same way.
std::string libraryNameInUse(const Workspace& workspace, LibraryKind kind, Direction direction,
                             const std::string& configured);

// Finishes a save of library `name` that stopped or failed while copying its bak files over
// the real ones: when the whole bak set exists it is copied over the real files, the baks are
// removed and the information file renamed back. True when it did so. Fails, leaving every
// bak file in place, when a copy fails.
Result<bool> finishInterruptedSave(const Workspace& workspace, const std::string& name,
                                   const std::vector<std::string>& extensions,
                                   const std::vector<std::string>& infoExtensions);

// The library start-up opens, and what to tell the person about the choice.
struct LibraryChoice {
    std::string name;
    std::string notice;  // GBK; empty when the configured library opens as it is
};

// Start-up's choice: first the configured library's interrupted save is finished (its bak set
// may be the only copy of it), then libraryNameInUse decides. Falling back to the default
// library is said in the notice. Fails, with a message naming the library, when the bak set
// cannot be copied back: the run would otherwise leave that library behind.
Result<LibraryChoice> chooseLibraryAtStart(const Workspace& workspace, LibraryKind kind, Direction direction,
                                           const std::string& configured, const std::vector<std::string>& extensions,
                                           const std::vector<std::string>& infoExtensions,
                                           const std::string& kindName);

// Local date and time as "YYYYMMDD-HHMMSS", for names of files moved aside.
std::string fileNameStamp();

}  // namespace tavricat
