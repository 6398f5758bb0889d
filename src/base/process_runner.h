#pragma once
// Running an outside program (the word processor that converts office documents) and
// waiting for it, behind an interface so that the callers can be tested with a scripted
// double. The core starts programs only through a ProcessRunner.

#include <cstddef>
#include <string>
#include <vector>

#include "base/status.h"

namespace tavricat {

struct ProcessOutcome {
    enum class End {
        Exited,     // ended by itself; exitCode holds its status
        Signalled,  // killed by a signal it did not ask for; signal holds it
        TimedOut,   // still running at the time limit: its whole process group was killed
    };
    End end = End::Exited;
    int exitCode = 0;
    int signal = 0;
    // What the program wrote to stdout and stderr, interleaved, cut after kMaxCapturedOutput.
    std::string output;

    bool succeeded() const { return end == End::Exited && exitCode == 0; }
};

class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // Runs argv[0] (a path; PATH is not searched) with the arguments argv[1..], stdin empty,
    // and waits at most `timeoutMs` milliseconds for it. The program starts a process group of its own, so
    // that whatever it starts in turn is killed with it at the time limit, and when it ends
    // anything of its group still running is killed too: nothing outlives the call.
    // Fails (NotFound, Io) only when the program could not be started.
    // REQUIRES: !argv.empty()
    virtual Result<ProcessOutcome> run(const std::vector<std::string>& argv, long timeoutMs) = 0;
};

inline constexpr std::size_t kMaxCapturedOutput = 64 * 1024;

// The POSIX implementation: posix_spawn into a new process group, one pipe for stdout and
// stderr, waitpid polled until the time limit, then SIGKILL to the group.
class PosixProcessRunner : public ProcessRunner {
public:
    Result<ProcessOutcome> run(const std::vector<std::string>& argv, long timeoutMs) override;
};

// Whether `path` names a regular file this process may execute.
bool isExecutableFile(const std::string& path);

// The first executable `name` in the folders of the PATH variable; empty when there is none.
std::string findOnPath(const std::string& name);

}  // namespace tavricat
