#include "base/gbk.h"

namespace tavricat::gbk {

std::size_t charLength(std::string_view text, std::size_t pos) {
    if (pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos]))) return 2;
    return 1;
}

bool isDoubleByteAt(std::string_view text, std::size_t pos) {
    return pos < text.size() && charLength(text, pos) == 2;
}

bool isTrailByte(std::string_view text, std::size_t pos) {
    std::size_t i = 0;
    while (i < pos) i += charLength(text, i);
    return i > pos;
}

bool isWholeDoubleByteAt(std::string_view text, std::size_t pos) {
    if (pos + 1 >= text.size() || !isLeadByte(static_cast<unsigned char>(text[pos]))) return false;
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    return trail >= 0x40 && trail != 0x7F && trail != 0xFF;
}

bool hasDoubleByte(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i))
        if (charLength(text, i) == 2) return true;
    return false;
}

std::size_t charCount(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) ++n;
    return n;
}

namespace {
template <typename Fold>
std::string foldAscii(std::string_view text, Fold fold) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        std::size_t len = charLength(out, i);
        if (len == 1) out[i] = fold(out[i]);
        i += len;
    }
    return out;
}
}  // namespace

std::string asciiLower(std::string_view text) {
    return foldAscii(text, [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; });
}

std::string asciiUpper(std::string_view text) {
    return foldAscii(text, [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; });
}

std::string_view trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20) --e;
    return text.substr(b, e - b);
}

std::string_view cutToBytes(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + charLength(text, end);
        if (next > limit) break;
        end = next;
    }
    return text.substr(0, end);
}

}  // namespace tavricat::gbk
