// tm concordance TEXT [--target] [--limit N] [--json] — the examples whose source holds a
// word or phrase (analysed as the library's keys are), or whose translation holds a text,
// with the match marked.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/concordance_query.h"
#include "app/workbench.h"
#include "base/encoding.h"
#include "cli_context.h"
#include "commands.h"
#include "memory/concordance.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

struct ConcordanceArgs {
    std::string text;
    bool target = false;
    std::size_t limit = 20;
};

// The text with the match between "[[" and "]]".
std::string marked(const std::string& text, std::size_t at, std::size_t length) {
    return text.substr(0, at) + "[[" + text.substr(at, length) + "]]" + text.substr(at + length);
}

int runConcordance(const CliContext& context, const ConcordanceArgs& args) {
    Result<std::string> query = encoding::utf8ToGbk(args.text);
    if (!query) return fail(query.status());
    return withReadOnlyWorkbench(context, [&](Workbench& bench) -> int {
        const std::string phrase = concordanceQuery(bench, *query, args.target);
        const std::vector<ConcordanceHit> hits = concordance(bench.sentenceLibrary, phrase, args.target, args.limit);
        if (context.json) {
            nlohmann::json list = nlohmann::json::array();
            for (const ConcordanceHit& hit : hits)
                list.push_back({{"example", hit.example},
                                {"source", encoding::gbkToUtf8Lossy(hit.source)},
                                {"translation", encoding::gbkToUtf8Lossy(hit.translation)},
                                {"field", hit.inTranslation ? "translation" : "source"},
                                {"at", hit.at},
                                {"length", hit.length}});
            std::cout << nlohmann::json{{"query", encoding::gbkToUtf8Lossy(phrase)}, {"hits", list}}.dump(2) << '\n';
        } else {
            for (const ConcordanceHit& hit : hits) {
                const std::string source = hit.inTranslation ? hit.source : marked(hit.source, hit.at, hit.length);
                const std::string translation = hit.inTranslation ? marked(hit.translation, hit.at, hit.length) : hit.translation;
                std::cout << hit.example << ": " << encoding::gbkToUtf8Lossy(source) << "\n    "
                          << encoding::gbkToUtf8Lossy(translation) << '\n';
            }
            std::cout << hits.size() << (hits.size() == 1 ? " hit\n" : " hits\n");
        }
        return kExitOk;
    });
}

}  // namespace

void registerConcordanceCommands(CLI::App& tm, CliContext& context) {
    auto args = std::make_shared<ConcordanceArgs>();
    CLI::App* command = tm.add_subcommand("concordance", "Examples whose source (or translation) holds a word or phrase");
    command->add_option("text", args->text, "The word or phrase")->required();
    command->add_flag("--target", args->target, "Search the translations");
    command->add_option("--limit", args->limit, "At most this many hits, newest first (default 20)");
    command->callback([&context, args] { context.exitCode = runConcordance(context, *args); });
}

}  // namespace tavricat::cli
