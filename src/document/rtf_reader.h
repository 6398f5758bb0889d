#pragma once
// Reading rich text documents into a RichText: RTF as word processors write it, or plain
// GBK text.
//
// From RTF the reader keeps the text and the character formats a RichText holds (font and
// its charset, size, colour, bold, italic, underline, protected), and the rest of the
// document as layout pieces written back as read (docs/layout.md): paragraph and table
// layout (a cell end is a line end of the text), pictures, objects, fields, breaks, list
// labels, style sheets and document information; the text of footnotes, headers and footers
// is text of the buffer, standing as paragraphs of their own. Hidden text is layout too.
// \'hh bytes are GBK in a document that declares \ansicpg936; in any other they are read in
// the code page of their font's charset, else the document's code page (\ansicpgN, 65001
// being UTF-8; \ansi alone is Windows-1252), else as GBK. \uN characters and bytes of other
// code pages are converted to GBK: no-break spaces become blanks, zero-width characters
// nothing, characters GBK has no room for "?" (counted: RichText::replacedCharacters).
//
// Damaged RTF is read as far as it goes: missing closing braces at the end, broken \'
// escapes and out-of-range numbers are tolerated; only nesting deeper than kMaxRtfDepth
// groups is refused (BadInput). Reading always terminates, in time linear in the input.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "base/status.h"
#include "document/rich_text.h"

namespace tavricat {

inline constexpr std::size_t kMaxRtfDepth = 512;

// Bytes starting with "{\rtf" are read as RTF; anything else is plain GBK text, taken in the
// buffer's default format with every line end (CR LF, CR, LF) made CR LF. The result is not
// marked modified.
Result<RichText> readRichText(std::string_view bytes);

// Reads `path` (a native path) through `fs` with readRichText. A missing or unreadable file
// fails with the file system's kind (NotFound, Io) and a message naming the file.
Result<RichText> loadRichTextFile(FileSystem& fs, const std::string& path);

}  // namespace tavricat
