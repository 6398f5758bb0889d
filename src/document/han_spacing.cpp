#include "document/han_spacing.h"

#include "base/gbk.h"
#include "base/gbk_private_area.h"

namespace tavricat {

bool hasCChars(std::string_view text) {
    // Chinese text holds Han characters. GBK's rows A1-A9 (punctuation, full-width forms,
    // Greek, Cyrillic and accented Latin letters such as the é of "café") do not make a
    // sentence Chinese, and neither do the letters and signs GBK lacks, held in its
    // user-defined area, nor a stray lead byte of another code page.
    for (std::size_t i = 0; i < text.size(); i += gbk::charLength(text, i)) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (gbk::isWholeDoubleByteAt(text, i) && (lead < 0xA1 || lead > 0xA9) &&
            !gbk::unicodeOfPrivateArea(lead, static_cast<unsigned char>(text[i + 1])))
            return true;
    }
    return false;
}

std::string ClearSpaceInCChars(std::string_view text) {
    const std::string_view trimmed = gbk::trim(text);
    std::string out;
    out.reserve(trimmed.size());
    bool afterDouble = false;
    for (std::size_t i = 0; i < trimmed.size();) {
        const std::size_t length = gbk::charLength(trimmed, i);
        if (length == 1 && trimmed[i] == ' ' && afterDouble && gbk::isDoubleByteAt(trimmed, i + 1)) {
            ++i;  // the blank between two Chinese characters
            continue;
        }
        out.append(trimmed.substr(i, length));
        afterDouble = length == 2;
        i += length;
    }
    return out;
}

std::string AddSpaceInCChars(std::string_view text) {
    std::string spaced;
    spaced.reserve(text.size() * 2);
    bool afterDouble = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = gbk::charLength(text, i);
        const bool blank = length == 1 && text[i] == ' ';
        if ((length == 2 || (!blank && afterDouble)) && (spaced.empty() || spaced.back() != ' ')) spaced += ' ';
        spaced.append(text.substr(i, length));
        afterDouble = length == 2;
        i += length;
    }
    // Runs of blanks become one blank.
    std::string out;
    out.reserve(spaced.size());
    for (char c : spaced)
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    return std::string(gbk::trim(out));
}

}  // namespace tavricat
