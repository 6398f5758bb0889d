#include "base/encoding.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "base/gbk_private_area.h"
#include "base/utf8.h"

namespace tavricat::encoding {

namespace {

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

unsigned decodeUtf8(std::string_view s, std::size_t offset) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(i < s.size() ? s[i] : 0); };
    unsigned b0 = byte(offset);
    if (b0 >= 0xF0) return ((b0 & 0x07) << 18) | ((byte(offset + 1) & 0x3F) << 12) | ((byte(offset + 2) & 0x3F) << 6) | (byte(offset + 3) & 0x3F);
    if (b0 >= 0xE0) return ((b0 & 0x0F) << 12) | ((byte(offset + 1) & 0x3F) << 6) | (byte(offset + 2) & 0x3F);
    if (b0 >= 0xC0) return ((b0 & 0x1F) << 6) | (byte(offset + 1) & 0x3F);
    return b0;
}

void appendUtf8(std::uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The length of the character at `in[at]` in the encoding `from` (at least 1).
std::size_t sequenceLength(std::string_view from, std::string_view in, std::size_t at) {
    if (from == "UTF-8") return std::min(utf8SequenceLength(static_cast<unsigned char>(in[at])), in.size() - at);
    if (from.starts_with("UTF-16")) return std::min<std::size_t>(2, in.size() - at);
    return 1;
}

// A character iconv's GBK has no code for, held in GBK's user-defined area instead: appends
// it to `out` and says how many bytes of `in` it took (0: not such a character).
std::size_t appendHeld(std::string_view to, std::string_view from, std::string_view in, std::size_t at, std::string& out) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
    if (from == "GBK") {
        if (at + 1 >= in.size()) return 0;
        const std::uint32_t cp = gbk::unicodeOfPrivateArea(byte(at), byte(at + 1));
        if (!cp || to != "UTF-8") return 0;
        appendUtf8(cp, out);
        return 2;
    }
    if (to != "GBK") return 0;
    std::uint32_t cp;
    std::size_t length;
    if (from == "UTF-8") {
        length = utf8SequenceLength(byte(at));
        if (length < 2 || at + length > in.size() || !isNonAsciiUtf8(in.substr(at, length))) return 0;
        cp = decodeUtf8(in, at);
    } else if (from == "UTF-16LE" || from == "UTF-16BE") {
        if (at + 2 > in.size()) return 0;
        length = 2;
        cp = from == "UTF-16LE" ? byte(at) | byte(at + 1) << 8 : byte(at) << 8 | byte(at + 1);
    } else {
        return 0;
    }
    const std::uint16_t code = gbk::privateAreaCodeOf(cp);
    if (!code) return 0;
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
    return length;
}

// Converts `in`; a character iconv cannot take is held in GBK's user-defined area where it
// can be, and otherwise either stops the conversion (its offset in `failedAt`) or, when
// `replacement` is given, shows as it and is skipped.
std::string convert(const char* to, const char* from, std::string_view in, const char* replacement,
                    std::size_t& failedAt) {
    failedAt = kFailed;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    std::string out;
    out.reserve(in.size() * 3 / 2 + 4);
    for (std::size_t done = 0; done < in.size();) {
        std::size_t stoppedAt = kFailed;
        convertStream(
            cd, in.substr(done), [&](std::string_view run) { out.append(run); },
            [&](std::size_t offset, bool) {
                stoppedAt = offset;
                return OnInvalid::Stop;
            });
        if (stoppedAt == kFailed) break;
        const std::size_t at = done + stoppedAt;
        if (std::size_t held = appendHeld(to, from, in, at, out)) {
            done = at + held;
            continue;
        }
        if (!replacement) {
            failedAt = at;
            break;
        }
        out += replacement;
        done = at + sequenceLength(from, in, at);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

void convertStream(void* handle, std::string_view in, const std::function<void(std::string_view)>& emit,
                   const std::function<OnInvalid(std::size_t offset, bool cutShort)>& invalid) {
    iconv_t cd = static_cast<iconv_t>(handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        if (outPtr != buffer) emit(std::string_view(buffer, static_cast<std::size_t>(outPtr - buffer)));
        if (rc != kFailed || error == E2BIG) continue;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (invalid(in.size() - inLeft, error == EINVAL) == OnInvalid::Stop) return;
        ++inPtr;
        --inLeft;
    }
}

Result<std::string> utf8ToGbk(std::string_view utf8) {
    std::size_t failedAt;
    std::string out = convert("GBK", "UTF-8", utf8, nullptr, failedAt);
    if (failedAt == kFailed) return out;
    char code[32];
    std::snprintf(code, sizeof code, " (U+%04X)", decodeUtf8(utf8, failedAt));
    return Status::error(ErrorKind::BadInput, "文字中有 GBK 无法保存的字符" + std::string(code));
}

Result<std::string> gbkToUtf8(std::string_view gbk) {
    std::size_t failedAt;
    std::string out = convert("UTF-8", "GBK", gbk, nullptr, failedAt);
    if (failedAt == kFailed) return out;
    char where[48];
    std::snprintf(where, sizeof where, " (offset %zu)", failedAt);
    return Status::error(ErrorKind::BadInput, "文字不是有效的 GBK 编码" + std::string(where));
}

std::string gbkToUtf8Lossy(std::string_view gbk) {
    std::size_t failedAt;
    return convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD", failedAt);
}

std::string utf8ToGbkLossy(std::string_view utf8) {
    std::size_t failedAt;
    return convert("GBK", "UTF-8", utf8, "?", failedAt);
}

bool isNonAsciiUtf8(std::string_view bytes) {
    bool nonAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        nonAscii = true;
        std::size_t length;
        unsigned low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (b0 >= 0xC2 && b0 <= 0xDF) length = 2;
        else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3;
            if (b0 == 0xE0) low = 0xA0;   // overlong
            if (b0 == 0xED) high = 0x9F;  // surrogates
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4;
            if (b0 == 0xF0) low = 0x90;
            if (b0 == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + k]);
            if (k == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF)) return false;
        }
        i += length;
    }
    return nonAscii;
}

Result<std::string> inputTextToGbk(std::string_view bytes) {
    const char* from = nullptr;
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
        from = "UTF-8";
    } else if (bytes.starts_with("\xFF\xFE")) {
        bytes.remove_prefix(2);
        from = "UTF-16LE";
    } else if (bytes.starts_with("\xFE\xFF")) {
        bytes.remove_prefix(2);
        from = "UTF-16BE";
    } else if (isNonAsciiUtf8(bytes)) {
        from = "UTF-8";
    }
    if (!from) return std::string(bytes);
    if (std::string_view(from) == "UTF-8") {
        Result<std::string> converted = utf8ToGbk(bytes);
        if (!converted) return Status::error(ErrorKind::BadInput, "文件是 UTF-8 编码，" + converted.status().message());
        return converted;
    }
    std::size_t failedAt;
    std::string out = convert("GBK", from, bytes, nullptr, failedAt);
    if (failedAt != kFailed) {
        char where[48];
        std::snprintf(where, sizeof where, " (offset %zu)", failedAt + 2);
        return Status::error(ErrorKind::BadInput, "文件是 UTF-16 编码，其中有 GBK 无法保存的字符" + std::string(where));
    }
    return out;
}

std::string toGbk(std::string_view utf8) {
    std::size_t failedAt;
    std::string out = convert("GBK", "UTF-8", utf8, nullptr, failedAt);
    if (failedAt != kFailed) throw std::logic_error("toGbk: text not representable in GBK");
    return out;
}

}  // namespace tavricat::encoding
