#include "workbench_session.h"

#include "engine/term_base_snapshot.h"

namespace tavricat::cli {

int withWorkbenchAndDialogs(const CliContext& context,
                            const std::function<int(Workbench&, TerminalDialogs&)>& command) {
    DiskFileSystem fs;
    TerminalDialogs dialogs(context.yes, context.no);
    TerminalProgress progress(context.json);
    WorkbenchOptions options;
    options.settingsPath = context.settingsPath();
    options.direction = context.direction();
    Workbench bench(fs, Workspace(fs, context.programFolder()), dialogs, progress, options);
    if (!bench.start()) return kExitFailure;  // the message was shown
    int code = command(bench, dialogs);
    if (!bench.shutdown()) return kExitFailure;
    return code;
}

int withWorkbench(const CliContext& context, const std::function<int(Workbench&)>& command) {
    return withWorkbenchAndDialogs(context, [&](Workbench& bench, TerminalDialogs&) { return command(bench); });
}

int withReadOnlyWorkbench(const CliContext& context, const std::function<int(Workbench&)>& command) {
    return withWorkbench(context, [&](Workbench& bench) {
        TermBaseSnapshot unchanged(bench.engine.termBase);
        return command(bench);
    });
}

}  // namespace tavricat::cli
