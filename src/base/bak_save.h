#pragma once
// The safe-save protocol of the libraries: every file is first written (and flushed) to its
// name with "bak" appended ("name.01" -> "name.01bak"), each through a scratch file so that a
// bak file is either whole or absent; then each bak file is copied over the
// real one; when every copy succeeded the bak files are deleted. When a copy fails, the real
// files are deleted and the bak files kept: they are then the one complete, newest copy,
// and no mix of old and new real files can be taken for the library. A set whose files all
// hold their new content already (and has no bak file) is not written at all; when a bak
// file cannot be written, those written before it are deleted again.

#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/ports.h"
#include "base/status.h"

namespace tavricat {

struct BakSaveFile {
    std::string path;                // the real file
    std::string content;             // its new bytes, unless `lines` is given
    const LineList* lines = nullptr;  // or its new lines, joined only while the file is written

    static BakSaveFile ofLines(std::string path, const LineList& lines) { return {std::move(path), {}, &lines}; }
};

enum class BakSaveOutcome {
    Saved,        // real files hold the new content; no bak file left
    WriteFailed,  // a bak file could not be written; real files untouched, no bak file left
    CopyFailed,   // a copy failed; real files deleted, bak files kept
};

struct BakSaveResult {
    BakSaveOutcome outcome = BakSaveOutcome::Saved;
    Status detail;  // what failed, for logs and tests
};

inline std::string bakPathOf(const std::string& path) { return path + "bak"; }

// Runs the protocol over `files` in their order (writes, then copies, all attempted).
BakSaveResult saveThroughBak(FileSystem& fs, const std::vector<BakSaveFile>& files);

// The messages a library shows when its save fails.
struct LibrarySaveMessages {
    const char* saveFailed;  // nothing could be saved (the real files are as they were)
    const char* copyFailed;  // the bak files are now the only copy
};

// Saves a library's files through the protocol and shows a failure. After a failed copy the
// library's information file (`infoPath`, when it exists) gets its bak name too, so that the
// library is not listed or opened as a whole one until its bak set is put back.
Status saveLibraryThroughBak(FileSystem& fs, Dialogs& dialogs, const std::vector<BakSaveFile>& files,
                             const std::string& infoPath, const LibrarySaveMessages& messages);

}  // namespace tavricat
