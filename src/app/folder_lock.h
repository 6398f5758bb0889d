#pragma once
// One process at a time in a program folder. Every save rewrites whole files through the bak
// protocol, so two processes saving into one folder delete each other's bak files and then
// the real ones. Whoever opens the folder (the window, every command) holds an advisory lock
// on <folder>/tavricat.lock for its whole run; the kernel releases it when the process ends,
// however it ends. The file names the holder so a refused start can say who it waits for.

#include <optional>
#include <string>

#include "base/status.h"

namespace tavricat {

inline constexpr const char* kFolderLockFile = "tavricat.lock";

class FolderLock {
public:
    FolderLock() = default;
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    // Takes the lock of `folder` for this process, described to later comers as `holder`
    // ("the window", "the command tm add"). Waits up to `waitMilliseconds` for a holder to
    // finish (without a limit when none is given), then fails (Refused) naming the holder and
    // its process.
    // A folder that does not exist, or in which no lock file can be created (a read-only
    // disk: nothing can be saved there either), is not locked and not refused.
    static Result<FolderLock> acquire(const std::string& folder, const std::string& holder,
                                      std::optional<long> waitMilliseconds);

    bool held() const { return m_fd >= 0; }

private:
    explicit FolderLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

// The text of the lock file of a holder: its process id and its description.
std::string folderLockText(long pid, const std::string& holder);

}  // namespace tavricat
