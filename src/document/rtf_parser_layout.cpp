// The RTF reader's layout: paragraph, table and section words, kept groups (pictures,
// field instructions, list labels, the document's style and list tables), fields, and the
// stories of footnotes, headers and footers, which stand in the text as paragraphs of their
// own so that their sentences are translated like any other.

#include <string>

#include "document/rtf_parser.h"

namespace tavricat {

namespace {

std::string wordText(const RtfToken& t) {
    std::string text = "\\";
    text += t.word;
    if (t.hasParam) text += std::to_string(t.param);
    return text;
}

}  // namespace

void RtfParser::addPiece(std::string rtf, LayoutPiece::Side side, bool replacesBreak) {
    flushRun();
    if (!m_hiddenText.empty()) flushHidden();
    flushLayout();
    m_out.layout().add(LayoutPiece{m_out.size(), std::move(rtf), side, replacesBreak});
}

void RtfParser::flushHidden() {
    if (m_hiddenText.empty()) return;
    std::string rtf = "{\\v ";
    for (unsigned char c : m_hiddenText) {
        if (c >= 0x80 || c < 0x20 || c == '\\' || c == '{' || c == '}') {
            static constexpr char kHex[] = "0123456789abcdef";
            rtf += "\\'";
            rtf += kHex[c >> 4];
            rtf += kHex[c & 0x0F];
        } else {
            rtf += static_cast<char>(c);
        }
    }
    rtf += "}";
    m_hiddenText.clear();
    addPiece(std::move(rtf), LayoutPiece::Side::Opens);
}

void RtfParser::flushLayout() {
    if (m_pendingLayout.empty()) return;
    flushRun();
    // Every writer starts its body with "\pard": at the very start it sets nothing that is
    // not set already, and keeping it would add one more each time a file is read and written.
    if (m_pendingLayout == "\\pard" && m_out.size() == 0 && m_out.layout().pieces().empty()) {
        m_pendingLayout.clear();
        return;
    }
    std::string pending = std::move(m_pendingLayout);
    m_pendingLayout.clear();
    m_out.layout().add(LayoutPiece{m_out.size(), std::move(pending), LayoutPiece::Side::Opens, false});
}

void RtfParser::layoutWord(const RtfToken& t) { m_pendingLayout += wordText(t); }

bool RtfParser::atLineStart() {
    flushRun();
    const std::size_t size = m_out.size();
    return size == 0 || (size >= 2 && m_out.at(size - 2) == '\r' && m_out.at(size - 1) == '\n');
}

// A line end of the text that the file writes as a word of its own: a cell end, a line or
// section break. The text breaks there, so a sentence never runs across it.
void RtfParser::breakAs(const RtfToken& t) {
    addPiece(wordText(t) + " ", LayoutPiece::Side::Closes, true);
    emitGbk("\r\n");
}

// "{\field", "{\fldrslt", "{\footnote": the opening is a piece; a story that does not start a
// line gets a line end of its own in the text, written as the opening.
void RtfParser::openWrapper(const RtfToken& t, RtfGroupRole role) {
    std::string opening = "{";
    if (state().starred) opening += "\\*";
    opening += wordText(t);
    // Word processors read a story with the document's defaults, not the state around its
    // anchor: it restates how many fallback bytes follow a \uN, as the writer writes them.
    opening += role == RtfGroupRole::Story ? "\\uc2 " : " ";
    state().role = role;
    if (role == RtfGroupRole::Story && !atLineStart()) {
        addPiece(std::move(opening), LayoutPiece::Side::Opens, true);
        emitGbk("\r\n");
    } else {
        addPiece(std::move(opening), LayoutPiece::Side::Opens);
    }
}

void RtfParser::closeWrapper(RtfGroupRole role) {
    settleSurrogate();
    if (role == RtfGroupRole::Story && !atLineStart()) {
        addPiece("}", LayoutPiece::Side::Closes, true);
        emitGbk("\r\n");
    } else {
        addPiece("}", LayoutPiece::Side::Closes);
    }
}

// A skipped group has ended: written back as read, in the document's tables or the body.
void RtfParser::keepSkippedGroup() {
    if (m_keepFrom == std::string_view::npos) return;
    const std::size_t end = std::min(m_tokens.position(), m_bytes.size());
    std::string rtf(m_bytes.substr(m_keepFrom, end > m_keepFrom ? end - m_keepFrom : 0));
    m_keepFrom = std::string_view::npos;
    if (m_keepForDocument) m_out.layout().appendDocumentRtf(rtf);
    else addPiece(std::move(rtf), LayoutPiece::Side::Opens);
}

}  // namespace tavricat
