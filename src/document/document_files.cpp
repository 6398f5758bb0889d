#include "document/document_files.h"

#include <filesystem>

#include "base/encoding.h"
#include "base/gbk.h"
#include "document/document_io.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "document/target_conversion.h"

namespace tavricat {

namespace {

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    return gbk::asciiLower(text.substr(text.size() - suffix.size())) == suffix;
}

// Writes a buffer as rich text; a failure is told to the person and returned.
Status writeBuffer(DocumentContext& context, const std::string& path, const RichText& buffer) {
    Status saved = saveRichTextFile(context.fs, path, buffer);
    if (!saved) context.dialogs.message(saved.message());
    return saved;
}

// Writes the target in the format its name asks for (RTF, or an office format through
// LibreOffice); a failure is told to the person and returned.
Status writeTargetDocument(DocumentContext& context, const std::string& path, const RichText& buffer) {
    Status saved = saveDocumentFile(context.fs, path, buffer);
    if (!saved) context.dialogs.message(saved.message());
    return saved;
}

bool namesTargetFormat(const std::string& path) {
    return endsWithNoCase(path, ".rtf") || isOfficeDocument(path);
}

}  // namespace

std::string bilingualPathFor(const std::string& sourcePath) {
    return std::filesystem::path(sourcePath).replace_extension(".bil").string();
}

Status openAfile(Document& document, DocumentContext& context, const std::string& path) {
    context.progress.show("正在打开文件,请稍候...", 100, 0);
    const std::string bilingualPath = bilingualPathFor(path);
    Status outcome;
    Result<RichText> source = loadDocumentFile(context.fs, path);
    if (!source) {
        outcome = source.status();
    } else {
        const bool haveBilingual = context.fs.exists(bilingualPath);
        Result<RichText> bilingual = haveBilingual ? loadRichTextFile(context.fs, bilingualPath) : source;
        if (!bilingual) {
            outcome = bilingual.status();
        } else {
            // Both loaded: only now does the open document give way.
            document.source = std::move(*source);
            document.source.setAlwaysEditable(true);
            document.source.setCaret(0);
            document.source.setModified(false);
            document.bilingual = std::move(*bilingual);
            document.bilingual.setAlwaysEditable(false);
            document.bilingual.setCaret(0);
            document.bilingual.setModified(false);
            // A document opened afresh has nothing to undo.
            document.source.clearHistory();
            document.bilingual.clearHistory();
            document.target.clear();
            document.target.setModified(false);
            document.currentPath = path;
            document.bilingualPath = bilingualPath;
            document.activeView = DocumentView::Bilingual;
        }
    }
    context.progress.hide();
    if (context.touchRecent) context.touchRecent(path);
    if (!outcome) context.dialogs.message(outcome.message());
    // Opened, but not whole: the translator must know before translating and delivering it.
    if (outcome && document.source.replacedCharacters() > 0)
        context.dialogs.message("文档中有 " + std::to_string(document.source.replacedCharacters()) +
                                " 个字符无法用 GBK 表示，已显示为“?”；译文中这些字符将丢失。");
    return outcome;
}

Status openSourceCommand(Document& document, DocumentContext& context) {
    if (!document.bilingual.empty() && !document.bilingualPath.empty() && context.dialogs.askYesNo("保存双语文件吗?")) {
        if (Status saved = writeBuffer(context, document.bilingualPath, document.bilingual); !saved) return saved;
        document.bilingual.setModified(false);
    }
    std::optional<std::string> path = context.dialogs.chooseOpenFile("打开原文", kSourceFileFilter);
    if (!path) return Status::error(ErrorKind::Refused, "");
    return openAfile(document, context, *path);
}

Status saveBilingual(Document& document, DocumentContext& context) {
    if (!document.bilingualPath.empty()) {
        Status saved = writeBuffer(context, document.bilingualPath, document.bilingual);
        if (saved) document.bilingual.setModified(false);
        return saved;
    }
    std::optional<std::string> chosen = context.dialogs.chooseSaveFile("保存双语译文", "双语文件(*.bil)|*.bil", "");
    if (!chosen) return Status::error(ErrorKind::Refused, "");
    std::string path = *chosen;
    if (!context.fs.exists(path) && path.find(".bil") == std::string::npos) path += ".bil";
    // Asked also when the name became an existing file by the added extension.
    if (context.fs.exists(path) && !context.dialogs.askYesNo("本文件已存在，要替换吗?"))
        return Status::error(ErrorKind::Refused, "");
    Status saved = writeBuffer(context, path, document.bilingual);
    if (!saved) return saved;
    document.bilingualPath = path;
    document.bilingual.setModified(false);
    return saved;
}

Status writeTarget(Document& document, DocumentContext& context, const std::string& path) {
    if (!document.bilingualPath.empty() && path == document.bilingualPath) {
        // The target alone would replace the translator's bilingual file.
        Status refused = Status::error(ErrorKind::Refused, "译文文件不能与双语文件同名: " + encoding::utf8ToGbkLossy(path));
        context.dialogs.message(refused.message());
        return refused;
    }
    const std::size_t selStart = document.bilingual.selStart(), selLength = document.bilingual.selLength();
    document.target = document.bilingual.copyRange(0, document.bilingual.size());
    document.target.setAlwaysEditable(true);
    document.bilingual.select(selStart, selLength);
    cleanup(document.target, &context.progress);
    return writeTargetDocument(context, path, document.target);
}

Status saveTarget(Document& document, DocumentContext& context) {
    std::optional<std::string> chosen = context.dialogs.chooseSaveFile("保存译文", kTargetFileFilter, "");
    if (!chosen) return Status::error(ErrorKind::Refused, "");
    std::string path = *chosen;
    if (!namesTargetFormat(path)) path += ".rtf";
    return writeTarget(document, context, path);
}

Status saveViewAs(Document& document, DocumentContext& context) {
    const char* title = document.activeView == DocumentView::Target   ? "另存译文为"
                        : document.activeView == DocumentView::Source ? "另存原文为"
                                                                      : "另存双语为";
    std::optional<std::string> chosen = context.dialogs.chooseSaveFile(title, "Rich text文件(*.rtf)|*.rtf", "");
    if (!chosen) return Status::error(ErrorKind::Refused, "");
    std::string path = *chosen;
    if (!endsWithNoCase(path, ".rtf")) path += ".rtf";
    const RichText& view = document.activeView == DocumentView::Target   ? document.target
                           : document.activeView == DocumentView::Source ? document.source
                                                                         : document.bilingual;
    return writeBuffer(context, path, view);
}

}  // namespace tavricat
