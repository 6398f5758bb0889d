#pragma once
// The character format of a stretch of rich text.

#include <cstdint>
#include <string>

namespace tavricat {

// Windows character-set numbers as rich text stores them.
inline constexpr int kCharsetAnsi = 0;
inline constexpr int kCharsetGb2312 = 134;

struct CharFormat {
    std::string fontName = "宋体";  // GBK, as the RTF font table holds it
    int sizeHalfPoints = 20;        // 10 points
    std::uint32_t colour = 0;       // Windows colour value: blue << 16 | green << 8 | red
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool isProtected = false;
    int charset = kCharsetGb2312;

    bool operator==(const CharFormat&) const = default;
};

}  // namespace tavricat
