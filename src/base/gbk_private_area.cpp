#include "base/gbk_private_area.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tavricat::gbk {

namespace {

constexpr std::uint32_t kHeldCharacters[] = {
#include "base/gbk_private_area_table.inc"
};

// The user-defined codes in the order they are given out: AAA1-AFFE, F8A1-FEFE, A140-A7A0.
std::vector<std::uint16_t> userDefinedCodes() {
    std::vector<std::uint16_t> codes;
    auto rows = [&](int firstLead, int lastLead, int firstTrail, int lastTrail) {
        for (int lead = firstLead; lead <= lastLead; ++lead)
            for (int trail = firstTrail; trail <= lastTrail; ++trail)
                if (trail != 0x7F) codes.push_back(static_cast<std::uint16_t>(lead << 8 | trail));
    };
    rows(0xAA, 0xAF, 0xA1, 0xFE);
    rows(0xF8, 0xFE, 0xA1, 0xFE);
    rows(0xA1, 0xA7, 0x40, 0xA0);
    return codes;
}

struct Tables {
    std::vector<std::pair<std::uint32_t, std::uint16_t>> byCodePoint;  // sorted by code point
    std::vector<std::uint32_t> byCode = std::vector<std::uint32_t>(0x10000, 0);
};

const Tables& tables() {
    static const Tables built = [] {
        Tables t;
        const std::vector<std::uint16_t> codes = userDefinedCodes();
        static_assert(std::size(kHeldCharacters) <= 1894, "more characters than user-defined codes");
        for (std::size_t i = 0; i < std::size(kHeldCharacters); ++i) {
            t.byCodePoint.emplace_back(kHeldCharacters[i], codes[i]);
            t.byCode[codes[i]] = kHeldCharacters[i];
        }
        std::sort(t.byCodePoint.begin(), t.byCodePoint.end());
        return t;
    }();
    return built;
}

}  // namespace

std::uint16_t privateAreaCodeOf(std::uint32_t codePoint) {
    const auto& list = tables().byCodePoint;
    auto it = std::lower_bound(list.begin(), list.end(), std::make_pair(codePoint, std::uint16_t{0}));
    return it != list.end() && it->first == codePoint ? it->second : 0;
}

std::uint32_t unicodeOfPrivateArea(unsigned char lead, unsigned char trail) {
    return tables().byCode[static_cast<std::size_t>(lead) << 8 | trail];
}

}  // namespace tavricat::gbk
