// segment FILE; doc target FILE.bil -o OUT.rtf|OUT.docx|OUT.odt; doc pairs FILE.bil -o OUT.exs

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/library_files.h"
#include "app/settings.h"
#include "app/workspace.h"
#include "base/encoding.h"
#include "base/line_list.h"
#include "base/list_order.h"
#include "cli_context.h"
#include "commands.h"
#include "document/document_files.h"
#include "document/document_io.h"
#include "document/markup_check.h"
#include "document/rtf_reader.h"
#include "document/sentence_getters.h"
#include "document/target_conversion.h"

namespace tavricat::cli {

namespace {

// The settings and lists a sentence getter consults, read without starting the workbench.
struct SegmentingSetup {
    Direction direction = Direction::EC;
    BreakOptions breaks;
    LineList abbreviations;
    LineList termKeys;
};

SegmentingSetup readSegmentingSetup(const CliContext& context) {
    DiskFileSystem fs;
    SegmentingSetup setup;
    Settings settings;
    if (Result<SettingsStore> store = SettingsStore::open(fs, context.settingsPath())) settings = readSettings(*store);
    setup.direction = context.direction().value_or(directionFromCtoe(settings.ctoe));
    setup.breaks = {settings.TABkeyStop, settings.CLStop, settings.tagStop};
    Workspace workspace(fs, context.programFolder());
    if (Result<LineList> list = loadLines(fs, workspace.programFile("slAbv.ini"))) setup.abbreviations = std::move(*list);
    // The term base start-up would open: the configured one, else the direction's default.
    const std::string termBase = libraryNameInUse(workspace, LibraryKind::TermBase, setup.direction, settings.curZyname);
    if (Result<LineList> keys = loadLines(fs, workspace.userDataFile(termBase + ".01"))) setup.termKeys = std::move(*keys);
    if (!isListOrdered(setup.abbreviations)) sortWithParallel(setup.abbreviations, {});
    if (!isListOrdered(setup.termKeys)) sortWithParallel(setup.termKeys, {});
    return setup;
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

int runSegment(const CliContext& context, const std::string& path) {
    DiskFileSystem fs;
    Result<RichText> loaded = loadDocumentFile(fs, path);
    if (!loaded) return fail(loaded.status());
    RichText& buffer = *loaded;
    const SegmentingSetup setup = readSegmentingSetup(context);
    SortedListsLookup abbreviations({&setup.abbreviations, &setup.termKeys});
    nlohmann::json sentences = nlohmann::json::array();
    std::string out;
    buffer.setCaret(0);
    while (buffer.caret() < buffer.size()) {
        const std::size_t before = buffer.caret();
        SentencePick pick = setup.direction == Direction::CE ? getASentCE(buffer, setup.breaks)
                                                              : getASentEC(buffer, setup.breaks, abbreviations);
        if (pick.sentence.empty()) break;
        if (context.json) sentences.push_back(encoding::gbkToUtf8Lossy(pick.sentence));
        else out += encoding::gbkToUtf8Lossy(oneLine(pick.sentence)) + '\n';
        buffer.setCaret(buffer.selStart() + buffer.selLength());
        if (buffer.caret() <= before) buffer.setCaret(before + 1);  // always move on
    }
    if (context.json) std::cout << sentences.dump(2) << '\n';
    else std::cout << out;
    return kExitOk;
}

// Loads a bilingual file and refuses it when its segments are broken.
Result<RichText> loadCheckedBilingual(const std::string& path) {
    DiskFileSystem fs;
    Result<RichText> loaded = loadRichTextFile(fs, path);
    if (!loaded) return loaded;
    std::vector<MarkupProblem> problems = checkMarkup(loaded->text());
    if (problems.empty()) return loaded;
    std::string message = "双语文件的句段标记有错误，未写入任何文件：";
    for (const MarkupProblem& problem : problems) message += "\r\n" + problem.message;
    return Status::error(ErrorKind::BadInput, message);
}

int runTarget(const CliContext& context, const std::string& path, const std::string& output) {
    Result<RichText> bilingual = loadCheckedBilingual(path);
    if (!bilingual) return fail(bilingual.status());
    DiskFileSystem fs;
    TerminalDialogs dialogs(context.yes, context.no);
    TerminalProgress progress(true);
    DocumentContext documentContext{fs, dialogs, progress, context.programFolder(), {}};
    Document document;
    document.bilingual = std::move(*bilingual);
    document.bilingualPath = path;
    if (!writeTarget(document, documentContext, output)) return kExitFailure;  // told already
    std::cout << output << '\n';
    return kExitOk;
}

int runPairs(const CliContext& context, const std::string& path, const std::string& output) {
    Result<RichText> bilingual = loadCheckedBilingual(path);
    if (!bilingual) return fail(bilingual.status());
    PairExtraction extracted = extractSentencePairs(*bilingual);
    DiskFileSystem fs;
    if (Status written = replaceLines(fs, output, extracted.pairs); !written) return fail(written);
    if (context.json) std::cout << nlohmann::json{{"file", output}, {"pairs", extracted.pairs.size()}}.dump() << '\n';
    else std::cout << extracted.pairs.size() << " pairs -> " << output << '\n';
    return kExitOk;
}

}  // namespace

void registerDocumentCommands(CLI::App& app, CliContext& context) {
    auto segmentFile = std::make_shared<std::string>();
    CLI::App* segment = app.add_subcommand("segment", "Print the sentences of a text, RTF or office (.docx, .odt, .doc) document, one per line");
    segment->add_option("file", *segmentFile)->required();
    segment->callback([&context, segmentFile] { context.exitCode = runSegment(context, *segmentFile); });

    CLI::App* doc = app.add_subcommand("doc", "Files derived from a bilingual document");
    doc->require_subcommand(1);
    auto targetArgs = std::make_shared<std::pair<std::string, std::string>>();
    CLI::App* target = doc->add_subcommand("target", "Write the target-only document as RTF, .docx, .odt or .doc (by the output's extension)");
    target->add_option("file", targetArgs->first, "The bilingual file (.bil)")->required();
    target->add_option("-o,--output", targetArgs->second, "The file to write (.rtf; .docx, .odt, .doc through LibreOffice)")->required();
    target->callback([&context, targetArgs] {
        context.exitCode = runTarget(context, targetArgs->first, targetArgs->second);
    });
    auto pairArgs = std::make_shared<std::pair<std::string, std::string>>();
    CLI::App* pairs = doc->add_subcommand("pairs", "Write the sentence pairs, one source^target line each");
    pairs->add_option("file", pairArgs->first, "The bilingual file (.bil)")->required();
    pairs->add_option("-o,--output", pairArgs->second, "The pair list to write (.exs)")->required();
    pairs->callback([&context, pairArgs] { context.exitCode = runPairs(context, pairArgs->first, pairArgs->second); });
}

}  // namespace tavricat::cli
