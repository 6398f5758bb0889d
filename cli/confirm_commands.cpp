// confirm FILE.bil --sentence N --translation T — confirms a translation of one sentence as
// the window's confirm does, without a window: the sentence is taken and translated
// interactively (so that the state the confirmation reads exists), the translation box holds
// T, the confirmation stores the pair and writes the target into the document; then the
// document is saved and the shutdown saves the library. A failure before the document is
// saved leaves both files as they were.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cmath>
#include <iostream>

#include "app/numbered_sentence_confirmation.h"
#include "app/sentence_library_switch.h"
#include "base/encoding.h"
#include "base/gbk.h"
#include "cli_context.h"
#include "commands.h"
#include "document/document.h"
#include "document/document_files.h"
#include "memory/fuzzy_search.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

struct ConfirmArgs {
    std::string file;
    long long sentence = 0;
    std::string translation;
};

const char* outcomeName(ConfirmOutcome outcome) {
    switch (outcome) {
        case ConfirmOutcome::Stored: return "stored";
        case ConfirmOutcome::Corrected: return "corrected";
        default: return "not stored";
    }
}

int runConfirm(const CliContext& context, const ConfirmArgs& args) {
    Result<std::string> translation = encoding::utf8ToGbk(args.translation);
    if (!translation) return fail(translation.status());
    if (gbk::trim(*translation).empty()) {
        std::cerr << "confirm: the translation is empty\n";
        return kExitUsage;
    }

    return withWorkbench(context, [&](Workbench& bench) -> int {
        Document document;
        DocumentContext files{bench.fs(), bench.dialogs(), bench.progress(), bench.workspace().programFolder(),
                              [&bench](const std::string& path) { bench.recentFiles.touch(path); }};
        if (Status opened = openAfile(document, files, args.file); !opened) return kExitFailure;  // told

        const std::size_t count = countSentences(bench, document.bilingual);
        if (args.sentence < 1 || static_cast<unsigned long long>(args.sentence) > count) {
            std::cerr << "confirm: there is no sentence " << args.sentence << ": " << args.file << " has " << count
                      << (count == 1 ? " sentence" : " sentences") << '\n';
            return kExitFailure;
        }

        Result<NumberedConfirmation> confirmed = confirmNumberedSentence(
            bench, document.bilingual, static_cast<std::size_t>(args.sentence), *translation);
        // Until the document is saved, a failure leaves the libraries as their files hold them.
        auto abandon = [&bench](const Status& status) {
            if (!restoreLibs(bench)) bench.sentenceLibrary.holdBackFromSaving();
            return status.message().empty() ? kExitFailure : fail(status);
        };
        if (!confirmed) return abandon(confirmed.status());
        if (Status saved = saveBilingual(document, files); !saved) return abandon(Status::error(ErrorKind::Io, ""));

        const bool rated = confirmed->exampleRate != kNoExampleRate;
        const long rate = std::lround(confirmed->exampleRate * 100);
        if (context.json) {
            std::cout << nlohmann::json{{"file", document.bilingualPath},
                                        {"sentence", args.sentence},
                                        {"source", encoding::gbkToUtf8Lossy(confirmed->sentence)},
                                        {"outcome", outcomeName(confirmed->outcome)},
                                        {"example", confirmed->example ? nlohmann::json(*confirmed->example) : nlohmann::json()},
                                        {"rate", rated ? nlohmann::json(rate) : nlohmann::json()},
                                        {"revised", confirmed->revised}}
                             .dump(2)
                      << '\n';
        } else {
            std::cout << "sentence " << args.sentence << ": " << encoding::gbkToUtf8Lossy(confirmed->sentence) << '\n';
            switch (confirmed->outcome) {
                case ConfirmOutcome::Stored: std::cout << "stored as example " << *confirmed->example; break;
                case ConfirmOutcome::Corrected: std::cout << "corrected the used 100% example " << *confirmed->example; break;
                default: std::cout << "not stored in the library"; break;
            }
            std::cout << "; example rate: ";
            if (rated) std::cout << rate << "%\n";
            else std::cout << "none\n";
            std::cout << (confirmed->revised ? "replaced the translation; saved " : "saved ") << document.bilingualPath
                      << '\n';
        }
        return kExitOk;
    });
}

}  // namespace

void registerConfirmCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<ConfirmArgs>();
    CLI::App* confirm = app.add_subcommand(
        "confirm", "Confirm a translation of one sentence of a bilingual document: into the library and the document");
    confirm->add_option("file", args->file, "The bilingual document (.bil)")->required();
    confirm->add_option("--sentence", args->sentence, "The sentence, counted from 1 as `segment` lists them")
        ->required();
    confirm->add_option("--translation", args->translation, "The confirmed translation")->required();
    confirm->callback([&context, args] { context.exitCode = runConfirm(context, *args); });
}

}  // namespace tavricat::cli
