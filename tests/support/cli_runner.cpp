#include "support/cli_runner.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_folder.h"

namespace tavricat::testing {

namespace {
std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

CliRun runCli(const std::vector<std::string>& arguments, const std::string& configFolder,
              const std::vector<std::string>& extraEnvironment, int timeoutSeconds) {
    TempFolder scratch;
    std::string command;
    if (timeoutSeconds > 0) command = "timeout -s KILL " + std::to_string(timeoutSeconds) + " ";
    command += "env -u TAVRICAT_HOME XDG_CONFIG_HOME=" + quote(configFolder);
    for (const std::string& assignment : extraEnvironment) command += " " + quote(assignment);
    command += " " + quote(TAVRICAT_CLI_PATH);
    for (const std::string& argument : arguments) command += " " + quote(argument);
    // Never the developer's terminal: a question without --yes/--no finds nobody to answer it.
    command += " </dev/null >" + quote(scratch.file("out")) + " 2>" + quote(scratch.file("err"));
    int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = slurp(scratch.file("out"));
    run.err = slurp(scratch.file("err"));
    return run;
}

CliRun runCliOnTerminal(const std::vector<std::string>& arguments, const std::string& configFolder,
                        const std::string& prompt, const std::string& typed) {
    CliRun run;
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) return run;
    if (child == 0) {
        ::unsetenv("TAVRICAT_HOME");
        ::setenv("XDG_CONFIG_HOME", configFolder.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(TAVRICAT_CLI_PATH)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(TAVRICAT_CLI_PATH, argv.data());
        ::_exit(127);
    }
    bool sent = false;
    char buffer[4096];
    while (true) {
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, 30000) <= 0) break;  // a command waiting for ever fails the test
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0) break;  // the command ended and closed the terminal
        run.out.append(buffer, static_cast<std::size_t>(got));
        if (!sent && run.out.find(prompt) != std::string::npos) {
            sent = ::write(terminal, typed.data(), typed.size()) == static_cast<ssize_t>(typed.size());
        }
    }
    ::close(terminal);
    int status = 0;
    ::kill(child, SIGKILL);  // no-op when it has ended
    ::waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace tavricat::testing
