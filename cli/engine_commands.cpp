// analyse TEXT; dict lookup KEY [--system]; dict add KEY ENTRY [--new]; dict delete KEY;
// dict define WORDS [--meaning M]; dict build INPUT OUTBASE [--encoding gbk|utf8]

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/new_term.h"
#include "app/term_journal.h"
#include "base/encoding.h"
#include "base/gbk.h"
#include "base/line_list.h"
#include "cli_context.h"
#include "commands.h"
#include "engine/analyser.h"
#include "engine/dictionary_writer.h"
#include "engine/morphology.h"
#include "document/han_spacing.h"
#include "grammar/translation_pipeline.h"
#include "interactive/interactive_area.h"
#include "interactive/sentence_translation.h"
#include "interactive/term_entry_text.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

// Arguments arrive as UTF-8; the core takes GBK.
Result<std::string> argumentToGbk(const std::string& text) { return encoding::utf8ToGbk(text); }

void printAnalysis(const stClass& a, bool json) {
    std::vector<std::string> words, baseWords;
    for (int i = 1; i <= a.wordCount; ++i) {
        words.push_back(utf8(a.words[i]));
        baseWords.push_back(utf8(a.baseWords[i]));
    }
    if (json) {
        nlohmann::json segments = nlohmann::json::array();
        for (int k = 1; k <= a.segCount; ++k)
            segments.push_back({{"key", utf8(a.segKeys[k])}, {"words", utf8(a.segWords[k])}, {"text", utf8(a.segText[k])},
                                {"trans", utf8(a.segTrans[k])}, {"assoc", utf8(a.segAssoc[k])},
                                {"class", utf8(a.segClass[k])}, {"attr", utf8(a.segAttr[k])}});
        nlohmann::json out = {{"text", utf8(a.text)}, {"wordCount", a.wordCount}, {"segCount", a.segCount},
                              {"words", words}, {"baseWords", baseWords}, {"segments", segments}};
        std::cout << out.dump(2) << '\n';
        return;
    }
    auto joined = [](const std::vector<std::string>& items) {
        std::string out;
        for (const auto& item : items) out += (out.empty() ? "" : " | ") + item;
        return out;
    };
    std::cout << "text: " << utf8(a.text) << '\n'
              << "wordCount: " << a.wordCount << '\n'
              << "segCount: " << a.segCount << '\n'
              << "words: " << joined(words) << '\n'
              << "baseWords: " << joined(baseWords) << '\n';
    for (int k = 1; k <= a.segCount; ++k)
        std::cout << "segment " << k << ": key=" << utf8(a.segKeys[k]) << " words=" << utf8(a.segWords[k])
                  << " text=" << utf8(a.segText[k]) << " trans=" << utf8(a.segTrans[k]) << " assoc=" << utf8(a.segAssoc[k])
                  << " class=" << utf8(a.segClass[k]) << " attr=" << utf8(a.segAttr[k]) << '\n';
}

int runAnalyse(const CliContext& context, const std::string& text) {
    Result<std::string> sentence = argumentToGbk(text);
    if (!sentence) return fail(sentence.status());
    return withReadOnlyWorkbench(context, [&](Workbench& bench) {
        // The word-level preparation a translator sees: the analysis, translations ordered by
        // domain, inflection tags, function and measure words.
        Engine& engine = bench.engine;
        analyseSent(*sentence, engine.workSent, engine, bench.analysisOptions());
        orderByDomain(engine.workSent, -1, bench.selectedDomainNames);
        tagInflections(engine.workSent);
        addFunctionWords(engine.workSent, engine.measureWords.measureKeys, engine.measureWords.measureWords);
        printAnalysis(engine.workSent, context.json);
        return kExitOk;
    });
}

int runLookup(const CliContext& context, const std::string& keyText, bool system) {
    Result<std::string> key = argumentToGbk(keyText);
    if (!key) return fail(key.status());
    return withReadOnlyWorkbench(context, [&](Workbench& bench) {
        const DictSource source = system ? DictSource::System : DictSource::TermBase;
        std::string entry = bench.engine.lookupKey(*key, source);
        // Chinese keys are stored with a blank between characters; a typed key has none.
        if (entry.empty() && isCE(bench.direction())) entry = bench.engine.lookupKey(AddSpaceInCChars(gbk::trim(*key)), source);
        if (entry.empty()) {
            std::cerr << "not found: " << keyText << '\n';
            return kExitFailure;
        }
        if (context.json) std::cout << nlohmann::json{{"key", keyText}, {"entry", utf8(entry)}}.dump() << '\n';
        else std::cout << utf8(entry) << '\n';
        return kExitOk;
    });
}

// A term edit inside a run: the term base is saved and the edit logged by the shutdown.
int runTermAdd(const CliContext& context, const std::string& keyText, const std::string& entryText, bool onlyNew) {
    Result<std::string> key = argumentToGbk(keyText);
    if (!key) return fail(key.status());
    Result<std::string> entry = argumentToGbk(entryText);
    if (!entry) return fail(entry.status());
    return withWorkbench(context, [&](Workbench& bench) -> int {
        if (onlyNew) {
            // As the window's add command: the key from the analysed base words, an existing
            // entry left as it is.
            const std::string stored = typedTermKey(bench, *key);
            if (Status added = storeNewTerm(bench, stored, ClearSpaceInCChars(*entry)); !added) return fail(added);
            std::cout << utf8(stored) << " = " << utf8(bench.engine.termBase.lookupKey(stored)) << '\n';
            return kExitOk;
        }
        if (Status added = addTermEdit(bench, *key, *entry); !added) return fail(added);
        const std::string& line = bench.newUserWords.back();
        const std::string stored = bench.engine.lookupKey(line.substr(0, line.find('^')), DictSource::TermBase);
        std::cout << utf8(line.substr(0, line.find('^'))) << " = " << utf8(stored) << '\n';
        return kExitOk;
    });
}

// The key goes onto the deleted words whether or not the term base held it, so that the
// system dictionary does not bring it back.
int runTermDelete(const CliContext& context, const std::string& keyText) {
    Result<std::string> key = argumentToGbk(keyText);
    if (!key) return fail(key.status());
    const std::string trimmed(gbk::trim(*key));
    if (trimmed.empty()) return fail(Status::error(ErrorKind::BadInput, "A term key is needed."));
    return withWorkbench(context, [&](Workbench& bench) -> int {
        if (Status deleted = deletePersonsTerm(bench, trimmed, true); !deleted)
            return fail(deleted.message() + " (now among the deleted words)");
        std::cout << "deleted " << keyText << '\n';
        return kExitOk;
    });
}

// A phrase from the words of a sentence: the sentence is analysed and prepared as for
// translation, every token is taken, and the key is their segment keys joined.
int runDefine(const CliContext& context, const std::string& wordsText, const std::string* meaningText) {
    Result<std::string> words = argumentToGbk(wordsText);
    if (!words) return fail(words.status());
    Result<std::string> meaning = meaningText ? argumentToGbk(*meaningText) : Result<std::string>(std::string());
    if (!meaning) return fail(meaning.status());
    return withWorkbench(context, [&](Workbench& bench) -> int {
        Engine& engine = bench.engine;
        std::string sentence = *words;
        std::string cleaned;
        PipelineContext pipeline{engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames};
        prepareSent(sentence, cleaned, pipeline, false);
        InteractiveArea area;
        area.build(engine.workSent, {}, AreaOptions{});
        for (int i = 0; i < static_cast<int>(area.size()); ++i) area.toggleMarked(i);
        const PhraseProposal proposal = phraseOfMarkedTokens(area, engine.workSent, bench.direction());
        TermEntryForm form = termEntryForm(kDefinePhraseCaption, proposal.key, meaningText ? *meaning : proposal.meanings);
        if (!isStorableForm(form)) return fail(Status::error(ErrorKind::BadInput, "The meaning holds a line break or \"^\"."));
        const std::string key(gbk::trim(gbk::asciiLower(form.key)));
        if (Status added = storeNewTerm(bench, key, termValueOf(form)); !added) return fail(added);
        std::cout << utf8(key) << " = " << utf8(engine.termBase.lookupKey(key)) << '\n';
        return kExitOk;
    });
}

int runBuild(const CliContext& context, const std::string& input, const std::string& outBase, const std::string& encodingName) {
    DiskFileSystem fs;
    Result<std::string> bytes = fs.readFile(input);
    if (!bytes) return fail(bytes.status());
    std::string text = *bytes;
    if (encodingName == "utf8") {
        if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
        Result<std::string> converted = encoding::utf8ToGbk(text);
        if (!converted) return fail(converted.status());
        text = std::move(*converted);
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t lineNumber = 0;
    for (const std::string& line : splitLines(text)) {
        ++lineNumber;
        if (line.empty()) continue;
        std::size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            std::cerr << input << ":" << lineNumber << ": no TAB between key and value\n";
            return kExitFailure;
        }
        pairs.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    DictionaryWriteStats stats;
    if (Status written = writeSystemDictionary(fs, outBase, std::move(pairs), &stats); !written) return fail(written);
    if (context.json)
        std::cout << nlohmann::json{{"keys", stats.keys}, {"duplicates", stats.droppedDuplicates}, {"blocks", stats.dataBlocks}}.dump()
                  << '\n';
    else
        std::cout << stats.keys << " keys in " << stats.dataBlocks << " blocks -> " << outBase << ".IDX/.DAT\n";
    return kExitOk;
}

}  // namespace

void registerEngineCommands(CLI::App& app, CliContext& context) {
    auto text = std::make_shared<std::string>();
    CLI::App* analyse = app.add_subcommand("analyse", "Analyse one sentence in the current direction");
    analyse->add_option("text", *text)->required();
    analyse->callback([&context, text] { context.exitCode = runAnalyse(context, *text); });

    CLI::App* dict = app.add_subcommand("dict", "The term base and the system dictionary");
    dict->require_subcommand(1);
    struct LookupArgs {
        std::string key;
        bool system = false;
    };
    auto lookupArgs = std::make_shared<LookupArgs>();
    CLI::App* lookup = dict->add_subcommand("lookup", "Print the entry of a key (term base, or --system)");
    lookup->add_option("key", lookupArgs->key)->required();
    lookup->add_flag("--system", lookupArgs->system, "Look in the system dictionary of the direction");
    lookup->callback([&context, lookupArgs] { context.exitCode = runLookup(context, lookupArgs->key, lookupArgs->system); });

    struct EditArgs {
        std::string key, entry, meaning;
        bool onlyNew = false;
    };
    auto editArgs = std::make_shared<EditArgs>();
    CLI::App* add = dict->add_subcommand("add", "Add a term to the term base, merged with the entry it may have");
    add->add_option("key", editArgs->key)->required();
    add->add_option("entry", editArgs->entry, "Meanings separated by \"|\", then \"^\" and the further fields")->required();
    add->add_flag("--new", editArgs->onlyNew,
                  "As the window adds: the key from the analysed base words (a final full stop attached); "
                  "a key the term base holds is refused, not merged");
    add->callback([&context, editArgs] {
        context.exitCode = runTermAdd(context, editArgs->key, editArgs->entry, editArgs->onlyNew);
    });
    CLI::App* remove = dict->add_subcommand("delete", "Delete a key from the term base and add it to the deleted words");
    remove->add_option("key", editArgs->key)->required();
    remove->callback([&context, editArgs] { context.exitCode = runTermDelete(context, editArgs->key); });
    CLI::App* define = dict->add_subcommand("define", "Define a phrase from the words of a sentence");
    define->add_option("words", editArgs->key, "The words, as they stand in the sentence")->required();
    CLI::Option* meaning =
        define->add_option("--meaning", editArgs->meaning, "Its meanings (default: the words' first meanings)");
    define->callback([&context, editArgs, meaning] {
        context.exitCode = runDefine(context, editArgs->key, meaning->count() > 0 ? &editArgs->meaning : nullptr);
    });

    registerTermFileCommands(*dict, context);

    struct BuildArgs {
        std::string input, outBase, encoding = "utf8";
    };
    auto buildArgs = std::make_shared<BuildArgs>();
    CLI::App* build = dict->add_subcommand("build", "Write OUTBASE.IDX/.DAT from key<TAB>value lines");
    build->add_option("input", buildArgs->input)->required();
    build->add_option("outbase", buildArgs->outBase)->required();
    build->add_option("--encoding", buildArgs->encoding, "Encoding of the input")->check(CLI::IsMember({"utf8", "gbk"}));
    build->callback([&context, buildArgs] {
        context.exitCode = runBuild(context, buildArgs->input, buildArgs->outBase, buildArgs->encoding);
    });
}

}  // namespace tavricat::cli
