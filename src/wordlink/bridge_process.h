#pragma once
// The Writer bridge as a child process: started with a socket as its standard input and
// output, asked one request at a time, each answer awaited with a time limit. A bridge that
// ended, or did not answer in time, makes the request fail with ErrorKind::Io; a request
// the bridge refused fails with ErrorKind::BadInput and the bridge's own words.

#include <sys/types.h>

#include <string>
#include <vector>

#include "base/status.h"

namespace tavricat::wordlink {

class BridgeProcess {
public:
    BridgeProcess() = default;
    ~BridgeProcess();
    BridgeProcess(const BridgeProcess&) = delete;
    BridgeProcess& operator=(const BridgeProcess&) = delete;

    // Starts argv[0] (a path) and waits at most `timeoutMs` for its first answer, the greeting,
    // whose fields after "ok" are returned.
    Result<std::vector<std::string>> start(const std::vector<std::string>& argv, long timeoutMs);
    // One request; the answer's fields after "ok".
    Result<std::vector<std::string>> request(const std::vector<std::string>& fields, long timeoutMs);
    bool running() const { return m_socket >= 0; }
    // Closes the bridge's input so that it ends; killed when it has not ended within a second.
    void stop();

private:
    Result<std::vector<std::string>> readAnswer(long timeoutMs);
    Status lost(const std::string& why);

    int m_socket = -1;
    pid_t m_child = -1;
    std::string m_pending;  // bytes read after the last answer line
};

}  // namespace tavricat::wordlink
