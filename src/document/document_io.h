#pragma once
// Reading and writing a document in any of the formats the program opens and saves, by the
// file's extension: .docx, .odt and .doc through LibreOffice (office_converter.h) and the RTF
// reader and writer; everything else as the RTF reader takes it (RTF or plain text).

#include <string>

#include "base/file_system.h"
#include "base/status.h"
#include "document/office_converter.h"
#include "document/rich_text.h"

namespace tavricat {

// The open dialogs' and the save dialog's filters for documents.
inline constexpr const char* kSourceFileFilter =
    "文本文件 (*.txt)|*.txt|Rich Text文件(*.rtf)|*.rtf|中间文件(*.imf)|*.imf|"
    "Word文件(*.docx;*.doc)|*.docx;*.doc|OpenDocument文本(*.odt)|*.odt";
inline constexpr const char* kTargetFileFilter =
    "译文文件(*.rtf)|*.rtf|Word文件(*.docx)|*.docx|OpenDocument文本(*.odt)|*.odt|Word 97文件(*.doc)|*.doc";

// Loads `path`: an office document converted to RTF by `converter` and read; an .rtf file
// the RTF reader refuses (BadInput) is given to `converter` once more, and when that fails
// too the reader's refusal is returned; any other file as loadRichTextFile reads it. The
// result is not marked modified.
Result<RichText> loadDocumentFile(FileSystem& fs, const std::string& path,
                                  OfficeConverter& converter = defaultOfficeConverter());

// Saves `text` to `path`: in the office format its extension names, converted by `converter`
// from the RTF writer's output; else as RTF. Either way an existing file is replaced only by
// a whole new one.
Status saveDocumentFile(FileSystem& fs, const std::string& path, const RichText& text,
                        OfficeConverter& converter = defaultOfficeConverter());

}  // namespace tavricat
