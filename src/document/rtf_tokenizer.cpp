#include "document/rtf_tokenizer.h"

#include <algorithm>
#include <limits>

namespace tavricat {

namespace {

bool isAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

RtfToken RtfTokenizer::next() {
    while (m_pos < m_bytes.size()) {
        unsigned char c = static_cast<unsigned char>(m_bytes[m_pos]);
        if (c == '\r' || c == '\n') {  // line breaks of the RTF source are not text
            ++m_pos;
            continue;
        }
        RtfToken token;
        if (c == '\\') return readEscape();
        ++m_pos;
        if (c == '{') {
            token.kind = RtfToken::Kind::GroupOpen;
        } else if (c == '}') {
            token.kind = RtfToken::Kind::GroupClose;
        } else {
            token.kind = RtfToken::Kind::Char;
            token.byte = c;
        }
        return token;
    }
    return {};
}

RtfToken RtfTokenizer::readEscape() {
    RtfToken token;
    ++m_pos;  // the backslash
    if (m_pos >= m_bytes.size()) return token;  // a lone backslash at the end: End
    unsigned char c = static_cast<unsigned char>(m_bytes[m_pos]);

    if (!isAsciiLetter(c)) {
        ++m_pos;
        token.kind = RtfToken::Kind::Symbol;
        token.byte = c;
        if (c != '\'') return token;
        // \'hh: two hex digits. A broken escape stays a Symbol '\'' so the reader drops it;
        // a single valid digit is consumed with it.
        int high = m_pos < m_bytes.size() ? hexValue(static_cast<unsigned char>(m_bytes[m_pos])) : -1;
        if (high < 0) return token;
        ++m_pos;
        int low = m_pos < m_bytes.size() ? hexValue(static_cast<unsigned char>(m_bytes[m_pos])) : -1;
        if (low < 0) return token;
        ++m_pos;
        token.kind = RtfToken::Kind::Hex;
        token.byte = static_cast<unsigned char>(high * 16 + low);
        return token;
    }

    std::size_t start = m_pos;
    while (m_pos < m_bytes.size() && isAsciiLetter(static_cast<unsigned char>(m_bytes[m_pos]))) ++m_pos;
    token.kind = RtfToken::Kind::Word;
    token.word = m_bytes.substr(start, std::min(m_pos - start, kMaxWordLength));

    bool negative = false;
    if (m_pos + 1 < m_bytes.size() && m_bytes[m_pos] == '-' && isDigit(static_cast<unsigned char>(m_bytes[m_pos + 1]))) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_bytes.size() && isDigit(static_cast<unsigned char>(m_bytes[m_pos]))) {
        // Saturate instead of overflowing: a run of a million digits is still one token.
        constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
        std::int64_t value = 0;
        while (m_pos < m_bytes.size() && isDigit(static_cast<unsigned char>(m_bytes[m_pos]))) {
            value = std::min<std::int64_t>(value * 10 + (m_bytes[m_pos] - '0'), kLimit + 1);
            ++m_pos;
        }
        if (negative) value = -value;
        token.hasParam = true;
        token.param = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kLimit - 1, kLimit));
    }
    // One blank delimits a control word and belongs to it.
    if (m_pos < m_bytes.size() && m_bytes[m_pos] == ' ') ++m_pos;
    return token;
}

void RtfTokenizer::skipBytes(std::size_t count) {
    m_pos += std::min(count, m_bytes.size() - m_pos);
}

}  // namespace tavricat
