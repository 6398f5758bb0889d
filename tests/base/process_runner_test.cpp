// Running outside programs: what they print and how they end, the time limit over a whole
// process group, and a program that is not there.

#include <gtest/gtest.h>

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <fstream>

#include "base/process_runner.h"
#include "support/monotonic_clock.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::nowMs;

// Whether `pid` is still running: a zombie waiting for its reaper is not.
bool running(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

// Waits up to a second for `pid` to stop running.
bool endsSoon(pid_t pid) {
    for (int k = 0; k < 100; ++k) {
        if (!running(pid)) return true;
        ::usleep(10000);
    }
    return false;
}

Result<ProcessOutcome> shell(const std::string& script, long timeoutMs = 10000) {
    PosixProcessRunner runner;
    return runner.run({"/bin/sh", "-c", script}, timeoutMs);
}

TEST(ProcessRunnerTest, CapturesBothStreamsAndTheExitStatus) {
    Result<ProcessOutcome> ran = shell("echo out; echo err >&2; read x || echo no-input; exit 3");
    ASSERT_TRUE(ran.isOk()) << ran.status().message();
    EXPECT_EQ(ran->end, ProcessOutcome::End::Exited);
    EXPECT_EQ(ran->exitCode, 3);
    EXPECT_FALSE(ran->succeeded());
    EXPECT_EQ(ran->output, "out\nerr\nno-input\n");

    Result<ProcessOutcome> killed = shell("kill -TERM $$");
    ASSERT_TRUE(killed.isOk());
    EXPECT_EQ(killed->end, ProcessOutcome::End::Signalled);
    EXPECT_EQ(killed->signal, SIGTERM);

    // A flood of output is cut, and does not block the program.
    Result<ProcessOutcome> flood = shell("head -c 1000000 /dev/zero");
    ASSERT_TRUE(flood.isOk());
    EXPECT_TRUE(flood->succeeded());
    EXPECT_EQ(flood->output.size(), kMaxCapturedOutput);
}

// Whatever the program put in the background dies with it: at the time limit, and when the
// program ends by itself (there the background child still holds the output pipe open).
TEST(ProcessRunnerTest, NothingOfTheProcessGroupOutlivesTheRun) {
    testing::TempFolder dir;
    const std::string background = "sleep 30 & echo $! > '" + dir.file("child.pid") + "'; echo begun; ";
    long long started = nowMs();
    Result<ProcessOutcome> timedOut = shell(background + "wait", 300);
    ASSERT_TRUE(timedOut.isOk());
    EXPECT_EQ(timedOut->end, ProcessOutcome::End::TimedOut);
    EXPECT_EQ(timedOut->output, "begun\n");
    EXPECT_LT(nowMs() - started, 3000);
    EXPECT_TRUE(endsSoon(std::stoi(dir.read("child.pid"))));

    started = nowMs();
    Result<ProcessOutcome> ended = shell(background + "exit 0", 20000);
    ASSERT_TRUE(ended.isOk());
    EXPECT_TRUE(ended->succeeded());
    EXPECT_LT(nowMs() - started, 5000);
    EXPECT_TRUE(endsSoon(std::stoi(dir.read("child.pid"))));
}

TEST(ProcessRunnerTest, AMissingProgramIsNotFound) {
    PosixProcessRunner runner;
    Result<ProcessOutcome> ran = runner.run({"/nonexistent/soffice", "--version"}, 1000);
    ASSERT_FALSE(ran.isOk());
    EXPECT_EQ(ran.status().kind(), ErrorKind::NotFound);
    EXPECT_FALSE(isExecutableFile("/nonexistent/soffice"));
    EXPECT_FALSE(isExecutableFile("/tmp"));  // a folder is not a program
    EXPECT_TRUE(isExecutableFile("/bin/sh"));
    EXPECT_EQ(findOnPath("no-such-program-anywhere"), "");
}

}  // namespace
}  // namespace tavricat
