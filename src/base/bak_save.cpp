#include "base/bak_save.h"

namespace tavricat {

BakSaveResult saveThroughBak(FileSystem& fs, const std::vector<BakSaveFile>& files) {
    BakSaveResult result;
    for (const BakSaveFile& file : files) {
        // Through a scratch file: a bak file that exists is whole, so a complete bak set
        // found after a crash can be trusted (see openLibraryFiles).
        Status written = replaceFile(fs, bakPathOf(file.path), file.content);
        if (!written) {
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
        for (const BakSaveFile& file : files) fs.remove(bakPathOf(file.path));
        return result;
    }
    for (const BakSaveFile& file : files) fs.remove(file.path);
    result.outcome = BakSaveOutcome::CopyFailed;
    result.detail = firstCopyFailure;
    return result;
}

}  // namespace tavricat
