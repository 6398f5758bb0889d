#include "document/rtf_writer.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/gbk.h"
#include "document/rtf_code_page.h"

namespace tavricat {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendHexByte(std::string& out, unsigned char b) {
    out += "\\'";
    out += kHex[b >> 4];
    out += kHex[b & 0x0F];
}

// A font as the font table lists it: the name and its charset.
using FontKey = std::pair<std::string, int>;

int clampedCharset(int charset) { return std::clamp(charset, 0, 255); }

// Font and colour tables: numbers given in order of first use, the default format's font
// first so that \deff0 names it.
class Tables {
public:
    int font(const CharFormat& f) {
        FontKey key{f.fontName, clampedCharset(f.charset)};
        auto [it, added] = m_fontIds.emplace(key, static_cast<int>(m_fonts.size()));
        if (added) m_fonts.push_back(key);
        return it->second;
    }
    // Table entry 0 is "automatic"; the buffer's colours are entries 1 and up.
    int colour(const CharFormat& f) {
        std::uint32_t value = f.colour & 0xFFFFFF;
        auto [it, added] = m_colourIds.emplace(value, static_cast<int>(m_colours.size()) + 1);
        if (added) m_colours.push_back(value);
        return it->second;
    }
    void write(std::string& out) const;

private:
    std::vector<FontKey> m_fonts;
    std::map<FontKey, int> m_fontIds;
    std::vector<std::uint32_t> m_colours;
    std::map<std::uint32_t, int> m_colourIds;
};

// A font name: ";" ends an entry and "\\", "{", "}" are RTF syntax, so they are escaped
// along with all bytes outside printable ASCII, and so are blanks at either end, which
// readers trim.
void appendFontName(std::string& out, const std::string& name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        auto b = static_cast<unsigned char>(c);
        bool edgeBlank = c == ' ' && (i == 0 || i + 1 == name.size());
        if (b < 0x20 || b >= 0x7F || c == ';' || c == '\\' || c == '{' || c == '}' || edgeBlank) appendHexByte(out, b);
        else out += c;
    }
}

void Tables::write(std::string& out) const {
    out += "{\\fonttbl";
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + std::to_string(m_fonts[i].second) + ' ';
        appendFontName(out, m_fonts[i].first);
        out += ";}";
    }
    out += "}\r\n{\\colortbl;";
    for (std::uint32_t c : m_colours)
        out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
               std::to_string((c >> 16) & 0xFF) + ';';
    out += "}\r\n";
}

void appendFormat(std::string& out, Tables& tables, const CharFormat& f) {
    out += "\\f" + std::to_string(tables.font(f));
    out += "\\fs" + std::to_string(std::clamp(f.sizeHalfPoints, 1, 32767));
    out += "\\cf" + std::to_string(tables.colour(f));
    out += f.bold ? "\\b" : "\\b0";
    out += f.italic ? "\\i" : "\\i0";
    out += f.underline ? "\\ul" : "\\ulnone";
    out += f.isProtected ? "\\protect" : "\\protect0";
    out += ' ';  // ends the last control word; not text
}

// The text of one run. Walks whole GBK characters so that both bytes of a double-byte
// character are escaped, whatever the trail byte looks like.
void appendText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = gbk::charLength(text, i);
        auto b = static_cast<unsigned char>(text[i]);
        if (length == 2) {
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            // \uN as a signed 16-bit number, then the GBK bytes that \uc2 makes readers skip.
            if (std::uint32_t cp = unicodeOfGbk(b, trail))
                out += "\\u" + std::to_string(cp > 0x7FFF ? static_cast<int>(cp) - 0x10000 : static_cast<int>(cp));
            appendHexByte(out, b);
            appendHexByte(out, trail);
        } else if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\\par\r\n";
            length = 2;
        } else if (b == '\t') {
            out += "\\tab ";
        } else if (b == '\\' || b == '{' || b == '}') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (b < 0x20 || b >= 0x7F) {
            appendHexByte(out, b);
        } else {
            out += static_cast<char>(b);
        }
        i += length;
    }
}

}  // namespace

std::string writeRtf(const RichText& text) { return writeRtf(text, 0, text.size()); }

std::string writeRtf(const RichText& text, std::size_t pos, std::size_t length) {
    pos = std::min(pos, text.size());
    length = std::min(length, text.size() - pos);
    std::vector<RichText::Run> runs = text.runs(pos, length);
    const std::vector<LayoutPiece> pieces = text.layout().copyRange(pos, length, text.size());

    Tables tables;
    tables.font(text.defaultFormat());
    std::string body;
    body.reserve(length * 2 + 64);
    std::size_t next = 0;      // the next piece to write
    std::size_t skipTo = 0;    // past a line end a piece was written in place of
    for (const RichText::Run& run : runs) {
        const std::size_t runEnd = run.start - pos + run.length;
        std::size_t at = std::max(run.start - pos, skipTo);
        bool formatDue = true;
        while (at < runEnd) {
            // The layout pieces anchored here, then the format again: a piece may close a
            // group or reset the character properties.
            bool breakReplaced = false;
            for (; next < pieces.size() && pieces[next].pos == at; ++next) {
                const LayoutPiece& piece = pieces[next];
                body += piece.rtf;
                breakReplaced = breakReplaced || (piece.replacesBreak && at + 1 < length &&
                                                  text.at(pos + at) == '\r' && text.at(pos + at + 1) == '\n');
                formatDue = true;
            }
            if (breakReplaced) {
                body += "\r\n";
                at += 2;
                skipTo = at;
                continue;
            }
            if (formatDue) {
                appendFormat(body, tables, *run.format);
                formatDue = false;
            }
            const std::size_t until = next < pieces.size() ? std::min(runEnd, pieces[next].pos) : runEnd;
            appendText(body, text.text(pos + at, until - at));
            at = until;
        }
    }
    for (; next < pieces.size(); ++next) body += pieces[next].rtf;

    std::string out = "{\\rtf1\\ansi\\ansicpg936\\deff0";
    tables.write(out);
    out += text.layout().documentRtf();
    out += "\\viewkind4\\uc2\\pard ";
    out += body;
    out += "}\r\n";
    return out;
}

Status saveRichTextFile(FileSystem& fs, const std::string& path, const RichText& text) {
    Status saved = replaceFile(fs, path, writeRtf(text));
    if (!saved)
        return Status::error(saved.kind(), "无法保存文件 " + encoding::utf8ToGbkLossy(path) + "：" +
                                               encoding::utf8ToGbkLossy(saved.message()));
    return saved;
}

}  // namespace tavricat
