#include "base/bak_save.h"

namespace tavricat {

BakSaveResult saveThroughBak(FileSystem& fs, const std::vector<BakSaveFile>& files) {
    BakSaveResult result;
    for (const BakSaveFile& file : files) {
        Status written = fs.writeFile(bakPathOf(file.path), file.content);
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
