#pragma once
// The RTF reader's working state: the group stack, the font and colour tables, and the text
// of the current run. Internal to rtf_reader; rtf_parser.cpp takes the tokens apart,
// rtf_parser_output.cpp turns text into GBK runs of the result.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/status.h"
#include "document/rich_text.h"
#include "document/rtf_code_page.h"
#include "document/rtf_control_words.h"
#include "document/rtf_tokenizer.h"

namespace tavricat {

enum class RtfDestination : std::uint8_t { Body, FontTable, ColourTable };

// Which characters associated properties (\af \ab \ai) apply to.
enum class RtfScript : std::uint8_t { Single, Double, Rtl };

// The character properties a group carries; fonts and colours as table numbers.
struct RtfCharState {
    int font = -1;  // -1: the document's default font
    int doubleByteFont = -1;  // \dbch\afN: the font of double-byte text, -1: as `font`
    RtfScript script = RtfScript::Single;
    int size = 24;  // RTF's own default, 12 points
    int colour = 0; // 0: automatic
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool isProtected = false;
    bool hidden = false;

    bool operator==(const RtfCharState&) const = default;
};

// What a group of the body is to the layout: kept around its text (a field, its result) or
// a story of its own (a footnote, a header), whose closing brace is then a layout piece.
enum class RtfGroupRole : std::uint8_t { Plain, Wrapper, Story };

struct RtfGroupState {
    RtfCharState chars;
    int uc = 1;  // fallback characters after \uN
    RtfDestination destination = RtfDestination::Body;
    RtfGroupRole role = RtfGroupRole::Plain;
    std::size_t openedAt = 0;  // offset of the group's "{" in the file
    bool starred = false;      // "\*" came right after the "{"
};

struct RtfFontEntry {
    std::string name;
    int charset = -1;  // -1: not given
};

class RtfParser {
public:
    explicit RtfParser(std::string_view bytes) : m_bytes(bytes), m_tokens(bytes) {}
    // REQUIRES: the bytes start with "{\rtf".
    Result<RichText> read();

private:
    RtfGroupState& state() { return m_groups.back(); }
    bool openGroup();
    void closeGroup();
    void word(const RtfToken& t);
    void destination(const RtfToken& t);
    void skipGroup(std::string_view name);
    void bodyWord(const RtfWord& word, const RtfToken& t);
    void symbol(unsigned char c);
    void character(unsigned char c, bool isHex);

    // Text output, in the current destination.
    int codePage();
    void emitByte(unsigned char b);
    void emitUnicode(std::int32_t param);
    void emitCodePoint(std::uint32_t cp);
    void emitGbk(std::string_view gbk);
    void flushRaw();
    void settleSurrogate();
    void flushRun();
    const RtfFontEntry* fontOf(const RtfCharState& c) const;
    CharFormat resolve(const RtfCharState& c) const;
    int charsetOf(const RtfFontEntry& font) const;

    void commitFont();
    void commitColour();

    // Layout (rtf_parser_layout.cpp).
    void layoutWord(const RtfToken& t);
    void openWrapper(const RtfToken& t, RtfGroupRole role);
    void closeWrapper(RtfGroupRole role);
    void breakAs(const RtfToken& t);
    void addPiece(std::string rtf, LayoutPiece::Side side, bool replacesBreak = false);
    void flushLayout();
    bool atLineStart();
    void keepSkippedGroup();
    void flushHidden();

    std::string_view m_bytes;
    RtfTokenizer m_tokens;
    std::vector<RtfGroupState> m_groups;
    std::size_t m_skipDepth = 0;  // > 0: inside a skipped group, counting its nesting
    // The skipped group is written back as read: from this offset, into the document's
    // tables (true) or as a piece of the body (false); npos: it is dropped.
    std::size_t m_keepFrom = std::string_view::npos;
    bool m_keepForDocument = false;
    std::string m_pendingLayout;  // layout words read since the last text or piece
    std::string m_hiddenText;     // GBK text under \v since the last piece, kept as layout
    bool m_starPending = false;   // "\*" read: the next word names an optional destination
    int m_ucSkip = 0;              // fallback characters still to drop
    std::uint32_t m_highSurrogate = 0;

    // GBK unless the document names its character set (\ansi, \mac, \pc, \pca) or code page.
    int m_documentCodePage = kGbkCodePage;
    bool m_codePageGiven = false;  // \ansicpgN read
    bool m_declaredGbk = false;  // \ansicpg936 given: every \'hh byte is GBK
    int m_defaultFont = -1;
    std::unordered_map<int, RtfFontEntry> m_fonts;
    std::vector<std::uint32_t> m_colours;

    // The font table entry being read.
    int m_fontNumber = -1;
    int m_fontCharset = -1;
    std::string m_fontName;
    std::size_t m_fontSpaces = 0;  // literal blanks that end the name unless more follows
    // The colour table entry being read.
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;

    // Bytes of a code page other than GBK, converted when the next non-byte token comes.
    std::string m_raw;
    int m_rawCodePage = kGbkCodePage;

    RtfTextDecoder m_decoder;
    std::size_t m_replaced = 0;  // "?" put for broken \uN text (the decoder counts its own)
    std::string m_runText;
    RtfCharState m_runChars;
    RichText m_out;
};

}  // namespace tavricat
