#pragma once
// The RTF control words the reader acts on, and what each one does. Paragraph, table,
// section and page words not listed are kept as layout (isLayoutWord); other words not
// listed are ignored (revision marks, character properties the buffer does not model).

#include <cstdint>
#include <string_view>

namespace tavricat {

enum class RtfAction : std::uint8_t {
    Break,        // a paragraph end in the text: \par
    BreakAs,      // a line end in the text written back as the word: \line \sect \cell \nestcell
    LayoutClose,  // layout that closes what came before: \row \nestrow
    Wrapper,      // a group kept around its text: \field \fldrslt
    Story,        // text of its own place: footnotes, headers, footers
    Generated,    // text the word processor makes: footnote numbers, page numbers, dates
    Tab,          // \tab
    Char,   // a single character, given as its Unicode code point (\emdash, \ldblquote ...)
    Font, FontSize, Colour, Bold, Italic, Underline, UnderlineOff, Protect, Plain,
    Hidden,  // \v: text the document does not show, kept as layout and not translated
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

// Paragraph, table, section and document-layout words (\pard \qc \li \trowd \cellx \page
// \sectd \paperw ...): kept as layout pieces where they stand.
bool isLayoutWord(std::string_view name);

// Destinations that belong to the document as a whole (style sheet, list tables,
// information): kept whole and written after the font and colour tables.
bool isDocumentDestination(std::string_view name);

}  // namespace tavricat
