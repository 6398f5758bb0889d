#pragma once
// Runs tavricat-cli as a person would, with its own settings folder, and collects what it
// printed and how it ended.

#include <string>
#include <vector>

namespace tavricat::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;  // stdout
    std::string err;  // stderr
};

// `configFolder` becomes XDG_CONFIG_HOME; `extraEnvironment` entries are "NAME=value".
// With `timeoutSeconds`, a run still going after that long is killed (exit code 137).
CliRun runCli(const std::vector<std::string>& arguments, const std::string& configFolder,
              const std::vector<std::string>& extraEnvironment = {}, int timeoutSeconds = 0);

// Runs the CLI on a pseudo-terminal, as a person typing at it would: `typed` is sent once the
// output holds `prompt`. The terminal's whole output (stdout and stderr) is in `out`.
CliRun runCliOnTerminal(const std::vector<std::string>& arguments, const std::string& configFolder,
                        const std::string& prompt, const std::string& typed);

}  // namespace tavricat::testing
