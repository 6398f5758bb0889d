#include "document/rtf_code_page.h"

#include <iconv.h>

#include <cerrno>

#include "base/encoding.h"
#include "base/gbk_private_area.h"

namespace tavricat {

namespace {

const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

// Converts `in` with `cd` from its initial state; the number of bytes written to `out`, or 0
// when the input is not converted whole.
std::size_t convertWhole(iconv_t cd, const char* in, std::size_t inLength, char* out, std::size_t outLength) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    std::size_t inLeft = inLength, outLeft = outLength;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return 0;
    return outLength - outLeft;
}

std::uint32_t utf32At(const char* p) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(p[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[3])) << 24;
}

// Both directions between GBK and the Basic Multilingual Plane, as iconv converts them and as
// the user-defined area holds what GBK lacks, built once: text written as \uN is read back a
// character at a time.
struct GbkTables {
    static constexpr std::size_t kLeadCount = 0xFE - 0x81 + 1;
    // The GBK code of each code point GBK characters convert to (lead << 8 | trail, or the
    // single byte 0x80); 0: look it up with iconv.
    std::vector<std::uint16_t> fromUnicode = std::vector<std::uint16_t>(0x10000, 0);
    // Index (lead - 0x81) * 256 + trail: the code point of a character that round-trips.
    std::vector<std::uint16_t> toUnicode = std::vector<std::uint16_t>(kLeadCount * 256, 0);
};

const GbkTables& gbkTables() {
    static const GbkTables tables = [] {
        GbkTables t;
        iconv_t toUnicode = iconv_open("UTF-32LE", "GBK");
        iconv_t fromUnicode = iconv_open("GBK", "UTF-32LE");
        auto add = [&](const char* gbk, std::size_t length) {
            char unit[8], back[8];
            if (convertWhole(toUnicode, gbk, length, unit, sizeof unit) != 4) return;
            std::uint32_t cp = utf32At(unit);
            if (cp == 0 || cp > 0xFFFF) return;
            std::size_t backLength = convertWhole(fromUnicode, unit, 4, back, sizeof back);
            if (backLength == 0 || backLength > 2) return;
            auto code = static_cast<std::uint16_t>(backLength == 1 ? static_cast<unsigned char>(back[0])
                                                                   : static_cast<unsigned char>(back[0]) << 8 |
                                                                         static_cast<unsigned char>(back[1]));
            t.fromUnicode[cp] = code;
            if (length == 2 && backLength == 2 && back[0] == gbk[0] && back[1] == gbk[1])
                t.toUnicode[(static_cast<unsigned char>(gbk[0]) - 0x81) * 256 + static_cast<unsigned char>(gbk[1])] =
                    static_cast<std::uint16_t>(cp);
        };
        if (toUnicode != kNoHandle && fromUnicode != kNoHandle) {
            add("\x80", 1);
            for (int lead = 0x81; lead <= 0xFE; ++lead)
                for (int trail = 0x40; trail <= 0xFE; ++trail) {
                    if (trail == 0x7F) continue;
                    const char gbk[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                    add(gbk, 2);
                }
        }
        // The characters GBK lacks that the program keeps in its user-defined area.
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const std::uint32_t cp = gbk::unicodeOfPrivateArea(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
                if (cp == 0 || cp > 0xFFFF || t.fromUnicode[cp] != 0) continue;
                t.fromUnicode[cp] = static_cast<std::uint16_t>(lead << 8 | trail);
                t.toUnicode[(lead - 0x81) * 256 + trail] = static_cast<std::uint16_t>(cp);
            }
        if (toUnicode != kNoHandle) iconv_close(toUnicode);
        if (fromUnicode != kNoHandle) iconv_close(fromUnicode);
        return t;
    }();
    return tables;
}

// What a character GBK has no room for shows as: blanks for the spaces of typesetting,
// nothing for the invisible characters (kDrop), the middle dot for the bullet (GBK has none,
// as \bullet reads). kKeep: the character itself.
constexpr std::uint32_t kKeep = 0xFFFFFFFF;
constexpr std::uint32_t kDrop = 0;

std::uint32_t standInFor(std::uint32_t cp) {
    switch (cp) {
        case 0x00A0:  // no-break space
        case 0x2000: case 0x2001: case 0x2002: case 0x2003: case 0x2004: case 0x2005:
        case 0x2006: case 0x2007: case 0x2008: case 0x2009: case 0x200A:
        case 0x202F: case 0x205F:
            return ' ';
        case 0x00AD:  // soft hyphen
        case 0x200B: case 0x200C: case 0x200D: case 0x2060: case 0xFEFF:
            return kDrop;
        case 0x2011: return '-';     // non-breaking hyphen
        case 0x2022: return 0x00B7;  // bullet
        default: return kKeep;
    }
}

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

std::uint32_t unicodeOfGbk(unsigned char lead, unsigned char trail) {
    if (lead < 0x81 || lead > 0xFE) return 0;
    return gbkTables().toUnicode[(lead - 0x81) * 256 + trail];
}

RtfTextDecoder::~RtfTextDecoder() {
    for (auto& [name, cd] : m_handles)
        if (cd) iconv_close(static_cast<iconv_t>(cd));
}

void* RtfTextDecoder::handle(const std::string& from, const std::string& to) {
    const std::string key = from + ">" + to;
    for (auto& [name, cd] : m_handles)
        if (name == key) return cd;
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    void* stored = cd == kNoHandle ? nullptr : static_cast<void*>(cd);
    m_handles.emplace_back(key, stored);
    return stored;
}

void RtfTextDecoder::appendBytes(int codePage, std::string_view bytes, std::string& out) {
    if (codePage == kGbkCodePage || bytes.empty()) {
        out.append(bytes);
        return;
    }
    std::string name = codePage == 10000 ? "MACINTOSH" : codePage == kUtf8CodePage ? "UTF-8" : "CP" + std::to_string(codePage);
    void* handle = this->handle(name, "UTF-32LE");
    if (!handle) {
        out.append(bytes);
        return;
    }
    encoding::convertStream(
        handle, bytes,
        [&](std::string_view units) {
            for (std::size_t i = 0; i + 4 <= units.size(); i += 4) appendCodePoint(utf32At(units.data() + i), out);
        },
        // A byte the code page does not define: "?", and on past it; a character cut off at
        // the end: "?" for it.
        [&](std::size_t offset, bool cutShort) {
            out += '?';
            ++m_replaced;
            return cutShort || offset + 1 >= bytes.size() ? encoding::OnInvalid::Stop : encoding::OnInvalid::SkipByte;
        });
}

void RtfTextDecoder::appendCodePoint(std::uint32_t codePoint, std::string& out) {
    if (std::uint32_t standIn = standInFor(codePoint); standIn != kKeep) {
        if (standIn == kDrop) return;
        codePoint = standIn;
    }
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
        return;
    }
    if (codePoint <= 0xFFFF) {
        if (std::uint16_t code = gbkTables().fromUnicode[codePoint]) {
            if (code > 0xFF) out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
            return;
        }
    }
    void* cd = handle("UTF-32LE", "GBK");
    if (!cd || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        out += '?';
        ++m_replaced;
        return;
    }
    const char unit[4] = {static_cast<char>(codePoint & 0xFF), static_cast<char>((codePoint >> 8) & 0xFF),
                          static_cast<char>((codePoint >> 16) & 0xFF), 0};
    char gbk[8];
    std::size_t length = convertWhole(static_cast<iconv_t>(cd), unit, 4, gbk, sizeof gbk);
    if (length == 0) {
        out += '?';
        ++m_replaced;
    } else {
        out.append(gbk, length);
    }
}

}  // namespace tavricat
