// tm add "SOURCE^TARGET"; tm stats — the current sentence library.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "base/encoding.h"
#include "cli_context.h"
#include "commands.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

int runAdd(const CliContext& context, const std::string& pairText) {
    Result<std::string> pair = encoding::utf8ToGbk(pairText);
    if (!pair) return fail(pair.status());
    if (pair->find('^') == std::string::npos) {
        std::cerr << "expected SOURCE^TARGET\n";
        return kExitUsage;
    }
    // The library is saved by the shutdown that follows the command.
    return withWorkbench(context, [&](Workbench& bench) -> int {
        Result<std::size_t> added = bench.sentenceLibrary.addAsent(bench.engine, bench.analysisOptions(), *pair);
        if (!added) return fail(added.status());
        if (context.json) std::cout << nlohmann::json{{"index", *added}}.dump() << '\n';
        else std::cout << "added example " << *added << '\n';
        return kExitOk;
    });
}

int runStats(const CliContext& context) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        const SentenceLibrary& library = bench.sentenceLibrary;
        const std::size_t tombstones = library.tombstones();
        const std::size_t examples = library.exampleCount() - tombstones;
        const std::string title = utf8(bench.sentenceLibraryInfo.title);
        if (context.json) {
            std::cout << nlohmann::json{{"name", bench.settings.curLiJuKuname}, {"title", title}, {"examples", examples},
                                        {"deleted", tombstones}, {"words", library.libWords.size()}}
                             .dump(2)
                      << '\n';
        } else {
            std::cout << "library: " << bench.settings.curLiJuKuname << '\n'
                      << "title: " << title << '\n'
                      << "examples: " << examples << " (deleted: " << tombstones << ")\n"
                      << "indexed words: " << library.libWords.size() << '\n';
        }
        return kExitOk;
    });
}

}  // namespace

void registerTmCommands(CLI::App& app, CliContext& context) {
    CLI::App* tm = app.add_subcommand("tm", "The current sentence library (translation memory)");
    tm->require_subcommand(1);
    auto pair = std::make_shared<std::string>();
    CLI::App* add = tm->add_subcommand("add", "Add a SOURCE^TARGET pair and save the library");
    add->add_option("pair", *pair)->required();
    add->callback([&context, pair] { context.exitCode = runAdd(context, *pair); });
    tm->add_subcommand("stats", "Name, title, examples and indexed words of the library")->callback([&context] {
        context.exitCode = runStats(context);
    });
}

}  // namespace tavricat::cli
