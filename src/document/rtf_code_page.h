#pragma once
// Turning the text of an RTF file into GBK: bytes written in a Windows code page (\'hh
// escapes and raw 8-bit bytes) and Unicode characters (\uN). Code page 936 is GBK itself and
// passes through untouched; 65001 is UTF-8. And the way back for the writer: the Unicode
// code point of a GBK character.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavricat {

inline constexpr int kGbkCodePage = 936;
inline constexpr int kWesternCodePage = 1252;
inline constexpr int kUtf8CodePage = 65001;

// The code page a font's \fcharsetN implies, or 0 when the charset names none (ANSI,
// default, symbol and unknown charsets): then the document's code page applies.
int codePageOfCharset(int charset);

// The Unicode code point of the GBK double-byte character `lead` `trail`, or 0 when it has
// none or when the code point would not come back as the same two bytes (so a writer that
// puts the code point in place of the bytes loses nothing).
std::uint32_t unicodeOfGbk(unsigned char lead, unsigned char trail);

class RtfTextDecoder {
public:
    RtfTextDecoder() = default;
    ~RtfTextDecoder();
    RtfTextDecoder(const RtfTextDecoder&) = delete;
    RtfTextDecoder& operator=(const RtfTextDecoder&) = delete;

    // Appends `bytes` of `codePage` to `out` as GBK, each character as appendCodePoint does;
    // a byte that is not valid in the code page becomes "?". A code page iconv does not know
    // is taken as GBK.
    void appendBytes(int codePage, std::string_view bytes, std::string& out);
    // Appends the Unicode code point as GBK. No-break and typographic spaces become a blank,
    // invisible characters (zero-width space and joiners, soft hyphen, byte order mark)
    // nothing, the bullet the middle dot; a character GBK cannot hold becomes "?".
    void appendCodePoint(std::uint32_t codePoint, std::string& out);
    // How many characters became "?" so far.
    std::size_t replaced() const { return m_replaced; }

private:
    std::size_t m_replaced = 0;
    // A cached iconv handle; nullptr when iconv does not know the pair.
    void* handle(const std::string& from, const std::string& to);

    std::vector<std::pair<std::string, void*>> m_handles;
};

}  // namespace tavricat
