// init: create or complete a program folder; check: the required-files check.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/program_folder_setup.h"
#include "app/required_files.h"
#include "app/workspace.h"
#include "base/encoding.h"
#include "cli_context.h"
#include "commands.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

int runInit(const CliContext& context) {
    DiskFileSystem fs;
    std::optional<std::string> delivered = findDeliveredFolder(fs, executableFolder());
    if (!delivered) return fail("找不到随程序提供的数据文件夹 (data/home)。可用 TAVRICAT_DATA 指定其位置。");
    const std::string folder = context.programFolder();
    Result<ProgramFolderSetup> setup = completeProgramFolder(fs, *delivered, folder);
    if (!setup) return fail(setup.status());
    if (context.json) {
        nlohmann::json out = {{"folder", folder}, {"copied", setup->copied}, {"kept", setup->kept}};
        std::cout << out.dump(2) << '\n';
    } else {
        std::cout << folder << '\n';
    }
    return kExitOk;
}

int runCheck(const CliContext& context) {
    DiskFileSystem fs;
    Workspace workspace(fs, context.programFolder());
    std::vector<std::string> missing = missingRequiredFiles(workspace);
    std::string message = missing.empty() ? std::string() : missingFilesMessage(missing);
    nlohmann::json damaged = nlohmann::json::array();
    for (const std::string& text : damagedDictionaryMessages(workspace)) {
        damaged.push_back(encoding::gbkToUtf8Lossy(text));
        message += (message.empty() ? "" : "\n") + text;
    }
    if (context.json) {
        nlohmann::json out = {{"folder", workspace.programFolder()},
                              {"ok", message.empty()},
                              {"missing", missing},
                              {"damaged", damaged}};
        if (!message.empty()) out["message"] = encoding::gbkToUtf8Lossy(message);
        std::cout << out.dump(2) << '\n';
        return message.empty() ? kExitOk : kExitFailure;
    }
    if (!message.empty()) return fail(message);
    std::cout << "ok " << workspace.programFolder() << '\n';
    return kExitOk;
}

// Starts the workbench, shows its status bar, and closes it again.
int runStatus(const CliContext& context) {
    return withWorkbench(context, [&](Workbench& bench) {
        if (context.json) {
            nlohmann::json panels = nlohmann::json::array();
            for (const std::string& panel : bench.statusPanels) panels.push_back(encoding::gbkToUtf8Lossy(panel));
            nlohmann::json out = {{"folder", bench.workspace().programFolder()},
                                  {"direction", directionTag(bench.direction())},
                                  {"termBase", bench.settings.curZyname},
                                  {"termBaseTitle", encoding::gbkToUtf8Lossy(bench.libraryTitle(LibraryKind::TermBase))},
                                  {"sentenceLibrary", bench.settings.curLiJuKuname},
                                  {"sentenceLibraryTitle",
                                   encoding::gbkToUtf8Lossy(bench.libraryTitle(LibraryKind::SentenceLibrary))},
                                  {"panels", panels}};
            std::cout << out.dump(2) << '\n';
        } else {
            for (const std::string& panel : bench.statusPanels)
                if (!panel.empty()) printLine(panel);
        }
        return kExitOk;
    });
}

}  // namespace

void registerSetupCommands(CLI::App& app, CliContext& context) {
    app.add_subcommand("init", "Create or complete the program folder from the delivered files; prints the folder")
        ->callback([&context] { context.exitCode = runInit(context); });
    app.add_subcommand("check", "Check that the files the workbench needs are present")
        ->callback([&context] { context.exitCode = runCheck(context); });
    app.add_subcommand("status", "Start the workbench, print its status bar, and close it again")
        ->callback([&context] { context.exitCode = runStatus(context); });
}

}  // namespace tavricat::cli
