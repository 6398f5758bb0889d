#include "document/rtf_code_page.h"

#include <iconv.h>

#include <cerrno>

namespace tavricat {

namespace {

const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

}  // namespace

int codePageOfCharset(int charset) {
    switch (charset) {
        case 77: return 10000;   // Mac Roman
        case 128: return 932;    // Shift-JIS
        case 129: return 949;    // Hangul
        case 130: return 1361;   // Johab
        case 134: return 936;    // GB2312 / GBK
        case 136: return 950;    // Big5
        case 161: return 1253;   // Greek
        case 162: return 1254;   // Turkish
        case 163: return 1258;   // Vietnamese
        case 177: return 1255;   // Hebrew
        case 178: return 1256;   // Arabic
        case 186: return 1257;   // Baltic
        case 204: return 1251;   // Cyrillic
        case 222: return 874;    // Thai
        case 238: return 1250;   // Eastern European
        case 255: return 437;    // OEM
        default: return 0;
    }
}

RtfTextDecoder::~RtfTextDecoder() {
    for (auto& [name, cd] : m_handles)
        if (cd) iconv_close(static_cast<iconv_t>(cd));
}

void* RtfTextDecoder::handle(const std::string& from) {
    for (auto& [name, cd] : m_handles)
        if (name == from) return cd;
    iconv_t cd = iconv_open("GBK", from.c_str());
    void* stored = cd == kNoHandle ? nullptr : static_cast<void*>(cd);
    m_handles.emplace_back(from, stored);
    return stored;
}

void RtfTextDecoder::convert(void* handle, std::string_view in, std::size_t unit, std::string& out) {
    iconv_t cd = static_cast<iconv_t>(handle);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // Unconvertible or broken input: show "?" and step over one input unit (a truncated
        // character at the end ends the conversion the same way).
        bool truncated = errno == EINVAL;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        out += '?';
        if (truncated || inLeft <= unit) break;
        inPtr += unit;
        inLeft -= unit;
    }
}

void RtfTextDecoder::appendBytes(int codePage, std::string_view bytes, std::string& out) {
    if (codePage == kGbkCodePage || bytes.empty()) {
        out.append(bytes);
        return;
    }
    std::string name = codePage == 10000 ? "MACINTOSH" : "CP" + std::to_string(codePage);
    void* cd = handle(name);
    if (!cd) {
        out.append(bytes);
        return;
    }
    convert(cd, bytes, 1, out);
}

void RtfTextDecoder::appendCodePoint(std::uint32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
        return;
    }
    void* cd = handle("UTF-32LE");
    if (!cd || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        out += '?';
        return;
    }
    const char unit[4] = {static_cast<char>(codePoint & 0xFF), static_cast<char>((codePoint >> 8) & 0xFF),
                          static_cast<char>((codePoint >> 16) & 0xFF), 0};
    convert(cd, std::string_view(unit, 4), 4, out);
}

}  // namespace tavricat
