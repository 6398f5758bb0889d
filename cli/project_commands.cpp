// analyse-project FILES... — project analysis and comparison against the current library.

#include <CLI/CLI.hpp>

#include "cli_context.h"
#include "commands.h"

namespace tavricat::cli {

void registerProjectCommands(CLI::App&, CliContext&) {}

}  // namespace tavricat::cli
