#include "app/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <thread>

namespace tavricat {

namespace {

std::string readAll(int fd) {
    std::string text;
    char buffer[256];
    off_t offset = 0;
    for (;;) {
        ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
        offset += got;
        if (text.size() > 4096) break;
    }
    return text;
}

// "in use by the window, process 123" from the holder's text ("123\nthe window\n").
std::string describeHolder(const std::string& text) {
    const std::size_t lineEnd = text.find('\n');
    const std::string pid = text.substr(0, lineEnd);
    std::string holder = lineEnd == std::string::npos ? std::string() : text.substr(lineEnd + 1);
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r')) holder.pop_back();
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos)
        return "in use by another process";  // it has not written its name yet
    return "in use by " + (holder.empty() ? std::string("another process") : holder) + ", process " + pid;
}

}  // namespace

std::string folderLockText(long pid, const std::string& holder) {
    return std::to_string(pid) + "\n" + holder + "\n";
}

FolderLock::FolderLock(FolderLock&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

FolderLock::~FolderLock() {
    // Closing the descriptor releases the lock. The file stays: removing it would let a
    // waiter lock a file that a newcomer no longer sees.
    if (m_fd >= 0) ::close(m_fd);
}

Result<FolderLock> FolderLock::acquire(const std::string& folder, const std::string& holder,
                                       std::optional<long> waitMilliseconds) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return FolderLock();
    const std::string path = folder + "/" + kFolderLockFile;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // a lock works on a read-only descriptor
    if (fd < 0) return FolderLock();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds.value_or(0));
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) break;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return FolderLock();  // a file system without locks: nothing to take
        }
        if (waitMilliseconds && std::chrono::steady_clock::now() >= deadline) {
            std::string message = "The program folder " + folder + " is " + describeHolder(readAll(fd)) +
                                  ". Try again when it has finished, or wait for it with --wait.";
            ::close(fd);
            return Status::error(ErrorKind::Refused, message);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Name the holder for those who come later. Not fatal when it cannot be written.
    const std::string text = folderLockText(static_cast<long>(::getpid()), holder);
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
    }
    return FolderLock(fd);
}

}  // namespace tavricat
