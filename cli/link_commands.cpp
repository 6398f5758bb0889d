// link translate DOC -o OUT [--sentences N] [--overwrite] [--cleanup]; link text FILE...;
// link bil DOC; link cleanup DOC -o OUT — the word-processor link without a window: the
// document is opened in LibreOffice Writer (started headless unless --visible, and ended
// afterwards when this command started it) and worked on as the window's link mode does.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/word_link_session.h"
#include "base/encoding.h"
#include "cli_context.h"
#include "commands.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

struct LinkArgs {
    std::string document;
    std::vector<std::string> files;
    std::string output;
    std::size_t sentences = static_cast<std::size_t>(-1);
    bool overwrite = false;
    bool cleanup = false;
    bool visible = false;
};

wordlink::WriterLinkOptions optionsFor(const CliContext& context, const LinkArgs& args) {
    wordlink::WriterLinkOptions options = wordlink::writerLinkOptionsFor(context.programFolder());
    if (!args.visible) options.headless = true;
    return options;
}

// Runs `work` on a connected Writer; ends Writer afterwards when this run started it.
int withWriter(WordLinkSession& session, const std::function<int()>& work) {
    Result<bool> started = session.link().connect();
    if (!started) return fail(Status::error(ErrorKind::Io, std::string(kWriterCannotStart) + "\r\n" + started.status().message()));
    const int code = work();
    if (*started) (void)session.link().quitWriter();
    else session.link().disconnect();
    return code;
}

std::string absolute(const std::string& path);

// Runs `work` with the workbench started, Writer connected and args.document open in it.
int withDocumentInWriter(const CliContext& context, const LinkArgs& args,
                         const std::function<int(Workbench&, WordLinkSession&)>& work) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        WordLinkSession session(bench, optionsFor(context, args));
        session.overwrite = args.overwrite;
        session.workMode = WorkMode::WordLink;
        return withWriter(session, [&]() -> int {
            if (Status opened = session.link().openDocument(absolute(args.document)); !opened) return fail(opened);
            return work(bench, session);
        });
    });
}

std::string absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

int runTranslate(const CliContext& context, const LinkArgs& args) {
    return withDocumentInWriter(context, args, [&](Workbench& bench, WordLinkSession& session) -> int {
        Result<std::vector<LinkedTranslation>> done = translateThroughLink(bench, session, args.sentences);
        // A link failure was told through the workbench's dialogs; anything else is told here.
        if (!done) return session.lastFailure() ? fail(done.status()) : kExitFailure;
        int cleaned = 0;
        if (args.cleanup) {
            Result<int> removed = session.cleanup();
            if (!removed) return fail(removed.status());
            cleaned = *removed;
        }
        if (Status saved = session.link().saveActiveDocument(absolute(args.output)); !saved) return fail(saved);
        (void)session.link().closeActiveDocument();
        if (context.json) {
            nlohmann::json list = nlohmann::json::array();
            for (const LinkedTranslation& one : *done)
                list.push_back({{"source", encoding::gbkToUtf8Lossy(one.source)},
                                {"translation", encoding::gbkToUtf8Lossy(one.translation)},
                                {"stored", one.outcome == ConfirmOutcome::Stored || one.outcome == ConfirmOutcome::Corrected}});
            std::cout << nlohmann::json{{"sentences", list}, {"cleaned", cleaned}, {"saved", args.output}}.dump(2) << '\n';
        } else {
            for (const LinkedTranslation& one : *done)
                std::cout << encoding::gbkToUtf8Lossy(one.source) << "\n  => " << encoding::gbkToUtf8Lossy(one.translation) << '\n';
            std::cout << done->size() << (done->size() == 1 ? " sentence" : " sentences") << " translated";
            if (args.cleanup) std::cout << ", " << cleaned << " sources removed";
            std::cout << "; saved " << args.output << '\n';
        }
        return kExitOk;
    });
}

int runText(const CliContext& context, const LinkArgs& args) {
    DiskFileSystem fs;
    TerminalDialogs dialogs(context.yes, context.no);
    TerminalProgress progress(true);
    // Only the link is needed; no workbench is started.
    wordlink::WriterLink link(optionsFor(context, args));
    Result<bool> started = link.connect();
    if (!started) return fail(Status::error(ErrorKind::Io, std::string(kWriterCannotStart) + "\r\n" + started.status().message()));
    int code = kExitOk;
    nlohmann::json texts = nlohmann::json::object();
    for (const std::string& file : args.files) {
        Result<std::string> text = link.pureText(absolute(file));
        if (!text) {
            code = fail(text.status());
            break;
        }
        if (context.json) texts[file] = encoding::gbkToUtf8Lossy(*text);
        else std::cout << encoding::gbkToUtf8Lossy(*text);
    }
    if (*started) (void)link.quitWriter();
    if (context.json && code == kExitOk) std::cout << texts.dump(2) << '\n';
    return code;
}

int runBilingualText(const CliContext& context, const LinkArgs& args) {
    return withDocumentInWriter(context, args, [&](Workbench&, WordLinkSession& session) -> int {
        Result<std::string> saved = session.saveBilingualText();
        (void)session.link().closeActiveDocument();
        if (!saved) return fail(saved.status());
        if (saved->empty()) return fail(std::string("文档名已含 .bil，未保存纯文本双语文件"));
        std::cout << "saved " << *saved << '\n';
        return kExitOk;
    });
}

int runCleanup(const CliContext& context, const LinkArgs& args) {
    return withDocumentInWriter(context, args, [&](Workbench&, WordLinkSession& session) -> int {
        Result<int> removed = session.cleanup();
        if (!removed) return fail(removed.status());
        if (Status saved = session.link().saveActiveDocument(absolute(args.output)); !saved) return fail(saved);
        (void)session.link().closeActiveDocument();
        std::cout << *removed << " sources removed; saved " << args.output << '\n';
        return kExitOk;
    });
}

}  // namespace

void registerLinkCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<LinkArgs>();
    CLI::App* link = app.add_subcommand("link", "Translate a document in LibreOffice Writer through the word-processor link");
    link->require_subcommand(1);
    link->add_flag("--visible", args->visible, "Show Writer's window (it runs headless otherwise)");

    CLI::App* translate = link->add_subcommand(
        "translate", "Take the sentences of a document one by one, translate and confirm each, write them back");
    translate->add_option("document", args->document, "The document (.docx, .odt, .doc, .rtf)")->required()->check(CLI::ExistingFile);
    translate->add_option("-o,--output", args->output, "Where to save it (the format by the extension)")->required();
    translate->add_option("--sentences", args->sentences, "At most this many sentences");
    translate->add_flag("--overwrite", args->overwrite, "Replace each source by its translation");
    translate->add_flag("--cleanup", args->cleanup, "Then remove the sources and markers");
    translate->callback([&context, args] { context.exitCode = runTranslate(context, *args); });

    CLI::App* text = link->add_subcommand("text", "Print the plain text of documents, as project analysis reads them");
    text->add_option("files", args->files, "The documents")->required()->check(CLI::ExistingFile);
    text->callback([&context, args] { context.exitCode = runText(context, *args); });

    CLI::App* bil = link->add_subcommand("bil", "Save the document's text as a plain-text bilingual file beside it");
    bil->add_option("document", args->document, "The document")->required()->check(CLI::ExistingFile);
    bil->callback([&context, args] { context.exitCode = runBilingualText(context, *args); });

    CLI::App* cleanup = link->add_subcommand("cleanup", "Remove the sources and markers of a translated document");
    cleanup->add_option("document", args->document, "The document")->required()->check(CLI::ExistingFile);
    cleanup->add_option("-o,--output", args->output, "Where to save it")->required();
    cleanup->callback([&context, args] { context.exitCode = runCleanup(context, *args); });
}

}  // namespace tavricat::cli
