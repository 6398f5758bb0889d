#include "document/markup.h"

#include <cmath>

namespace tavricat {

int rateForSimilarity(double similarity) { return static_cast<int>(std::lround(similarity * 100.0)); }

bool containsMarker(std::string_view text) {
    for (std::string_view marker : {kSegmentStart, kSourceEnd, kTargetStart, kSegmentEnd})
        if (text.find(marker) != std::string_view::npos) return true;
    return false;
}

CharFormat markerFormat(const CharFormat& around, std::uint32_t isoTagsColour) {
    CharFormat format = around;
    format.charset = kCharsetGb2312;
    format.sizeHalfPoints = 16;
    format.colour = isoTagsColour;
    format.isProtected = true;
    return format;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos || from.empty()) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string fromWordForm(std::string_view text) {
    return replaceAll(replaceAll(text, kWordSegmentStart, kSegmentStart), kWordSegmentEnd, kSegmentEnd);
}

std::string toWordForm(std::string_view text) {
    return replaceAll(replaceAll(text, kSegmentStart, kWordSegmentStart), kSegmentEnd, kWordSegmentEnd);
}

}  // namespace tavricat
