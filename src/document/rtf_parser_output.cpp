#include "document/rtf_parser.h"

namespace tavricat {

// The code page of \'hh bytes here. A document that says it is GBK (this system's own
// files, Chinese WordPad) is GBK throughout, whatever charset a font claims; in any other,
// the font's charset decides, then the document's code page.
int RtfParser::codePage() {
    if (m_declaredGbk) return kGbkCodePage;
    int charset = -1;
    if (state().destination == RtfDestination::FontTable) {
        charset = m_fontCharset;
    } else if (const RtfFontEntry* font = fontOf(state().chars)) {
        charset = font->charset;
    }
    int cp = charset >= 0 ? codePageOfCharset(charset) : 0;
    return cp ? cp : m_documentCodePage;
}

void RtfParser::emitByte(unsigned char b) {
    settleSurrogate();
    if (state().destination == RtfDestination::FontTable && m_fontSpaces > 0) {
        std::size_t spaces = m_fontSpaces;
        m_fontSpaces = 0;
        for (std::size_t i = 0; i < spaces; ++i) emitByte(' ');
    }
    int cp = codePage();
    if (cp == kGbkCodePage && m_raw.empty()) {
        char c = static_cast<char>(b);
        emitGbk(std::string_view(&c, 1));
        return;
    }
    if (!m_raw.empty() && cp != m_rawCodePage) flushRaw();
    m_rawCodePage = cp;
    m_raw += static_cast<char>(b);
}

void RtfParser::flushRaw() {
    if (m_raw.empty()) return;
    std::string gbk;
    m_decoder.appendBytes(m_rawCodePage, m_raw, gbk);
    m_raw.clear();
    emitGbk(gbk);
}

void RtfParser::emitUnicode(std::int32_t param) {
    // \uN is a signed 16-bit number: negative values stand for N + 65536.
    std::uint32_t unit = param < 0 ? static_cast<std::uint32_t>(param + 65536) : static_cast<std::uint32_t>(param);
    if (param < -32768 || unit > 0xFFFF) {
        emitCodePoint('?');
        ++m_replaced;
    } else if (unit >= 0xD800 && unit <= 0xDBFF) {
        settleSurrogate();
        m_highSurrogate = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF && m_highSurrogate) {
        std::uint32_t cp = 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (unit - 0xDC00);
        m_highSurrogate = 0;
        emitCodePoint(cp);
    } else if (unit == '\t' || unit >= 0x20) {
        emitCodePoint(unit);  // a lone low surrogate becomes "?" there
    }
}

void RtfParser::emitCodePoint(std::uint32_t cp) {
    std::string gbk;
    m_decoder.appendCodePoint(cp, gbk);
    if (state().destination == RtfDestination::FontTable && m_fontSpaces > 0) {
        gbk.insert(0, m_fontSpaces, ' ');
        m_fontSpaces = 0;
    }
    emitGbk(gbk);
}

void RtfParser::settleSurrogate() {
    if (!m_highSurrogate) return;
    m_highSurrogate = 0;
    emitGbk("?");  // a high surrogate without its low half
    ++m_replaced;
}

void RtfParser::emitGbk(std::string_view gbk) {
    if (gbk.empty()) return;
    settleSurrogate();
    switch (state().destination) {
        case RtfDestination::FontTable: m_fontName += gbk; return;
        case RtfDestination::ColourTable: return;
        case RtfDestination::Body:
            // Hidden text is not shown, so not translated: it stays where it is, as layout.
            if (state().chars.hidden) {
                m_hiddenText += gbk;
                return;
            }
            if (!m_hiddenText.empty()) flushHidden();
            if (!m_pendingLayout.empty()) flushLayout();
            if (!m_runText.empty() && !(state().chars == m_runChars)) flushRun();
            m_runChars = state().chars;
            m_runText += gbk;
            return;
    }
}

void RtfParser::flushRun() {
    if (m_runText.empty()) return;
    m_out.append(m_runText, resolve(m_runChars));
    m_runText.clear();
}

int RtfParser::charsetOf(const RtfFontEntry& font) const {
    if (font.charset >= 0) return font.charset;
    return m_documentCodePage == kGbkCodePage ? kCharsetGb2312 : kCharsetAnsi;
}

// The font text in state `c` is shown in; nullptr when the font table has none for it.
const RtfFontEntry* RtfParser::fontOf(const RtfCharState& c) const {
    int number = c.font >= 0 ? c.font : m_defaultFont;
    if (c.script == RtfScript::Double && c.doubleByteFont >= 0) number = c.doubleByteFont;
    auto found = m_fonts.find(number);
    if (found == m_fonts.end()) found = m_fonts.find(m_defaultFont);  // an unknown \fN
    return found == m_fonts.end() ? nullptr : &found->second;
}

CharFormat RtfParser::resolve(const RtfCharState& c) const {
    CharFormat format;
    if (const RtfFontEntry* font = fontOf(c)) {
        format.fontName = font->name;
        format.charset = charsetOf(*font);
    }
    format.sizeHalfPoints = c.size;
    if (c.colour > 0 && static_cast<std::size_t>(c.colour) < m_colours.size()) format.colour = m_colours[c.colour];
    format.bold = c.bold;
    format.italic = c.italic;
    format.underline = c.underline;
    format.isProtected = c.isProtected;
    return format;
}

}  // namespace tavricat
