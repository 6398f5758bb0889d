#pragma once
// Stepping through UTF-8 text a character at a time, where it arrives from outside the core.

#include <cstddef>

namespace tavricat::encoding {

// The length of the UTF-8 sequence that `lead` starts (1 for a stray byte).
constexpr std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace tavricat::encoding
