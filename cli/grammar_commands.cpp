// grammar add RECORD; grammar delete RECORD; grammar import FILE.sag
// RECORD is "SOURCE^OPTION^TARGET". The grammar library of the current direction is changed
// and saved at the end of the run, when the change log is appended to userlibg.sag too.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "base/encoding.h"
#include "cli_context.h"
#include "commands.h"
#include "app/grammar_commands.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

const char* changeName(GrammarChange change) {
    switch (change) {
        case GrammarChange::None: return "empty";
        case GrammarChange::Added: return "added";
        case GrammarChange::AlreadyPresent: return "already-present";
        case GrammarChange::Deleted: return "deleted";
        case GrammarChange::NotPresent: return "not-present";
    }
    return "";
}

const char* changeText(GrammarChange change) {
    switch (change) {
        case GrammarChange::None: return "empty record: nothing changed";
        case GrammarChange::Added: return "pattern added";
        case GrammarChange::AlreadyPresent: return "pattern already in the grammar library: not added again";
        case GrammarChange::Deleted: return "pattern deleted";
        case GrammarChange::NotPresent: return "pattern not in the grammar library: nothing changed";
    }
    return "";
}

using RecordCommand = Result<GrammarChange> (*)(Workbench&, std::string_view);

int runRecordCommand(const CliContext& context, const std::string& argument, RecordCommand command) {
    Result<std::string> record = encoding::utf8ToGbk(argument);
    if (!record) return fail(record.status());
    return withWorkbench(context, [&](Workbench& bench) -> int {
        Result<GrammarChange> change = command(bench, *record);
        if (!change) return fail(change.status());
        if (context.json) std::cout << nlohmann::json{{"result", changeName(*change)}}.dump() << '\n';
        else std::cout << changeText(*change) << '\n';
        const bool done = *change == GrammarChange::Added || *change == GrammarChange::AlreadyPresent ||
                          *change == GrammarChange::Deleted;
        return done ? kExitOk : kExitFailure;
    });
}

int runImport(const CliContext& context, const std::string& path) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        Result<GrammarImportReport> report = importGrammarFile(bench, path);
        if (!report) return fail(report.status());
        for (const std::string& message : report->refused) std::cerr << encoding::gbkToUtf8Lossy(message) << '\n';
        if (context.json) {
            std::cout << nlohmann::json{{"lines", report->lines},     {"added", report->added},
                                        {"deleted", report->deleted}, {"unchanged", report->unchanged},
                                        {"blank", report->blank},     {"refused", report->refused.size()}}
                             .dump()
                      << '\n';
        } else {
            std::cout << report->lines << " lines: " << report->added << " added, " << report->deleted << " deleted, "
                      << report->unchanged << " unchanged, " << report->blank << " blank, " << report->refused.size()
                      << " refused\n";
        }
        // The lines that could be read were imported and are saved; refused ones fail the run.
        return report->refused.empty() ? kExitOk : kExitFailure;
    });
}

}  // namespace

void registerGrammarCommands(CLI::App& app, CliContext& context) {
    CLI::App* grammar = app.add_subcommand("grammar", "The grammar library of the current direction");
    grammar->require_subcommand(1);

    auto addRecord = std::make_shared<std::string>();
    CLI::App* add = grammar->add_subcommand("add", "Add a pattern \"SOURCE^OPTION^TARGET\"");
    add->add_option("record", *addRecord)->required();
    add->callback([&context, addRecord] { context.exitCode = runRecordCommand(context, *addRecord, addGrammarPattern); });

    auto deleteRecord = std::make_shared<std::string>();
    CLI::App* del = grammar->add_subcommand("delete", "Delete a pattern \"SOURCE^OPTION^TARGET\"");
    del->add_option("record", *deleteRecord)->required();
    del->callback(
        [&context, deleteRecord] { context.exitCode = runRecordCommand(context, *deleteRecord, deleteGrammarPattern); });

    auto file = std::make_shared<std::string>();
    CLI::App* import = grammar->add_subcommand("import", "Import a .sag file (aa/dd/plain record lines)");
    import->add_option("file", *file)->required();
    import->callback([&context, file] { context.exitCode = runImport(context, *file); });
}

}  // namespace tavricat::cli
