#include "base/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace tavricat {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// Appends what can be read from `fd` now, keeping at most kMaxCapturedOutput bytes.
// Returns false at the end of the pipe or on an error other than "nothing yet".
bool readAvailable(int fd, std::string& output) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            const std::size_t room = kMaxCapturedOutput - std::min(output.size(), kMaxCapturedOutput);
            output.append(buffer, std::min<std::size_t>(room, static_cast<std::size_t>(got)));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

// Milliseconds of the monotonic clock (not set back with the time of day).
long long monotonicMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Reaps `pid` after the last of its process group has been killed.
int reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string findOnPath(const std::string& name) {
    const char* variable = std::getenv("PATH");
    const std::string folders = variable ? variable : "";
    for (std::size_t from = 0; from <= folders.size();) {
        std::size_t colon = folders.find(':', from);
        if (colon == std::string::npos) colon = folders.size();
        // An empty entry would mean the current folder: not searched.
        if (colon > from) {
            const std::string candidate = folders.substr(from, colon - from) + "/" + name;
            if (isExecutableFile(candidate)) return candidate;
        }
        from = colon + 1;
    }
    return {};
}

Result<ProcessOutcome> PosixProcessRunner::run(const std::vector<std::string>& argv, long timeoutMs) {
    if (argv.empty()) return Status::error(ErrorKind::BadInput, "no program to run");
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return Status::error(ErrorKind::Io, std::string("pipe: ") + std::strerror(errno));
    Descriptor readEnd(ends[0]), writeEnd(ends[1]);
    ::fcntl(readEnd.get(), F_SETFL, ::fcntl(readEnd.get(), F_GETFL) | O_NONBLOCK);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own; the signals a front end ignores or blocks back to their defaults.
    sigset_t defaults, empty;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGCHLD);
    sigemptyset(&empty);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &empty);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<char*> arguments;
    for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv.front().c_str(), &actions, &attributes, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        return Status::error(spawned == ENOENT ? ErrorKind::NotFound : ErrorKind::Io,
                             argv.front() + ": " + std::strerror(spawned));
    }
    writeEnd.reset();  // the pipe ends when the program and its children are done with it

    ProcessOutcome outcome;
    const long long deadline = monotonicMs() + std::max(0L, timeoutMs);
    bool pipeOpen = true;
    for (;;) {
        // Exited? Left unreaped (WNOWAIT) so that its group id cannot be reused before the
        // rest of the group is killed.
        siginfo_t info{};
        int waited;
        do {
            waited = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
        } while (waited < 0 && errno == EINTR);
        if (waited < 0) {
            // Only when someone else reaped it (SIGCHLD ignored): how it ended is unknown.
            const int error = errno;
            ::kill(-pid, SIGKILL);
            return Status::error(ErrorKind::Io, argv.front() + ": waitid: " + std::strerror(error));
        }
        if (info.si_pid == pid) {
            if (pipeOpen) (void)readAvailable(readEnd.get(), outcome.output);
            ::kill(-pid, SIGKILL);
            const int status = reap(pid);
            if (WIFEXITED(status)) {
                outcome.end = ProcessOutcome::End::Exited;
                outcome.exitCode = WEXITSTATUS(status);
            } else {
                outcome.end = ProcessOutcome::End::Signalled;
                outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            }
            return outcome;
        }
        const long long now = monotonicMs();
        if (now >= deadline) {
            ::kill(-pid, SIGKILL);
            (void)reap(pid);
            if (pipeOpen) (void)readAvailable(readEnd.get(), outcome.output);
            outcome.end = ProcessOutcome::End::TimedOut;
            return outcome;
        }
        // Wait for output, but look at the program at least every 50 ms.
        const int slice = static_cast<int>(std::min<long long>(deadline - now, 50));
        if (pipeOpen) {
            pollfd watched{readEnd.get(), POLLIN, 0};
            if (::poll(&watched, 1, slice) > 0) pipeOpen = readAvailable(readEnd.get(), outcome.output);
        } else {
            ::usleep(static_cast<useconds_t>(slice) * 1000);
        }
    }
}

}  // namespace tavricat
