// tm add "SOURCE^TARGET"; tm search TEXT; tm stats; tm new NAME; tm use NAME; tm list, edit,
// delete and replace (verifying the stored examples) — the sentence libraries.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <optional>

#include "base/library_info.h"
#include "app/sentence_library_switch.h"
#include "app/library_update_setup.h"
#include "app/team_library.h"
#include "base/encoding.h"
#include "base/gbk.h"
#include "grammar/translation_pipeline.h"
#include "memory/fuzzy_search.h"
#include "memory/library_verification.h"
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
        // A stored pair goes to the team library with the next synchronisation.
        queueForTeam(bench, "C^" + bench.sentenceLibrary.libSentences[*added]);
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
        LibraryUpdateContext update = libraryUpdateContextOf(bench, true);
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

struct VerifyArgs {
    std::string source, target;  // the filter (UTF-8 as typed)
    bool either = false;
    std::size_t index = 0;
    std::optional<std::string> newSource, newTranslation;
    std::string find, replacement;
};

Result<VerificationFilter> filterOf(const VerifyArgs& args) {
    Result<std::string> source = encoding::utf8ToGbk(args.source);
    if (!source) return source.status();
    Result<std::string> target = encoding::utf8ToGbk(args.target);
    if (!target) return target.status();
    return VerificationFilter{*source, *target, args.either};
}

// "N  source ^ translation", the source as its tokens.
std::string listedLine(std::size_t index, const std::string& line) {
    return std::to_string(index) + "  " + utf8(exampleSource(line)) + " ^" + utf8(exampleTranslation(line));
}

nlohmann::json exampleJson(std::size_t index, const std::string& line) {
    return {{"index", index}, {"source", utf8(exampleSource(line))}, {"translation", utf8(exampleTranslation(line))}};
}

int runList(const CliContext& context, const VerifyArgs& args) {
    Result<VerificationFilter> filter = filterOf(args);
    if (!filter) return fail(filter.status());
    return withReadOnlyWorkbench(context, [&](Workbench& bench) -> int {
        const LineList& lines = bench.sentenceLibrary.libSentences;
        const std::vector<std::size_t> listed = listExamplesToVerify(bench.sentenceLibrary, *filter);
        if (context.json) {
            nlohmann::json out = nlohmann::json::array();
            for (std::size_t index : listed) out.push_back(exampleJson(index, lines[index]));
            std::cout << out.dump(2) << '\n';
            return kExitOk;
        }
        for (std::size_t index : listed) std::cout << listedLine(index, lines[index]) << '\n';
        std::cout << listed.size() << " examples listed\n";
        return kExitOk;
    });
}

// A verified example that can be changed: listed when nothing filters.
bool isListedExample(const SentenceLibrary& library, std::size_t index) {
    const std::vector<std::size_t> all = listExamplesToVerify(library, {});
    return std::binary_search(all.begin(), all.end(), index);
}

int runEdit(const CliContext& context, const VerifyArgs& args) {
    if (!args.newSource && !args.newTranslation) {
        std::cerr << "tm edit: give --source, --translation or both\n";
        return kExitUsage;
    }
    std::optional<std::string> source, translation;
    for (auto [from, to] : {std::pair{&args.newSource, &source}, {&args.newTranslation, &translation}}) {
        if (!*from) continue;
        Result<std::string> converted = encoding::utf8ToGbk(**from);
        if (!converted) return fail(converted.status());
        *to = *converted;
    }
    // The library is saved by the shutdown that follows the command.
    return withWorkbench(context, [&](Workbench& bench) -> int {
        SentenceLibrary& library = bench.sentenceLibrary;
        if (!isListedExample(library, args.index)) return fail("tm edit: no example " + std::to_string(args.index));
        const std::string before = library.libSentences[args.index];
        const ExampleParts parts = *examplePartsOf(before);
        Result<ExampleChange> stored =
            storeCorrectedExample(library, bench.engine, bench.analysisOptions(), args.index,
                                  source ? *source : parts.source, translation ? *translation : parts.translation);
        if (!stored) return fail(stored.status());
        const std::string& after = library.libSentences[args.index];
        if (context.json) {
            std::cout << nlohmann::json{{"index", args.index}, {"changed", *stored != ExampleChange::None},
                                        {"reindexed", *stored == ExampleChange::SourceReindexed},
                                        {"before", exampleJson(args.index, before)}, {"after", exampleJson(args.index, after)}}
                             .dump(2)
                      << '\n';
        } else if (*stored == ExampleChange::None) {
            std::cout << "example " << args.index << " unchanged\n";
        } else {
            std::cout << "- " << listedLine(args.index, before) << "\n+ " << listedLine(args.index, after) << '\n'
                      << (*stored == ExampleChange::SourceReindexed ? "source re-indexed\n" : "");
        }
        return kExitOk;
    });
}

int runDelete(const CliContext& context, const VerifyArgs& args) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        SentenceLibrary& library = bench.sentenceLibrary;
        if (!isListedExample(library, args.index)) return fail("tm delete: no example " + std::to_string(args.index));
        const std::string before = library.libSentences[args.index];
        Status deleted = library.deleteSample(args.index);
        if (!deleted.isOk()) return fail(deleted);
        if (context.json) std::cout << nlohmann::json{{"deleted", exampleJson(args.index, before)}}.dump(2) << '\n';
        else std::cout << "deleted " << listedLine(args.index, before) << '\n';
        return kExitOk;
    });
}

int runReplace(const CliContext& context, const VerifyArgs& args) {
    Result<VerificationFilter> filter = filterOf(args);
    if (!filter) return fail(filter.status());
    Result<std::string> find = encoding::utf8ToGbk(args.find);
    if (!find) return fail(find.status());
    Result<std::string> replacement = encoding::utf8ToGbk(args.replacement);
    if (!replacement) return fail(replacement.status());
    if (find->empty()) {
        std::cerr << "tm replace: the text to find is empty\n";
        return kExitUsage;
    }
    return withWorkbench(context, [&](Workbench& bench) -> int {
        SentenceLibrary& library = bench.sentenceLibrary;
        const std::vector<std::size_t> listed = listExamplesToVerify(library, *filter);
        std::vector<std::string> before;
        for (std::size_t index : listed) before.push_back(library.libSentences[index]);
        const std::vector<std::size_t> changed = replaceInTranslations(library, listed, *find, *replacement);
        if (context.json) {
            nlohmann::json out = nlohmann::json::array();
            for (std::size_t index : changed) out.push_back(exampleJson(index, library.libSentences[index]));
            std::cout << nlohmann::json{{"listed", listed.size()}, {"replaced", out}}.dump(2) << '\n';
            return kExitOk;
        }
        for (std::size_t index : changed) {
            const auto at = std::lower_bound(listed.begin(), listed.end(), index) - listed.begin();
            std::cout << "- " << listedLine(index, before[static_cast<std::size_t>(at)]) << "\n+ "
                      << listedLine(index, library.libSentences[index]) << '\n';
        }
        std::cout << "replaced in " << changed.size() << " of " << listed.size() << " listed translations\n";
        return kExitOk;
    });
}

void addFilterOptions(CLI::App& command, VerifyArgs& args) {
    command.add_option("--source", args.source, "List only examples whose line holds this text");
    command.add_option("--target", args.target, "List only examples whose line holds this text");
    command.add_flag("--or", args.either, "Either text is enough (an empty one lets every example pass)");
}

void registerVerifyCommands(CLI::App& tm, CliContext& context) {
    auto listArgs = std::make_shared<VerifyArgs>();
    CLI::App* list = tm.add_subcommand("list", "List the stored examples: index, source tokens ^ translation");
    addFilterOptions(*list, *listArgs);
    list->callback([&context, listArgs] { context.exitCode = runList(context, *listArgs); });

    auto editArgs = std::make_shared<VerifyArgs>();
    CLI::App* edit = tm.add_subcommand(
        "edit", "Correct example N's source (analysed and indexed again) or translation and save the library");
    edit->add_option("index", editArgs->index, "The example's index, as tm list shows it")->required();
    edit->add_option("--source", editArgs->newSource);
    edit->add_option("--translation", editArgs->newTranslation);
    edit->callback([&context, editArgs] { context.exitCode = runEdit(context, *editArgs); });

    auto deleteArgs = std::make_shared<VerifyArgs>();
    CLI::App* remove = tm.add_subcommand("delete", "Delete example N from the library and save it");
    remove->add_option("index", deleteArgs->index, "The example's index, as tm list shows it")->required();
    remove->callback([&context, deleteArgs] { context.exitCode = runDelete(context, *deleteArgs); });

    auto replaceArgs = std::make_shared<VerifyArgs>();
    CLI::App* replace = tm.add_subcommand(
        "replace", "Replace a text in the translations of every listed example and save the library");
    replace->add_option("find", replaceArgs->find)->required();
    replace->add_option("replacement", replaceArgs->replacement)->required();
    addFilterOptions(*replace, *replaceArgs);
    replace->callback([&context, replaceArgs] { context.exitCode = runReplace(context, *replaceArgs); });
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
        "update", "Add the pairs of .bil, .exs, .rf0, alternating-line and office (.docx, .odt, .doc) files to the library and save it");
    update->add_option("files", updateArgs->files)->required();
    update->add_flag("--keep-same", updateArgs->keepSame, "Keep the stored translation of a sentence already held");
    update->callback([&context, updateArgs] {
        context.exitCode = runUpdate(context, updateArgs->files, updateArgs->keepSame);
    });

    tm->add_subcommand("stats", "Name, title, examples and indexed words of the library")->callback([&context] {
        context.exitCode = runStats(context);
    });
    registerVerifyCommands(*tm, context);
    registerTmxCommands(*tm, context);
    registerConcordanceCommands(*tm, context);
}

}  // namespace tavricat::cli
