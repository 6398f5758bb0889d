#include "wordlink/bridge_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "wordlink/bridge_protocol.h"

extern char** environ;

namespace tavricat::wordlink {

namespace {

long long monotonicMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

BridgeProcess::~BridgeProcess() { stop(); }

Result<std::vector<std::string>> BridgeProcess::start(const std::vector<std::string>& argv, long timeoutMs) {
    stop();
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return Status::error(ErrorKind::Io, std::string("socketpair: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pair[1], 0);
    posix_spawn_file_actions_adddup2(&actions, pair[1], 1);
    // The bridge reports through its answers; what Python or UNO print besides goes nowhere.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t child = -1;
    const int spawned = ::posix_spawn(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pair[1]);
    if (spawned != 0) {
        ::close(pair[0]);
        return Status::error(ErrorKind::NotFound, argv[0] + ": " + std::strerror(spawned));
    }
    m_socket = pair[0];
    m_child = child;
    m_pending.clear();
    return readAnswer(timeoutMs);
}

Result<std::vector<std::string>> BridgeProcess::request(const std::vector<std::string>& fields, long timeoutMs) {
    if (m_socket < 0) return lost("the link is not connected");
    const std::string line = requestLine(fields) + "\n";
    std::size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t n = ::send(m_socket, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return lost(std::string("the bridge stopped reading: ") + std::strerror(errno));
        sent += static_cast<std::size_t>(n);
    }
    return readAnswer(timeoutMs);
}

Result<std::vector<std::string>> BridgeProcess::readAnswer(long timeoutMs) {
    const long long deadline = monotonicMs() + timeoutMs;
    for (;;) {
        const std::size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::vector<std::string> fields = fieldsOf(std::string_view(m_pending).substr(0, end));
            m_pending.erase(0, end + 1);
            const std::string kind = fields.front();
            fields.erase(fields.begin());
            if (kind == "ok") return fields;
            // Writer went away: the bridge has ended after saying so.
            if (kind == "lost") return lost(fields.empty() ? kind : fields.front());
            return Status::error(ErrorKind::BadInput, fields.empty() ? kind : fields.front());
        }
        const long long left = deadline - monotonicMs();
        if (left <= 0) return lost("no answer within " + std::to_string(timeoutMs / 1000) + " s");
        pollfd watch{m_socket, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[65536];
        const ssize_t got = ::recv(m_socket, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return lost("the bridge ended");
        m_pending.append(buffer, static_cast<std::size_t>(got));
    }
}

Status BridgeProcess::lost(const std::string& why) {
    stop();
    return Status::error(ErrorKind::Io, why);
}

void BridgeProcess::stop() {
    if (m_socket >= 0) {
        ::close(m_socket);
        m_socket = -1;
    }
    if (m_child <= 0) return;
    int status = 0;
    for (int waited = 0; waited < 100; ++waited) {
        const pid_t done = ::waitpid(m_child, &status, WNOHANG);
        if (done == m_child || (done < 0 && errno != EINTR)) {
            m_child = -1;
            return;
        }
        ::usleep(10000);
    }
    ::kill(m_child, SIGKILL);
    while (::waitpid(m_child, &status, 0) < 0 && errno == EINTR) {
    }
    m_child = -1;
}

}  // namespace tavricat::wordlink
