#include "support/cli_runner.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

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
              const std::vector<std::string>& extraEnvironment) {
    TempFolder scratch;
    std::string command = "env -u TAVRICAT_HOME XDG_CONFIG_HOME=" + quote(configFolder);
    for (const std::string& assignment : extraEnvironment) command += " " + quote(assignment);
    command += " " + quote(TAVRICAT_CLI_PATH);
    for (const std::string& argument : arguments) command += " " + quote(argument);
    command += " >" + quote(scratch.file("out")) + " 2>" + quote(scratch.file("err"));
    int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = slurp(scratch.file("out"));
    run.err = slurp(scratch.file("err"));
    return run;
}

}  // namespace tavricat::testing
