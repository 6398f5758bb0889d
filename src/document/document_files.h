#pragma once
// Opening and saving documents.

#include <string>

#include "base/status.h"
#include "document/document.h"

namespace tavricat {

// The bilingual file of a source file: the same path with the extension ".bil".
std::string bilingualPathFor(const std::string& sourcePath);

// `openAfile`: loads `path` (any format of loadDocumentFile: text, RTF, .docx, .odt, .doc)
// into the source view and its bilingual file (when it exists,
// else the source again) into the bilingual view; sets the document paths; touches the
// recent-files list even when loading fails. A failed load leaves the open document as it was.
Status openAfile(Document& document, DocumentContext& context, const std::string& path);

// "打开原文": offers to save the bilingual buffer first, then asks for a file and opens it.
Status openSourceCommand(Document& document, DocumentContext& context);

// "保存双语": to the known bilingual path, else to a file chosen through the dialog.
// The modified flag is cleared only when the buffer was written.
Status saveBilingual(Document& document, DocumentContext& context);

// "保存译文...": the target-only form of the bilingual buffer, as RTF or, when the chosen
// name ends in .docx, .odt or .doc, in that format through LibreOffice.
Status saveTarget(Document& document, DocumentContext& context);
// The same to a given path (no dialog); used by the command line.
Status writeTarget(Document& document, DocumentContext& context, const std::string& path);

// "另存为...": the active view as rich text.
Status saveViewAs(Document& document, DocumentContext& context);

}  // namespace tavricat
