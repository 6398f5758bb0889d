#pragma once
// The RTF control words the reader acts on, and what each one does. Words not listed are
// ignored (paragraph layout, page setup, revision marks and the like).

#include <cstdint>
#include <string_view>

namespace tavricat {

enum class RtfAction : std::uint8_t {
    Break,  // a line end in the text: \par \line \sect \row
    Tab,    // \tab, and the end of a table cell
    Char,   // a single character, given as its Unicode code point (\emdash, \ldblquote ...)
    Font, FontSize, Colour, Bold, Italic, Underline, UnderlineOff, Protect, Plain,
    // Which characters the associated properties (\af \ab \ai) that follow apply to:
    // single-byte text (\loch \hich \ltrch), double-byte text (\dbch), right-to-left (\rtlch).
    ScriptSingle, ScriptDouble, ScriptRtl,
    AssocFont, AssocBold, AssocItalic,
    Uc, Unicode, DocumentCharset, AnsiCodePage, DefaultFont, Bin,
    FontTable, ColourTable,
    Charset, Red, Green, Blue,  // inside the font and colour tables
    Skip,                       // a destination whose content is not text of the document
};

struct RtfWord {
    RtfAction action;
    std::uint32_t codePoint = 0;  // for Char
    int codePage = 0;             // for DocumentCharset (\ansi \mac \pc \pca)
};

// nullptr for a word the reader does not act on.
const RtfWord* findRtfWord(std::string_view name);

}  // namespace tavricat
