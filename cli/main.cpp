// tavricat-cli: the workbench's operations from the command line, over the same core as the
// desktop program. Exit status: 0 success, 1 failure (message on stderr), 2 bad usage.

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

#include "cli_context.h"
#include "commands.h"

int main(int argc, char** argv) {
    using namespace tavricat::cli;
    CliContext context;
    CLI::App app{"TavriCAT command line"};
    app.fallthrough();
    app.add_option("--home", context.home, "Program folder (default: TAVRICAT_HOME or ~/.local/share/tavricat)");
    app.add_option("--direction", context.directionText, "Translation direction for this run only")
        ->check(CLI::IsMember({"ec", "ce"}));
    auto* yes = app.add_flag("--yes", context.yes, "Answer Yes to questions");
    auto* no = app.add_flag("--no", context.no, "Answer No to questions (the default)");
    yes->excludes(no);
    app.add_flag("--json", context.json, "Print results as JSON");
    app.add_flag("--wait", context.wait, "Wait as long as another process uses the program folder");
    app.require_subcommand(1);

    registerSetupCommands(app, context);
    registerSettingsCommands(app, context);
    registerDocumentCommands(app, context);
    registerEngineCommands(app, context);
    registerGrammarCommands(app, context);
    registerMtCommands(app, context);
    registerTmCommands(app, context);
    registerDataCommands(app, context);
    registerTranslateCommands(app, context);
    registerProjectCommands(app, context);
    registerSuggestCommands(app, context);
    registerConfirmCommands(app, context);
    registerLinkCommands(app, context);
    registerTeamCommands(app, context);
    registerQaCommands(app, context);

    // The command's words, for a process that finds the program folder in use by this one.
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--home" || word == "--direction") {
            ++i;
        } else if (!word.empty() && word[0] != '-') {
            context.commandName += (context.commandName.empty() ? "" : " ") + word;
            if (context.commandName.find(' ') != std::string::npos) break;
        }
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int rc = app.exit(e);
        return rc == 0 ? kExitOk : kExitUsage;
    } catch (const FolderInUse& e) {
        std::cerr << e.what() << '\n';
        return kExitFailure;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << '\n';
        return kExitFailure;
    }
    return context.exitCode;
}
