#pragma once
// Turning the text of an RTF file into GBK: bytes written in a Windows code page (\'hh
// escapes and raw 8-bit bytes) and Unicode characters (\uN). Code page 936 is GBK itself and
// passes through untouched.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavricat {

inline constexpr int kGbkCodePage = 936;

// The code page a font's \fcharsetN implies, or 0 when the charset names none (ANSI,
// default, symbol and unknown charsets): then the document's \ansicpg applies.
int codePageOfCharset(int charset);

class RtfTextDecoder {
public:
    RtfTextDecoder() = default;
    ~RtfTextDecoder();
    RtfTextDecoder(const RtfTextDecoder&) = delete;
    RtfTextDecoder& operator=(const RtfTextDecoder&) = delete;

    // Appends `bytes` of `codePage` to `out` as GBK. A character GBK cannot hold, or a byte
    // that is not valid in the code page, becomes "?". A code page iconv does not know is
    // taken as GBK.
    void appendBytes(int codePage, std::string_view bytes, std::string& out);
    // Appends the Unicode code point as GBK, or "?" when GBK cannot hold it.
    void appendCodePoint(std::uint32_t codePoint, std::string& out);

private:
    // A cached iconv handle to GBK from `from`; nullptr when iconv does not know `from`.
    void* handle(const std::string& from);
    // `unit`: bytes stepped over after a character that cannot be converted.
    void convert(void* cd, std::string_view in, std::size_t unit, std::string& out);

    std::vector<std::pair<std::string, void*>> m_handles;
};

}  // namespace tavricat
