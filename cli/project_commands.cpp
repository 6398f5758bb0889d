// analyse-project FILES... — project analysis and comparison against the current library,
// with the result exports run before the analysis is closed (closing drops its marks).

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "base/encoding.h"
#include "app/project_analysis_context.h"
#include "app/word_link_session.h"
#include "batch/project_analysis.h"
#include "batch/project_exports.h"
#include "cli_context.h"
#include "commands.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

struct ProjectArgs {
    std::vector<std::string> files;
    std::vector<std::string> oldFiles;  // --compare
    int limit = kDefaultLowerLimit;
    std::string log;
    std::string exportRepeats;
    long minRepeats = 2;
    std::string exportNew;
    std::string exportExamples;
    std::string exportTerms;
    bool viaWriter = false;  // --writer
};

void printFigures(const AnalysisOutcome& outcome) {
    for (const std::string& line : outcome.totalBlock) printLine(line);
    const AnalysisFigures& f = outcome.figures;
    printLine("匹配句子:" + std::to_string(f.matchedSentences) + "  句子总数:" + std::to_string(f.allSentences) +
              "  匹配比例:" + f.sentenceRatio + "%");
    printLine("匹配单词:" + std::to_string(f.matchedWords) + "  单词总数:" + std::to_string(f.allWords) +
              "  匹配比例:" + f.wordRatio + "%");
    std::cout << "log: " << outcome.logPath << '\n';
}

// Runs the exports asked for; false when one of them failed (its message printed).
bool runExports(Workbench& bench, const ProjectAnalysis& analysis, const ProjectArgs& args) {
    const SentenceLibrary& library = bench.sentenceLibrary;
    bool ok = true;
    auto write = [&](const std::string& path, const LineList& lines, const char* extension, std::size_t count) {
        Result<std::string> written = writeExport(bench.fs(), path, lines, extension);
        if (!written) {
            fail(written.status());
            ok = false;
            return;
        }
        printLine(exportedCountMessage(count));
        std::cout << "written: " << *written << '\n';
    };
    if (!args.exportRepeats.empty()) {
        const LineList lines = repeatedNewSentences(library, args.minRepeats);
        write(args.exportRepeats, lines, "txt", lines.size() / 2);
    }
    if (!args.exportNew.empty()) {
        Result<LineList> lines = unmatchedSentences(library, args.limit);
        if (!lines) {
            fail(lines.status());
            ok = false;
        } else {
            write(args.exportNew, *lines, "txt", lines->size() / 2);
        }
    }
    if (!args.exportExamples.empty()) {
        const LineList lines = projectExamples(library);
        write(args.exportExamples, lines, "exs", lines.size());
    }
    if (!args.exportTerms.empty()) {
        Result<std::string> name = encoding::utf8ToGbk(args.exportTerms);
        if (!name) {
            fail(name.status());
            return false;
        }
        LibraryInfo info{*name, "", *name, {}};
        Result<std::string> created =
            exportProjectTermBase(bench.fs(), bench.workspace().userDataFolder(), info, analysis.words());
        if (!created) {
            fail(created.status());
            return false;
        }
        printLine(kProjectTermBaseExported);
        std::cout << "term base: " << *created << " (" << analysis.words().keys().size() << " words)\n";
    }
    return ok;
}

int runAnalyseProject(const CliContext& context, const ProjectArgs& args) {
    // Refused before anything runs, as the window's box refuses it.
    if (Status repeats = checkMinRepeats(args.minRepeats); !repeats) return fail(repeats);
    return withWorkbench(context, [&](Workbench& bench) -> int {
        // --writer: office documents are read through a Writer link (one Writer for all of
        // them) instead of a converter run per document.
        std::unique_ptr<wordlink::WriterLink> writer;
        bool startedWriter = false;
        if (args.viaWriter) {
            wordlink::WriterLinkOptions options = wordlink::writerLinkOptionsFor(context.programFolder());
            options.headless = true;
            writer = std::make_unique<wordlink::WriterLink>(options);
            Result<bool> started = writer->connect();
            if (!started) return fail(Status::error(ErrorKind::Io, std::string(kWriterCannotStart) + "\r\n" + started.status().message()));
            startedWriter = *started;
            bench.linkedOfficeText = [&writer](const std::string& path) { return writer->pureText(path); };
        }
        struct EndWriter {
            std::unique_ptr<wordlink::WriterLink>& link;
            bool started;
            Workbench& bench;
            ~EndWriter() {
                bench.linkedOfficeText = nullptr;
                if (link && started) (void)link->quitWriter();
            }
        } endWriter{writer, startedWriter, bench};
        ProjectAnalysis analysis(projectAnalysisContext(bench));
        if (!analysis.open()) return kExitFailure;  // the save failure was shown
        const std::string log = !args.log.empty() ? args.log : bench.settings.logfileName;
        Result<AnalysisOutcome> outcome = args.oldFiles.empty()
                                              ? analysis.analyse(args.files, args.limit, log)
                                              : analysis.compare(args.files, args.oldFiles, args.limit, log);
        if (!outcome) {
            (void)analysis.close();  // the command fails anyway; a failed read back was shown
            return kExitFailure;  // the refusal was shown
        }
        printFigures(*outcome);
        const bool exported = runExports(bench, analysis, args);
        // The library read back from its files: the analysis's marks go.
        if (!analysis.close()) return kExitFailure;
        if (!outcome->unreadableFiles.empty()) return kExitFailure;
        return exported ? kExitOk : kExitFailure;
    });
}

}  // namespace

void registerProjectCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<ProjectArgs>();
    CLI::App* command = app.add_subcommand(
        "analyse-project", "Measure how much of a set of files the current sentence library covers");
    command->add_option("files", args->files, "The project's files (.txt, .rtf, .docx, .odt, .doc); with --compare the new files")
        ->required();
    command->add_option("--compare", args->oldFiles, "Count the sentences of FILES found unchanged in these files");
    command->add_flag("--writer", args->viaWriter, "Read office documents through a LibreOffice Writer link");
    // Checked by the analysis itself, which refuses a limit outside 30..100 with its message.
    command->add_option("--limit", args->limit, "Lower limit of a fuzzy match, in percent (30..100, default 80)");
    command->add_option("--log", args->log, "Log file the report is appended to (default DaDurLog.txt)");
    command->add_option("--export-repeats", args->exportRepeats, "Write the new sentences that repeat to FILE.txt");
    command->add_option("--min-repeats", args->minRepeats, "How often a new sentence must occur for --export-repeats");
    command->add_option("--export-new", args->exportNew, "Write the unmatched sentences to FILE.txt");
    command->add_option("--export-examples", args->exportExamples, "Write the library examples used to FILE.exs");
    command->add_option("--export-terms", args->exportTerms, "Create term base NAME from the project's words");
    command->callback([&context, args] { context.exitCode = runAnalyseProject(context, *args); });
}

}  // namespace tavricat::cli
