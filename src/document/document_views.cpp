#include "document/document_views.h"

#include "base/gbk.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "document/target_conversion.h"

namespace tavricat {

namespace {

Status deriveTarget(Document& document, DocumentContext& context) {
    const std::string scratch = joinPath(context.programFolder, "$tempfile.tmp");
    if (Status saved = saveRichTextFile(context.fs, scratch, document.bilingual); !saved) return saved;
    Result<RichText> loaded = loadRichTextFile(context.fs, scratch);
    if (!loaded) return loaded.status();
    document.target = std::move(*loaded);
    document.target.setAlwaysEditable(true);
    cleanup(document.target, &context.progress);
    document.target.setCaret(0);
    document.target.setModified(false);
    return Status::ok();
}

}  // namespace

Status changeView(Document& document, DocumentContext& context, DocumentView to) {
    if (document.activeView == to) return Status::ok();
    if (document.activeView == DocumentView::Target) document.target.clear();
    document.activeView = to;
    if (to == DocumentView::Source) document.source.setCaret(0);
    if (to != DocumentView::Target) return Status::ok();
    // Checking for blank text without copying a long document: the first byte above blank.
    bool blank = true;
    for (std::size_t i = 0; i < document.bilingual.size() && blank; ++i)
        if (document.bilingual.byteAt(i) > 0x20) blank = false;
    if (blank) return Status::ok();
    context.progress.setCaption("提示");
    context.progress.show("正在处理，请稍候...", 100, 0);
    Status derived = deriveTarget(document, context);
    context.progress.hide();
    if (!derived) context.dialogs.message(derived.message());
    return derived;
}

bool replaceBilingualBySource(Document& document, DocumentContext& context) {
    if (!context.dialogs.askYesNo("现有双语文件将被清空,继续吗?")) return false;
    RichText::ProgramEdit edit(document.bilingual);
    document.bilingual.clear();
    document.bilingual.appendFrom(document.source, 0, document.source.size());
    document.bilingual.setCaret(0);
    document.source.setCaret(0);
    return true;
}

}  // namespace tavricat
