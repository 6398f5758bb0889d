// mt TEXT [--explain]: the machine translation of one sentence in the current direction.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "base/encoding.h"
#include "cli_context.h"
#include "commands.h"
#include "grammar/translation_pipeline.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

std::string gapText(const GapRange& gap) { return std::to_string(gap.first) + "-" + std::to_string(gap.count); }

nlohmann::json recordJson(const MatchRecord& r) {
    nlohmann::json tags = nlohmann::json::array();
    for (int t = 0; t < std::min(r.braceCount, 9); ++t) tags.push_back(r.tagSegments[static_cast<std::size_t>(t)]);
    return {{"first", r.first}, {"last", r.last}, {"pattern", utf8(r.pattern)}, {"template", utf8(r.templ)},
            {"span", r.span}, {"fixedTokens", r.fixedTokens}, {"score", r.score},
            {"gaps", {gapText(r.gaps[0]), gapText(r.gaps[1]), gapText(r.gaps[2])}}, {"gapCount", r.gapCount},
            {"braceCount", r.braceCount}, {"tagSegments", tags}};
}

int runMt(const CliContext& context, const std::string& text, bool explain) {
    Result<std::string> sentence = encoding::utf8ToGbk(text);
    if (!sentence) return fail(sentence.status());
    return withReadOnlyWorkbench(context, [&](Workbench& bench) {
        std::string cleaned;
        PipelineContext pipeline{bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames};
        prepareSent(*sentence, cleaned, pipeline, false);
        const GrammarPlacement& placement = bench.engine.grammarPlacement;
        const std::string translation = machineTranslate(bench.engine.workSent, placement, bench.direction());
        if (context.json) {
            nlohmann::json out = {{"translation", utf8(translation)}};
            if (explain) {
                nlohmann::json table = nlohmann::json::array();
                for (const MatchRecord& r : placement.matchTable) table.push_back(recordJson(r));
                out["placed"] = utf8(placement.placedPatterns);
                out["matchTable"] = table;
            }
            std::cout << out.dump(2) << '\n';
            return kExitOk;
        }
        std::cout << utf8(translation) << '\n';
        if (explain) {
            std::string placed = utf8(placement.placedPatterns);
            std::erase(placed, '\r');
            std::cout << "-- placed patterns\n" << placed;
            std::cout << "-- match table\n";
            for (const MatchRecord& r : placement.matchTable)
                std::cout << recordJson(r).dump() << '\n';
        }
        return kExitOk;
    });
}

}  // namespace

void registerMtCommands(CLI::App& app, CliContext& context) {
    struct Args {
        std::string text;
        bool explain = false;
    };
    auto args = std::make_shared<Args>();
    CLI::App* mt = app.add_subcommand("mt", "Machine-translate one sentence in the current direction");
    mt->add_option("text", args->text)->required();
    mt->add_flag("--explain", args->explain, "Also print the placed patterns and the match table");
    mt->callback([&context, args] { context.exitCode = runMt(context, args->text, args->explain); });
}

}  // namespace tavricat::cli
