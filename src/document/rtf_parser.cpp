#include <algorithm>

#include "document/rtf_parser.h"
#include "document/rtf_reader.h"

namespace tavricat {

namespace {

using Kind = RtfToken::Kind;
using Action = RtfAction;

bool on(const RtfToken& t) { return !t.hasParam || t.param != 0; }

}  // namespace

Result<RichText> RtfParser::read() {
    m_tokens.next();  // the "{" of the document group (the caller checked the "{\rtf")
    m_groups.emplace_back();
    // Ends when the document group closes (anything after it is not RTF) or the bytes end.
    while (!m_groups.empty()) {
        RtfToken t = m_tokens.next();
        if (t.kind != Kind::Char && t.kind != Kind::Hex) flushRaw();
        if (t.kind == Kind::End) break;
        const bool afterStar = m_starPending;
        m_starPending = false;
        if (m_skipDepth > 0) {
            if (t.kind == Kind::GroupOpen) ++m_skipDepth;
            if (t.kind == Kind::GroupClose && --m_skipDepth == 0) {
                closeGroup();
                keepSkippedGroup();
            }
            if (t.kind == Kind::Word && t.word == "bin" && t.param > 0) m_tokens.skipBytes(static_cast<std::size_t>(t.param));
            continue;
        }
        if (m_ucSkip > 0) {
            if (t.kind == Kind::GroupOpen || t.kind == Kind::GroupClose) {
                m_ucSkip = 0;
            } else {
                --m_ucSkip;
                if (t.kind == Kind::Word && t.word == "bin" && t.param > 0) m_tokens.skipBytes(static_cast<std::size_t>(t.param));
                continue;
            }
        }
        switch (t.kind) {
            case Kind::GroupOpen:
                if (!openGroup())
                    return Status::error(ErrorKind::BadInput, "RTF 文件的组嵌套过深，无法读取。");
                break;
            case Kind::GroupClose: closeGroup(); break;
            case Kind::Word:
                if (afterStar) destination(t);
                else word(t);
                break;
            case Kind::Symbol: symbol(t.byte); break;
            case Kind::Hex: character(t.byte, true); break;
            case Kind::Char: character(t.byte, false); break;
            case Kind::End: break;
        }
    }
    // A truncated file ends without its closing braces: keep what was read.
    if (!m_groups.empty()) {
        settleSurrogate();
        if (state().destination == RtfDestination::FontTable) commitFont();
    }
    flushRun();
    flushHidden();
    flushLayout();
    m_out.setReplacedCharacters(m_replaced + m_decoder.replaced());
    m_out.setModified(false);
    return std::move(m_out);
}

bool RtfParser::openGroup() {
    if (m_groups.size() >= kMaxRtfDepth) return false;
    m_groups.push_back(m_groups.back());
    state().role = RtfGroupRole::Plain;
    state().starred = false;
    state().openedAt = m_tokens.position() > 0 ? m_tokens.position() - 1 : 0;
    return true;
}

void RtfParser::closeGroup() {
    settleSurrogate();
    if (state().destination == RtfDestination::FontTable && !m_fontName.empty()) commitFont();
    if (state().role != RtfGroupRole::Plain && state().destination == RtfDestination::Body) closeWrapper(state().role);
    m_groups.pop_back();
}

// The group is skipped; in the body it is written back as read.
void RtfParser::skipGroup(std::string_view name) {
    m_skipDepth = 1;
    if (state().destination == RtfDestination::Body) {
        m_keepFrom = state().openedAt;
        m_keepForDocument = isDocumentDestination(name);
    } else {
        m_keepFrom = std::string_view::npos;
    }
}

// The word after "{\*": an optional destination, kept as layout unless the reader knows
// its text for what it is.
void RtfParser::destination(const RtfToken& t) {
    const RtfWord* info = findRtfWord(t.word);
    if (info && (info->action == Action::Wrapper || info->action == Action::Story || info->action == Action::FontTable ||
                 info->action == Action::ColourTable)) {
        word(t);
        return;
    }
    skipGroup(t.word);
}

void RtfParser::word(const RtfToken& t) {
    const RtfWord* info = findRtfWord(t.word);
    if (!info) {
        if (state().destination == RtfDestination::Body && isLayoutWord(t.word)) layoutWord(t);
        return;
    }
    switch (info->action) {
        case Action::Skip: skipGroup(t.word); return;
        case Action::FontTable: state().destination = RtfDestination::FontTable; return;
        case Action::ColourTable:
            state().destination = RtfDestination::ColourTable;
            m_colours.clear();
            return;
        case Action::Bin:
            if (t.param > 0) m_tokens.skipBytes(static_cast<std::size_t>(t.param));
            return;
        case Action::DocumentCharset:
            // \ansi alone is Windows-1252; a \ansicpgN, before or after, names the page.
            if (!m_codePageGiven) m_documentCodePage = info->codePage;
            return;
        case Action::AnsiCodePage:
            if (t.hasParam && t.param > 0) {
                m_documentCodePage = t.param;
                m_codePageGiven = true;
            }
            m_declaredGbk = m_documentCodePage == kGbkCodePage;
            return;
        case Action::DefaultFont: m_defaultFont = t.hasParam ? t.param : 0; return;
        case Action::Uc: state().uc = std::clamp(t.hasParam ? t.param : 1, 0, 16); return;
        case Action::Unicode:
            if (state().destination != RtfDestination::ColourTable) {
                emitUnicode(t.param);
                m_ucSkip = state().uc;
            }
            return;
        default: break;
    }
    switch (state().destination) {
        case RtfDestination::Body: bodyWord(*info, t); return;
        case RtfDestination::FontTable:
            if (info->action == Action::Font) m_fontNumber = t.hasParam ? t.param : 0;
            if (info->action == Action::Charset) m_fontCharset = t.hasParam ? std::clamp(t.param, 0, 255) : -1;
            return;
        case RtfDestination::ColourTable: {
            int value = std::clamp(t.hasParam ? t.param : 0, 0, 255);
            if (info->action == Action::Red) m_red = value;
            else if (info->action == Action::Green) m_green = value;
            else if (info->action == Action::Blue) m_blue = value;
            else return;
            m_colourGiven = true;
            return;
        }
    }
}

void RtfParser::bodyWord(const RtfWord& word, const RtfToken& t) {
    RtfCharState& c = state().chars;
    bool doubleByte = c.script == RtfScript::Double;
    switch (word.action) {
        case Action::Break: emitGbk("\r\n"); break;
        case Action::BreakAs: breakAs(t); break;
        case Action::LayoutClose: addPiece("\\" + std::string(t.word) + " ", LayoutPiece::Side::Closes); break;
        case Action::Wrapper: openWrapper(t, RtfGroupRole::Wrapper); break;
        case Action::Story: openWrapper(t, RtfGroupRole::Story); break;
        case Action::Generated:
            addPiece(t.word == "chftn" ? std::string("{\\super\\chftn}") : "\\" + std::string(t.word) + " ",
                     LayoutPiece::Side::Opens);
            break;
        case Action::Tab: emitGbk("\t"); break;
        case Action::Char: emitCodePoint(word.codePoint); break;
        case Action::Font: c.font = t.hasParam ? t.param : 0; break;
        case Action::FontSize: c.size = t.hasParam && t.param > 0 ? std::min(t.param, 32767) : 24; break;
        case Action::Colour: c.colour = t.hasParam ? t.param : 0; break;
        case Action::Bold: c.bold = on(t); break;
        case Action::Italic: c.italic = on(t); break;
        case Action::Underline: c.underline = on(t); break;
        case Action::UnderlineOff: c.underline = false; break;
        case Action::Protect: c.isProtected = on(t); break;
        case Action::Hidden: c.hidden = on(t); break;
        case Action::Plain: c = RtfCharState{}; break;
        // Associated properties count only for double-byte text: producers that write
        // Chinese this way (\dbch\af7\ab) put it in groups of its own.
        case Action::ScriptSingle: c.script = RtfScript::Single; break;
        case Action::ScriptDouble: c.script = RtfScript::Double; break;
        case Action::ScriptRtl: c.script = RtfScript::Rtl; break;
        case Action::AssocFont:
            if (doubleByte) c.doubleByteFont = t.hasParam ? t.param : 0;
            break;
        case Action::AssocBold:
            if (doubleByte) c.bold = on(t);
            break;
        case Action::AssocItalic:
            if (doubleByte) c.italic = on(t);
            break;
        default: break;
    }
}

void RtfParser::symbol(unsigned char c) {
    if (c == '*') {
        // An optional destination: the word that follows names it.
        state().starred = true;
        m_starPending = true;
        return;
    }
    if (c == '\\' || c == '{' || c == '}') {
        character(c, true);
        return;
    }
    if (state().destination != RtfDestination::Body) return;
    switch (c) {
        case '\r': case '\n': emitGbk("\r\n"); break;  // a backslash before a line end is \par
        case '~': emitGbk(" "); break;
        case '_': emitGbk("-"); break;
        default: break;  // \- \: \| and broken \' escapes carry no text
    }
}

// A byte of text: a plain character (isHex false) or an escaped one.
void RtfParser::character(unsigned char c, bool isHex) {
    switch (state().destination) {
        case RtfDestination::ColourTable:
            if (c == ';' && !isHex) commitColour();
            return;
        case RtfDestination::FontTable:
            if (!isHex && c == ';') {
                commitFont();
            } else if (!isHex && c == ' ') {
                if (!m_fontName.empty() || !m_raw.empty() || m_fontSpaces > 0) ++m_fontSpaces;
            } else if (isHex || c >= 0x20) {
                emitByte(c);
            }
            return;
        case RtfDestination::Body:
            if (isHex || c >= 0x20 || c == '\t') emitByte(c);
            return;
    }
}

void RtfParser::commitFont() {
    flushRaw();
    if (m_fontNumber >= 0) {
        m_fonts[m_fontNumber] = RtfFontEntry{m_fontName, m_fontCharset};
    }
    m_fontNumber = -1;
    m_fontCharset = -1;
    m_fontName.clear();
    m_fontSpaces = 0;
}

void RtfParser::commitColour() {
    m_colours.push_back(m_colourGiven ? static_cast<std::uint32_t>(m_blue << 16 | m_green << 8 | m_red) : 0);
    m_red = m_green = m_blue = 0;
    m_colourGiven = false;
}

}  // namespace tavricat
