#include "workbench_session.h"

namespace tavricat::cli {

int withWorkbench(const CliContext& context, const std::function<int(Workbench&)>& command) {
    DiskFileSystem fs;
    TerminalDialogs dialogs(context.yes);
    TerminalProgress progress(context.json);
    WorkbenchOptions options;
    options.settingsPath = context.settingsPath();
    options.direction = context.direction();
    Workbench bench(fs, Workspace(fs, context.programFolder()), dialogs, progress, options);
    if (!bench.start()) return kExitFailure;  // the message was shown
    int code = command(bench);
    if (!bench.shutdown()) return kExitFailure;
    return code;
}

}  // namespace tavricat::cli
