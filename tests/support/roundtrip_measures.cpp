#include "support/roundtrip_measures.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "base/utf8.h"

namespace tavricat::testing {

namespace {

char32_t codePoint(std::string_view text, std::size_t at, std::size_t length) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    switch (length) {
        case 2: return static_cast<char32_t>(((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F));
        case 3: return static_cast<char32_t>(((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F));
        case 4:
            return static_cast<char32_t>(((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) |
                                         ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F));
        default: return byte(0);
    }
}

// Splits the text into its characters, each with its code point.
struct Character {
    std::string_view bytes;
    char32_t code;
};
std::vector<Character> characters(std::string_view text) {
    std::vector<Character> out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = std::min(encoding::utf8SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        out.push_back({text.substr(i, length), codePoint(text, i, length)});
        i += length;
    }
    return out;
}

bool isSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || c == 0xA0 ||
           (c >= 0x2000 && c <= 0x200B) || c == 0x202F || c == 0x3000 || c == 0xFEFF;
}

bool isHyphen(char32_t c) { return c == '-' || c == 0xAD || c == 0x2010 || c == 0x2011; }

bool isAsciiAlnum(char32_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Bullets as word processors draw them, symbol-font bullets (private use area) and the "?"
// a bullet becomes where a character set cannot hold it.
bool isBullet(std::string_view word) {
    static const char* const kBullets[] = {
        "-", "*", "o", "?", "\xC2\xB7" /* middle dot */, "\xE2\x80\xA2" /* bullet */,
        "\xE2\x80\x93" /* en dash */, "\xE2\x80\x94" /* em dash */, "\xE2\x81\x83" /* hyphen bullet */,
        "\xE2\x97\xA6" /* white bullet */, "\xE2\x96\xAA", "\xE2\x96\xA0", "\xE2\x96\xA1", "\xE2\x97\x8F",
        "\xE2\x97\x8B", "\xE2\x9E\xA2", "\xE2\x9C\x93", "\xEF\xBF\xBD" /* replacement character */};
    for (const char* bullet : kBullets)
        if (word == bullet) return true;
    std::vector<Character> chars = characters(word);
    return chars.size() == 1 && chars[0].code >= 0xE000 && chars[0].code <= 0xF8FF;
}

// "1.", "2)", "1.2.", "a.", "(b)", "iv.", "XII)".
bool isNumberLabel(std::string_view word) {
    if (word.size() < 2 || word.size() > 10) return false;
    if (word.back() != '.' && word.back() != ')') return false;
    std::string_view body = word.substr(0, word.size() - 1);
    if (!body.empty() && body.front() == '(') body.remove_prefix(1);
    if (body.empty()) return false;
    if (std::all_of(body.begin(), body.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
        return body.front() != '.';
    if (body.size() == 1 && isAsciiAlnum(static_cast<unsigned char>(body[0]))) return true;
    return body.size() <= 6 &&
           std::all_of(body.begin(), body.end(), [](char c) { return std::string_view("ivxlcdmIVXLCDM").find(c) != std::string_view::npos; });
}

}  // namespace

std::optional<GrayPage> readPgm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t at = 0;
    // The header: magic, width, height and maximum value, separated by whitespace and comments.
    auto nextField = [&]() -> std::string {
        for (;;) {
            while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
            if (at < bytes.size() && bytes[at] == '#') {
                while (at < bytes.size() && bytes[at] != '\n') ++at;
                continue;
            }
            break;
        }
        std::size_t from = at;
        while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
        return bytes.substr(from, at - from);
    };
    if (nextField() != "P5") return std::nullopt;
    GrayPage page;
    try {
        page.width = std::stoi(nextField());
        page.height = std::stoi(nextField());
        if (std::stoi(nextField()) != 255) return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    ++at;  // the one whitespace byte before the pixels
    const std::size_t count = static_cast<std::size_t>(page.width) * static_cast<std::size_t>(page.height);
    if (page.width <= 0 || page.height <= 0 || at > bytes.size() || bytes.size() - at < count) return std::nullopt;
    page.pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
    return page;
}

double inkDifference(const GrayPage& a, const GrayPage& b, int threshold) {
    auto ink = [threshold](const GrayPage& page, int x, int y) {
        return x >= 0 && y >= 0 && x < page.width && y < page.height &&
               page.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(page.width) +
                           static_cast<std::size_t>(x)] < threshold;
    };
    auto inkNear = [&ink](const GrayPage& page, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (ink(page, x + dx, y + dy)) return true;
        return false;
    };
    const int width = std::max(a.width, b.width);
    const int height = std::max(a.height, b.height);
    std::size_t inked = 0;
    std::size_t unmatched = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (ink(a, x, y)) {
                ++inked;
                unmatched += !inkNear(b, x, y);
            }
            if (ink(b, x, y)) {
                ++inked;
                unmatched += !inkNear(a, x, y);
            }
        }
    return inked == 0 ? 0.0 : static_cast<double>(unmatched) / static_cast<double>(inked);
}

std::string normaliseWhitespace(std::string_view text) {
    std::string out;
    bool pendingBlank = false;
    for (const Character& c : characters(text)) {
        if (isSpace(c.code)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank) out += ' ';
        pendingBlank = false;
        out += c.bytes;
    }
    return out;
}

std::string withoutListLabels(std::string_view text) {
    std::string out;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        std::size_t start = line.find_first_not_of(" \t");
        if (start != std::string::npos) {
            std::size_t end = line.find_first_of(" \t", start);
            std::string_view first = std::string_view(line).substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (isBullet(first) || isNumberLabel(first)) line.erase(start, first.size());
        }
        out += line;
        out += '\n';
    }
    return out;
}

std::vector<std::string> textTokens(std::string_view text) {
    std::vector<std::string> tokens;
    std::string run;
    auto endRun = [&] {
        if (!run.empty()) tokens.push_back(run);
        run.clear();
    };
    std::vector<Character> chars = characters(text);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i].code;
        if (isHyphen(c)) {
            // A hyphen joins; so does one ending a line ("electron-\ndense").
            if (i + 1 < chars.size() && chars[i + 1].code == '\n') ++i;
            continue;
        }
        if (isAsciiAlnum(c)) {
            run += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            continue;
        }
        endRun();
        if (c >= 0x80 && !isSpace(c)) tokens.emplace_back(chars[i].bytes);
    }
    endRun();
    return tokens;
}

std::vector<std::string> characterTokens(const std::vector<std::string>& words) {
    std::vector<std::string> out;
    for (const std::string& word : words)
        for (const Character& c : characters(word)) out.emplace_back(c.bytes);
    return out;
}

TokenComparison compareTokens(const std::vector<std::string>& original, const std::vector<std::string>& target) {
    TokenComparison result;
    std::map<std::string, long> available;  // the target's words not yet matched
    for (const std::string& token : target) ++available[token];
    for (const std::string& token : original) {
        long& left = available[token];
        if (left > 0) --left;
        else result.lost.push_back(token);
    }
    for (const auto& entry : available) result.extra += static_cast<std::size_t>(entry.second);
    return result;
}

}  // namespace tavricat::testing
