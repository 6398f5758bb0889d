#include "document/han_spacing.h"

#include "base/gbk.h"

namespace tavricat {

bool hasCChars(std::string_view text) { return gbk::hasDoubleByte(text); }

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
