#pragma once
// Runs one command inside a started workbench, as opening the program, doing the work and
// closing it would: start-up, the command, shutdown (which saves everything).

#include <functional>

#include "app/workbench.h"
#include "cli_context.h"

namespace tavricat::cli {

// Returns the command's exit code, or kExitFailure when start-up or shutdown fails.
int withWorkbench(const CliContext& context, const std::function<int(Workbench&)>& command);
// The same, for a command that only reads: the term-base entries its analysis copies from the
// system dictionary are put back, so the run changes, and writes, nothing.
int withReadOnlyWorkbench(const CliContext& context, const std::function<int(Workbench&)>& command);
// The same, for a command that steers how the workbench's questions are answered.
int withWorkbenchAndDialogs(const CliContext& context,
                            const std::function<int(Workbench&, TerminalDialogs&)>& command);

}  // namespace tavricat::cli
