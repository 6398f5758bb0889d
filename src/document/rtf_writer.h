#pragma once
// Writing a RichText as RTF, the way the system saves rich text documents.
//
// The output is ASCII only and the same buffer always gives the same bytes:
//   {\rtf1\ansi\ansicpg936\deff0{\fonttbl...}{\colortbl;...}
//   \viewkind4\uc2\pard <runs>}
// Every run states its whole format (\fN\fsN\cfN, \b or \b0, \i or \i0, \ul or \ulnone,
// \protect or \protect0). A double-byte character is written as \uN followed by its two GBK
// bytes as \'hh escapes: word processors take the Unicode character, whatever charset the
// font claims (fonts read from other producers say 0, Western), and skip the bytes; this
// system's reader takes the same character either way. A character without a Unicode form
// that comes back as the same bytes is written as its bytes alone. Every other byte from
// 0x80 is a \'hh escape too, so a GBK trail byte that looks like "\", "{" or "}" never
// reaches the RTF as a special character. CR LF is written as \par plus a line end of the RTF source,
// TAB as \tab; a lone CR or LF and other control bytes as \'hh, so that reading the RTF back
// gives the text byte for byte.

#include <cstddef>
#include <string>

#include "base/file_system.h"
#include "base/status.h"
#include "document/rich_text.h"

namespace tavricat {

std::string writeRtf(const RichText& text);
// [pos, pos + length) of `text`, clamped to its end.
std::string writeRtf(const RichText& text, std::size_t pos, std::size_t length);

// Saves `text` as RTF to `path` through a scratch file and a rename: when the save fails the
// old file is still there, whole.
Status saveRichTextFile(FileSystem& fs, const std::string& path, const RichText& text);

}  // namespace tavricat
