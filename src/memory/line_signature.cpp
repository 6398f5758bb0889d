#include "memory/line_signature.h"

#include "document/inline_tags.h"
#include "memory/sentence_library.h"

namespace tavricat {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

void LineSignature::addPairs(std::string_view text) {
    for (std::size_t k = 1; k < text.size(); ++k) {
        const std::uint32_t pair = (static_cast<std::uint32_t>(static_cast<unsigned char>(text[k - 1])) << 8) |
                                   static_cast<unsigned char>(text[k]);
        const std::uint32_t bit = (pair * 0x9E3779B1u) >> 24;  // 0..255
        m_pairs[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    }
}

LineSignature LineSignature::ofLine(std::string_view line) {
    LineSignature signature;
    signature.addPairs(line);
    // Tokens are searched as whole tokens of the source, whose ends count as blanks: the
    // pairs of a blank with its first and last byte are in the set even when the line lacks
    // those blanks.
    const std::string_view source = exampleSourceOf(line);
    if (!source.empty()) {
        const char first[2] = {' ', source.front()}, last[2] = {source.back(), ' '};
        signature.addPairs(std::string_view(first, 2));
        signature.addPairs(std::string_view(last, 2));
    }
    if (line.size() >= 2) {
        const int high = hexValue(line[0]), low = hexValue(line[1]);
        if (high >= 0 && low >= 0) signature.m_tokenCount = static_cast<std::int16_t>(high * 16 + low);
    }
    signature.m_hasTag = tavricat::hasTag(line);
    return signature;
}

LineSignature LineSignature::ofWord(std::string_view word) {
    LineSignature signature;
    signature.addPairs(word);
    return signature;
}

}  // namespace tavricat
