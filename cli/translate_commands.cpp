// translate FILE — automatic translation of a document from the current library.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <csignal>
#include <iostream>
#include <optional>

#include "app/direction_switch.h"
#include "app/document_translation.h"
#include "app/setting_rules.h"
#include "base/encoding.h"
#include "batch/auto_translation.h"
#include "app/xliff_translation.h"
#include "cli_context.h"
#include "commands.h"
#include "document/document.h"
#include "document/document_files.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

// Ctrl+C stops a run the way F6 does: at the next safe point, with the files saved.
StopRequest g_stop;

extern "C" void requestStop(int) { g_stop.request(); }

class InterruptStops {
public:
    InterruptStops() {
        g_stop.clear();
        m_previous = std::signal(SIGINT, requestStop);
    }
    ~InterruptStops() { std::signal(SIGINT, m_previous); }
    InterruptStops(const InterruptStops&) = delete;
    InterruptStops& operator=(const InterruptStops&) = delete;

private:
    void (*m_previous)(int) = SIG_DFL;
};

struct TranslateArgs {
    std::string file;
    std::string output;  // -o, for XLIFF
    std::optional<int> rate;
    std::string fallback;  // copy | keep | mt
    bool spaceInHan = false;
};

bool isXliff(const std::string& path) {
    const std::string lower = [&] {
        std::string l = path;
        for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return l;
    }();
    for (const char* extension : {".xlf", ".xliff"}) {
        const std::string e = extension;
        if (lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0) return true;
    }
    return false;
}

// An XLIFF file of another tool: targets from the library (or the machine translation), the
// rest of the file kept.
int runXliff(const CliContext& context, const TranslateArgs& args) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        if (args.rate) bench.settings.matchrate = *args.rate;
        const std::string output = args.output.empty() ? args.file : args.output;
        Result<XliffCounts> counts = translateXliffFile(bench, args.file, output, args.fallback == "mt");
        if (!counts) return fail(counts.status());
        if (context.json) {
            std::cout << nlohmann::json{{"units", counts->units}, {"exact", counts->exact}, {"fuzzy", counts->fuzzy},
                                        {"machine", counts->machine}, {"left", counts->left}, {"skipped", counts->skipped},
                                        {"kept", counts->kept},
                                        {"saved", output}}
                             .dump(2)
                      << '\n';
        } else {
            std::cout << counts->units << " units: " << counts->exact << " exact, " << counts->fuzzy << " fuzzy, "
                      << counts->machine << " machine translated, " << counts->left << " left, " << counts->skipped
                      << " skipped, " << counts->kept << " translated before; saved " << output << '\n';
        }
        return kExitOk;
    });
}

int runTranslate(const CliContext& context, const TranslateArgs& args) {
    if (args.rate && (*args.rate < kMatchRateMin || *args.rate > kMatchRateMax)) {
        std::cerr << "--rate must lie between " << kMatchRateMin << " and " << kMatchRateMax << "\n";
        return kExitUsage;
    }
    if (isXliff(args.file)) return runXliff(context, args);
    return withWorkbenchAndDialogs(context, [&](Workbench& bench, TerminalDialogs& dialogs) -> int {
        // The options are the settings themselves, as the option dialog stores them.
        Settings edited = bench.settings;
        if (args.rate) edited.matchrate = *args.rate;
        if (args.fallback == "copy") edited.userefmode = 1;
        if (args.fallback == "keep") edited.userefmode = 2;
        if (args.fallback == "mt") edited.userefmode = 3;
        if (args.spaceInHan) edited.SpaceInHanChar = true;
        bench.changeSettings(edited);

        Document document;
        DocumentContext files{bench.fs(), bench.dialogs(), bench.progress(), bench.workspace().programFolder(),
                              [&bench](const std::string& path) { bench.recentFiles.touch(path); }};
        if (Status opened = openAfile(document, files, args.file); !opened) return fail(opened);
        document.bilingual.setCaret(0);

        Direction switchTo = bench.direction();
        Result<AutoTranslationCounts> counts = [&] {
            InterruptStops interrupts;
            // The direction question goes to the person; with nobody to answer, the run stops.
            dialogs.askThePerson([] { g_stop.request(); });
            return translateDocument(bench, bench.sentenceLibrary, document.bilingual, g_stop,
                                     [&switchTo](Direction to) { switchTo = to; });
        }();
        // Whatever was written is kept, also after a failure or a stop.
        if (Status saved = saveBilingual(document, files); !saved) return fail(saved);
        if (!counts) return fail(counts.status());
        if (!dialogs.unanswered().empty()) {
            std::cerr << encoding::gbkToUtf8Lossy(dialogs.unanswered()) << '\n'
                      << "translate: the text does not fit the direction " << directionTag(bench.direction())
                      << "; give --yes to switch the direction, or --no to translate it in this direction\n";
            return kExitUsage;
        }
        if (counts->directionSwitched) {
            // The run has ended and no longer holds the engine: the direction may change now.
            if (!switchDirection(bench, switchTo)) return kExitFailure;  // the failure was told
            std::cout << "direction switched to " << directionTag(bench.direction())
                      << "; run translate again to translate " << args.file << '\n';
            return kExitOk;
        }

        if (context.json) {
            std::cout << nlohmann::json{{"file", document.bilingualPath}, {"sentences", counts->sentences},
                                        {"memory", counts->fromMemory}, {"fallback", counts->fromFallback},
                                        {"unchanged", counts->leftAsIs}, {"kept", counts->kept},
                                        {"stopped", counts->stopped}}
                             .dump(2)
                      << '\n';
        } else {
            std::cout << "translated " << counts->sentences << " sentences"
                      << (counts->stopped ? " (stopped)" : "") << ": " << counts->fromMemory << " from the memory, "
                      << counts->fromFallback << " by the fallback, " << counts->leftAsIs << " left as they were";
            if (counts->kept) std::cout << "; " << counts->kept << " segments already translated kept";
            std::cout << "\nsaved " << document.bilingualPath << '\n';
        }
        return kExitOk;
    });
}

}  // namespace

void registerTranslateCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<TranslateArgs>();
    CLI::App* translate = app.add_subcommand("translate", "Translate a document automatically from the current library");
    translate->add_option("file", args->file, "The document: .txt, .rtf, .docx, .odt, .doc (its .bil is opened when it exists), or an XLIFF file (.xlf)")->required();
    translate->add_option("--rate", args->rate, "Lowest match rate in percent (matchrate, 50..100)");
    translate->add_option("--fallback", args->fallback, "Below the rate: copy the source, keep the sentence, or mt")
        ->check(CLI::IsMember({"copy", "keep", "mt"}));
    translate->add_flag("--space-in-han", args->spaceInHan, "Blanks between Chinese characters of the translations");
    translate->add_option("-o,--output", args->output, "For an XLIFF file: where to write it (default: over it)");
    translate->callback([&context, args] { context.exitCode = runTranslate(context, *args); });
}

}  // namespace tavricat::cli
