#include "base/bak_save.h"

namespace tavricat {

BakSaveResult saveThroughBak(FileSystem& fs, const std::vector<BakSaveFile>& files) {
    BakSaveResult result;
    // Files that already hold their content are not written again: a run that changed
    // nothing leaves the library as it found it. A bak file left from an earlier save means
    // the set is not known to be whole, so the protocol runs.
    bool anyBak = false;
    for (const BakSaveFile& file : files) anyBak = anyBak || fs.exists(bakPathOf(file.path));
    bool unchanged = !anyBak;
    for (std::size_t i = 0; unchanged && i < files.size(); ++i) {
        const BakSaveFile& file = files[i];
        unchanged = file.lines ? fileHoldsLines(fs, file.path, *file.lines) : fileHolds(fs, file.path, file.content);
    }
    if (unchanged) return result;

    for (std::size_t i = 0; i < files.size(); ++i) {
        const BakSaveFile& file = files[i];
        // Through a scratch file: a bak file that exists is whole, so a complete bak set
        // found after a crash can be trusted (see openLibraryFiles). Lines are joined one
        // file at a time, so a large library is never held twice over.
        Status written = file.lines ? replaceLines(fs, bakPathOf(file.path), *file.lines)
                                    : replaceFile(fs, bakPathOf(file.path), file.content);
        if (!written) {
            // The real files are untouched; the bak files written so far would only fill a
            // full disk further. Bak files that were there before (a failed copy earlier in
            // the run: they may be the only copy) are kept.
            if (!anyBak)
                // An incomplete bak set left behind is moved aside at the next start.
                for (std::size_t j = 0; j < i; ++j) (void)fs.remove(bakPathOf(files[j].path));
            result.outcome = BakSaveOutcome::WriteFailed;
            result.detail = written;
            return result;
        }
    }
    Status firstCopyFailure;
    for (const BakSaveFile& file : files) {
        Status copied = fs.copyFile(bakPathOf(file.path), file.path);
        if (!copied && firstCopyFailure.isOk()) firstCopyFailure = copied;
    }
    if (firstCopyFailure.isOk()) {
        // A bak left behind holds what the real file now holds: the next start copies it again.
        for (const BakSaveFile& file : files) (void)fs.remove(bakPathOf(file.path));
        return result;
    }
    // Whatever of the real files stays, the complete bak set wins at the next start.
    for (const BakSaveFile& file : files) (void)fs.remove(file.path);
    result.outcome = BakSaveOutcome::CopyFailed;
    result.detail = firstCopyFailure;
    return result;
}

Status saveLibraryThroughBak(FileSystem& fs, Dialogs& dialogs, const std::vector<BakSaveFile>& files,
                             const std::string& infoPath, const LibrarySaveMessages& messages) {
    auto shown = [&](const char* text) {
        dialogs.message(text);
        return Status::error(ErrorKind::Io, text);
    };
    const BakSaveResult saved = saveThroughBak(fs, files);
    switch (saved.outcome) {
    case BakSaveOutcome::Saved:
        return Status::ok();
    case BakSaveOutcome::WriteFailed:
        return shown(messages.saveFailed);
    case BakSaveOutcome::CopyFailed:
        break;
    }
    const Status renamed = fs.exists(infoPath) ? fs.rename(infoPath, bakPathOf(infoPath)) : Status::ok();
    Status result = shown(messages.copyFailed);
    if (!renamed) dialogs.message(messages.saveFailed);
    return result;
}

}  // namespace tavricat
