// dict import FILES... [--replace|--merge]; dict export NAME -o FILE.txt;
// dict edit FILE.01 [--verified KEY]... [--domain KEY]... [--ordinary KEY]... [--delete KEY]...
//                   [--keep-meanings N] [--import]

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/term_base_import.h"
#include "app/term_base_revision.h"
#include "base/encoding.h"
#include "engine/term_exchange.h"
#include "app/settings.h"
#include "base/settings_store.h"
#include "cli_context.h"
#include "commands.h"
#include "engine/bar_lists.h"
#include "engine/term_base.h"
#include "engine/term_grid.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {


int runImport(const CliContext& context, const std::vector<std::string>& files, bool merge) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        const TermImportTotals totals = importTermFiles(bench, files, !merge, bench.progress());
        if (context.json)
            std::cout << nlohmann::json{{"processed", totals.processed}, {"added", totals.added},
                                        {"termBaseSize", totals.termBaseSize}, {"failedFiles", totals.failedFiles}}
                             .dump()
                      << '\n';
        else
            std::cout << totals.processed << " lines, " << totals.added << " new entries, " << totals.termBaseSize
                      << " entries in " << bench.engine.termBase.name << '\n';
        if (!totals.saved) return kExitFailure;
        return totals.failedFiles.empty() ? kExitOk : kExitFailure;
    });
}

// A term list the import reads back: key TAB meanings separated by ";". The further fields
// (association, part of speech, attribute) are not part of a term list.
int runExport(const CliContext& context, const std::string& name, const std::string& output) {
    DiskFileSystem fs;
    const Workspace workspace(fs, context.programFolder());
    TermBase base;
    if (Status loaded = base.load(fs, workspace.userDataFolder(), name); !loaded) return fail(loaded);
    if (termFileKindOf(output) == TermFileKind::Tbx) {
        // TBX for other tools: the direction says which side is the key.
        Settings settings;
        if (Result<SettingsStore> store = SettingsStore::open(fs, context.settingsPath())) settings = readSettings(*store);
        const Direction direction = context.direction().value_or(directionFromCtoe(settings.ctoe));
        Result<std::size_t> written = writeTbx(base, direction, output);
        if (!written) return fail(written.status());
        std::cout << *written << " entries -> " << output << '\n';
        return kExitOk;
    }
    LineList lines;
    lines.reserve(base.size());
    for (std::size_t i = 0; i < base.size(); ++i) {
        std::string meanings = splitFields(base.termEntries[i], '^', 2)[0];
        for (char& c : meanings)
            if (c == '|') c = ';';  // '|' is ASCII and never a GBK trail byte of a meaning
        lines.push_back(base.termKeys[i] + "\t" + meanings);
    }
    std::string text = joinLines(lines);
    Result<std::string> converted = encoding::gbkToUtf8(text);
    if (!converted) return fail(converted.status());
    if (Status written = replaceFile(fs, output, *converted); !written) return fail(written);
    std::cout << base.size() << " entries -> " << output << '\n';
    return kExitOk;
}

struct EditArgs {
    std::string file;
    std::vector<std::string> verified, domain, ordinary, deleted;
    int keepMeanings = 50;
    bool importAfter = false;
};

// Answers the save question yes and the import question as the command was told.
class ScriptDialogs : public Dialogs {
public:
    ScriptDialogs(Dialogs& terminal, bool importAfter) : m_terminal(terminal), m_import(importAfter) {}
    void message(const std::string& text) override { m_terminal.message(text); }
    bool askYesNo(const std::string&) override { return m_asked++ == 0 || m_import; }
    void beep() override {}
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }

private:
    Dialogs& m_terminal;
    bool m_import;
    int m_asked = 0;
};

int runEdit(const CliContext& context, const EditArgs& args) {
    return withWorkbenchAndDialogs(context, [&](Workbench& bench, TerminalDialogs& dialogs) -> int {
        Result<TermBaseFile> file = loadTermBaseForRevision(bench.fs(), dialogs, args.file);
        if (!file) return file.status().kind() == ErrorKind::Refused ? kExitFailure : fail(file.status());
        TermGrid grid(file->keys, file->values, isCE(bench.direction()), &bench.engine.deletedWords);
        TermGridFilter filter;
        filter.keepMeanings = args.keepMeanings;
        grid.fill(TermGridFilter{});
        int missing = 0;
        auto rowsOf = [&](const std::vector<std::string>& keys) {
            std::vector<std::size_t> rows;
            for (const std::string& typed : keys) {
                Result<std::string> key = encoding::utf8ToGbk(typed);
                TermGrid::Found found = key ? grid.findKey(*key) : TermGrid::Found{};
                if (found.exact) {
                    rows.push_back(found.row);
                } else {
                    std::cerr << "not found: " << typed << '\n';
                    ++missing;
                }
            }
            return rows;
        };
        grid.mark(rowsOf(args.verified), TermMark::Verified);
        grid.mark(rowsOf(args.domain), TermMark::Domain);
        grid.mark(rowsOf(args.ordinary), TermMark::Ordinary);
        grid.markDeleted(rowsOf(args.deleted));
        grid.writeBack(&filter);
        ScriptDialogs script(dialogs, args.importAfter);
        Result<bool> importIt = saveRevisedTermBase(bench.fs(), script, *file, grid.keys(), grid.values());
        if (!importIt) return kExitFailure;
        std::cout << grid.keys().size() << " entries -> " << args.file << '\n';
        if (*importIt) {
            const TermImportTotals totals = importTermFiles(bench, {args.file}, true, bench.progress());
            if (!totals.saved || !totals.failedFiles.empty()) return kExitFailure;
        }
        return missing == 0 ? kExitOk : kExitFailure;
    });
}

}  // namespace

void registerTermFileCommands(CLI::App& dict, CliContext& context) {
    struct ImportArgs {
        std::vector<std::string> files;
        bool replace = false, merge = false;
    };
    auto importArgs = std::make_shared<ImportArgs>();
    CLI::App* importing = dict.add_subcommand("import", "Merge term files (.saw, .txt, .01 with its .02, .tbx, .csv, .tsv) into the term base");
    importing->add_option("files", importArgs->files)->required();
    CLI::Option* replace = importing->add_flag("--replace", importArgs->replace, "An existing entry is replaced (default)");
    importing->add_flag("--merge", importArgs->merge, "An existing entry is merged field by field")->excludes(replace);
    importing->callback([&context, importArgs] { context.exitCode = runImport(context, importArgs->files, importArgs->merge); });

    struct ExportArgs {
        std::string name, output;
    };
    auto exportArgs = std::make_shared<ExportArgs>();
    CLI::App* exporting = dict.add_subcommand("export", "Write a term base of userdata/ as a term list (key TAB meanings) or, for FILE.tbx, as TBX-Basic");
    exporting->add_option("name", exportArgs->name, "The term base's name, without extension")->required();
    exporting->add_option("-o,--output", exportArgs->output, "The .txt file (UTF-8) or .tbx file")->required();
    exporting->callback([&context, exportArgs] { context.exitCode = runExport(context, exportArgs->name, exportArgs->output); });

    auto editArgs = std::make_shared<EditArgs>();
    CLI::App* edit = dict.add_subcommand("edit", "Mark or delete entries of a term base file and save it");
    edit->add_option("file", editArgs->file, "The term base's .01 (its .02 beside it)")->required();
    edit->add_option("--verified", editArgs->verified, "Mark a key 已校");
    edit->add_option("--domain", editArgs->domain, "Mark a key 专用");
    edit->add_option("--ordinary", editArgs->ordinary, "Take both marks off a key");
    edit->add_option("--delete", editArgs->deleted, "Delete a key (it joins the deleted words)");
    edit->add_option("--keep-meanings", editArgs->keepMeanings, "Keep at most N meanings per entry (20 keeps all)")
        ->check(CLI::Range(1, 50));
    edit->add_flag("--import", editArgs->importAfter, "Then import the saved file into the current term base");
    edit->callback([&context, editArgs] { context.exitCode = runEdit(context, *editArgs); });
}

}  // namespace tavricat::cli
