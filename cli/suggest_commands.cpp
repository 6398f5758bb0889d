// suggest TEXT: what the interactive translation offers for one sentence -- its words with
// their first meanings and shortcut letters, the best example with its rate and differences,
// the grammar patterns and the first version of the translation.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/sentence_translation_setup.h"
#include "base/encoding.h"
#include "interactive/sentence_acquisition.h"
#include "interactive/sentence_state.h"
#include "cli_context.h"
#include "commands.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

// Page 0 of the shortcut letters: the first 26 tokens get a..z.
std::string shortcutOf(std::size_t token) { return token < 26 ? std::string(1, static_cast<char>('a' + token)) : ""; }

std::string pathName(ExamplePath path) {
    switch (path) {
        case ExamplePath::Full: return "full";
        case ExamplePath::Fuzzy: return "fuzzy";
        case ExamplePath::None: break;
    }
    return "none";
}

std::string rangeText(const ReferenceDisplay& reference, const ColouredRange& range) {
    return range.line < reference.lines.size() ? reference.lines[range.line].substr(range.start, range.length) : "";
}

void printJson(const SentenceTranslation& result, const SentenceState& state) {
    nlohmann::json tokens = nlohmann::json::array();
    for (std::size_t i = 0; i < result.tokens.size(); ++i) {
        const SentenceToken& token = result.tokens[i];
        tokens.push_back({{"shortcut", shortcutOf(i)}, {"word", utf8(token.word)}, {"meaning", utf8(token.meaning)},
                          {"differs", token.differs}});
    }
    nlohmann::json ranges = nlohmann::json::array();
    for (const ColouredRange& range : result.reference.ranges)
        ranges.push_back({{"line", range.line}, {"start", range.start}, {"length", range.length},
                          {"colour", range.colour == ReferenceColour::Blue ? "blue" : "red"}, {"bold", range.bold},
                          {"underline", range.underline}, {"text", utf8(rangeText(result.reference, range))}});
    nlohmann::json lines = nlohmann::json::array();
    for (const std::string& line : result.reference.lines) lines.push_back(utf8(line));
    nlohmann::json grammar = nlohmann::json::array();
    for (const std::string& line : result.grammarLines) grammar.push_back(utf8(line));
    const bool usable = result.path != ExamplePath::None;
    nlohmann::json out = {{"tokens", tokens},
                          {"example", {{"path", pathName(result.path)},
                                       {"rate", usable ? nlohmann::json(std::lround(result.ExampleRate * 100)) : nlohmann::json()},
                                       {"index", state.exampleUsed ? nlohmann::json(state.exampleIndex) : nlohmann::json()},
                                       {"lines", lines},
                                       {"ranges", ranges}}},
                          {"grammar", grammar},
                          {"head", utf8(result.commonCharacterHead)},
                          {"translation", utf8(result.translationBox)}};
    std::cout << out.dump(2) << '\n';
}

void printText(const SentenceTranslation& result) {
    std::cout << "words:\n";
    for (std::size_t i = 0; i < result.tokens.size(); ++i) {
        const SentenceToken& token = result.tokens[i];
        const std::string letter = shortcutOf(i);
        std::cout << "  " << (letter.empty() ? " " : letter) << (token.differs ? " * " : "   ") << utf8(token.word)
                  << "  " << utf8(token.meaning) << '\n';
    }
    if (result.reference.empty()) {
        std::cout << "example: none\n";
    } else {
        std::cout << "example:\n";
        for (const std::string& line : result.reference.lines) std::cout << "  " << utf8(line) << '\n';
        for (const ColouredRange& range : result.reference.ranges) {
            std::cout << "  " << (range.colour == ReferenceColour::Blue ? "rate" : "differs") << " line "
                      << range.line + 1 << " bytes " << range.start << "+" << range.length << ": "
                      << utf8(rangeText(result.reference, range)) << '\n';
        }
    }
    if (!result.grammarLines.empty()) {
        std::cout << "grammar:\n";
        for (const std::string& line : result.grammarLines) std::cout << "  " << utf8(line) << '\n';
    }
    if (!result.commonCharacterHead.empty()) std::cout << "fixed words: " << utf8(result.commonCharacterHead) << '\n';
    std::cout << "translation: " << utf8(result.translationBox) << '\n';
}

int runSuggest(const CliContext& context, const std::string& text) {
    Result<std::string> sentence = encoding::utf8ToGbk(text);
    if (!sentence) return fail(sentence.status());
    return withReadOnlyWorkbench(context, [&](Workbench& bench) -> int {
        switch (checkSentence(*sentence, bench.direction(), bench.dialogs())) {
            case AcquisitionOutcome::Refused: return kExitFailure;  // the message has been shown
            case AcquisitionOutcome::SwitchDirection:
                std::cerr << "the sentence is in the other direction: run again with --direction "
                          << (bench.direction() == Direction::EC ? "ce" : "ec") << '\n';
                return kExitFailure;
            case AcquisitionOutcome::Sentence: break;
        }
        SentenceTranslationSetup setup(bench);
        SentenceState& state = bench.sentenceState;
        state.reset(false);
        const SentenceTranslation result = translateText(setup.context(), state, *sentence, ViewInput{});
        if (context.json) printJson(result, state);
        else printText(result);
        return kExitOk;
    });
}

}  // namespace

void registerSuggestCommands(CLI::App& app, CliContext& context) {
    auto text = std::make_shared<std::string>();
    CLI::App* suggest = app.add_subcommand(
        "suggest", "What interactive translation offers for one sentence: words, best example, first version");
    suggest->add_option("text", *text)->required();
    suggest->callback([&context, text] { context.exitCode = runSuggest(context, *text); });
}

}  // namespace tavricat::cli
