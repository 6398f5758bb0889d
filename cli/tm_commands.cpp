// tm add "SOURCE^TARGET"; tm search TEXT; tm stats; tm new NAME; tm use NAME — the sentence
// libraries.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "base/library_info.h"
#include "app/sentence_library_switch.h"
#include "base/encoding.h"
#include "base/gbk.h"
#include "grammar/translation_pipeline.h"
#include "memory/fuzzy_search.h"
#include "memory/library_update.h"
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

// An example's source as stored: the tokens of its key.
std::string exampleSource(const std::string& line) {
    const std::size_t caret = findKeySeparator(line);
    const std::string key = line.substr(0, caret);
    return key.size() > 3 ? std::string(gbk::trim(std::string_view(key).substr(3))) : std::string();
}

std::string exampleTranslation(const std::string& line) {
    const std::size_t caret = findKeySeparator(line);
    return caret == std::string::npos ? std::string() : line.substr(caret + 1);
}

int runSearch(const CliContext& context, const std::string& text) {
    Result<std::string> sentence = encoding::utf8ToGbk(text);
    if (!sentence) return fail(sentence.status());
    return withReadOnlyWorkbench(context, [&](Workbench& bench) -> int {
        std::string cleaned;
        PipelineContext pipeline{bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames};
        prepareSent(*sentence, cleaned, pipeline, false);
        // Every improving candidate, for the listing; the batch search keeps only the best.
        FuzzySearch listing;
        rankSimilarExamples(bench.sentenceLibrary, bench.engine.workSent, listing, SearchScope::CandidatesOnly);
        FuzzySearch search;
        search.ExampleRate = kNoExampleRate;
        search.dialogs = &bench.dialogs();
        SimilarityOptions options{bench.analysisOptions(), bench.settings.matchrate};
        const std::string result = adaptBestExample(bench.sentenceLibrary, bench.engine, options, search);

        const SentenceLibrary& library = bench.sentenceLibrary;
        const std::optional<std::size_t> best = search.bestExample();
        const std::string line = best && *best < library.exampleCount() ? library.libSentences[*best] : std::string();
        const long percent = static_cast<long>(search.ExampleRate * 100 + 1e-9);
        nlohmann::json candidates = nlohmann::json::array();
        for (const Candidate& candidate : listing.CandidateList)
            candidates.push_back({{"rate", candidate.rate}, {"index", candidate.example}});
        if (context.json) {
            nlohmann::json out = {{"rate", percent}, {"index", best ? nlohmann::json(*best) : nlohmann::json()},
                                  {"source", utf8(exampleSource(line))}, {"translation", utf8(exampleTranslation(line))},
                                  {"adapted", utf8(result)}, {"candidates", candidates}};
            std::cout << out.dump(2) << '\n';
            return kExitOk;
        }
        if (!best) {
            std::cout << "no example shares an indexed word with the sentence\n";
            return kExitOk;
        }
        std::cout << "rate: " << percent << "%";
        if (search.ExampleRate == kNoExampleRate)
            std::cout << " (best candidate " << search.CandidateList.back().text().substr(0, 8) << " is not above matchrate "
                      << bench.settings.matchrate << "%)";
        std::cout << '\n'
                  << "example: " << *best << '\n'
                  << "source: " << utf8(exampleSource(line)) << '\n'
                  << "translation: " << utf8(exampleTranslation(line)) << '\n'
                  << "adapted: " << utf8(result) << '\n';
        return kExitOk;
    });
}

struct NewLibraryArgs {
    std::string name, title, author, description;
};

int runNew(const CliContext& context, const NewLibraryArgs& args) {
    // The name becomes the files' stem in the user-data folder; a path is refused rather
    // than cut down to its last part.
    if (!isPlainLibraryName(gbk::trim(args.name)))
        return fail("tm new: " + encoding::utf8ToGbkLossy(args.name) + " is not a plain library name");
    LibraryInfo info;
    for (auto [from, to] : {std::pair{&args.name, &info.fileName}, {&args.title, &info.title}, {&args.author, &info.author}}) {
        Result<std::string> converted = encoding::utf8ToGbk(*from);
        if (!converted) return fail(converted.status());
        *to = *converted;
    }
    Result<std::string> description = encoding::utf8ToGbk(args.description);
    if (!description) return fail(description.status());
    info.description = splitLines(*description);
    return withWorkbench(context, [&](Workbench& bench) -> int {
        Result<std::string> created = createSentenceLibrary(bench, info);
        if (!created) return kExitFailure;  // the refusal has been shown
        std::cout << "created sentence library " << *created
                  << (bench.sentenceLibrary.name == *created ? " (now current)" : "") << '\n';
        return kExitOk;
    });
}

int runUse(const CliContext& context, const std::string& name) {
    if (!isPlainLibraryName(name))
        return fail("tm use: " + encoding::utf8ToGbkLossy(name) + " is not a plain library name");
    return withWorkbench(context, [&](Workbench& bench) -> int {
        if (!useSentenceLibrary(bench, name)) return kExitFailure;  // shown already
        std::cout << "current sentence library: " << bench.sentenceLibrary.name << " ("
                  << bench.sentenceLibrary.exampleCount() << " examples)\n";
        return kExitOk;
    });
}

int runUpdate(const CliContext& context, const std::vector<std::string>& files, bool keepSame) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        LibraryUpdateContext update{bench.sentenceLibrary,
                                    {bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames},
                                    bench.fs(),
                                    bench.dialogs(),
                                    &bench.progress()};
        const std::size_t before = bench.sentenceLibrary.exampleCount();
        const LibraryUpdateTotals totals =
            updateLibraryFromFiles(update, files, !keepSame, bench.workspace().userDataFolder());
        if (context.json) {
            std::cout << nlohmann::json{{"pairs", totals.pairsRead}, {"same", totals.same}, {"added", totals.added},
                                        {"refused", totals.refused}, {"examples", totals.librarySize},
                                        {"failed", totals.failedFiles}}
                             .dump(2)
                      << '\n';
        } else {
            std::cout << "pairs: " << totals.pairsRead << "  same: " << totals.same << "  new: " << totals.added
                      << "\nexamples in " << bench.sentenceLibrary.name << ": " << totals.librarySize << " (was "
                      << before << ")\n";
            if (totals.refused) std::cout << totals.refused << " pairs could not be stored\n";
        }
        return totals.failedFiles.empty() ? kExitOk : kExitFailure;
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
    auto text = std::make_shared<std::string>();
    CLI::App* search = tm->add_subcommand("search", "Find the closest example of a sentence and adapt its translation");
    search->add_option("text", *text)->required();
    search->callback([&context, text] { context.exitCode = runSearch(context, *text); });

    auto created = std::make_shared<NewLibraryArgs>();
    CLI::App* make = tm->add_subcommand("new", "Create an empty sentence library (and make it current unless --no)");
    make->add_option("name", created->name)->required();
    make->add_option("--title", created->title, "Title shown in the status bar");
    make->add_option("--author", created->author);
    make->add_option("--description", created->description);
    make->callback([&context, created] { context.exitCode = runNew(context, *created); });

    auto name = std::make_shared<std::string>();
    CLI::App* use = tm->add_subcommand("use", "Save the current sentence library and make another one current");
    use->add_option("name", *name)->required();
    use->callback([&context, name] { context.exitCode = runUse(context, *name); });

    struct UpdateArgs {
        std::vector<std::string> files;
        bool keepSame = false;
    };
    auto updateArgs = std::make_shared<UpdateArgs>();
    CLI::App* update = tm->add_subcommand(
        "update", "Add the pairs of .bil, .exs, .rf0 and alternating-line files to the library and save it");
    update->add_option("files", updateArgs->files)->required();
    update->add_flag("--keep-same", updateArgs->keepSame, "Keep the stored translation of a sentence already held");
    update->callback([&context, updateArgs] {
        context.exitCode = runUpdate(context, updateArgs->files, updateArgs->keepSame);
    });

    tm->add_subcommand("stats", "Name, title, examples and indexed words of the library")->callback([&context] {
        context.exitCode = runStats(context);
    });
}

}  // namespace tavricat::cli
