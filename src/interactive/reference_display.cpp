#include "interactive/reference_display.h"

#include <algorithm>

namespace tavricat {

std::string ReferenceDisplay::text() const {
    std::string joined;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k) joined += "\r\n";
        joined += lines[k];
    }
    return joined;
}

std::string rateLabel(long percent) { return "[" + std::to_string(percent) + "%]"; }

ReferenceDisplay referenceOf(const std::string& source, long percent, const std::string& translation) {
    ReferenceDisplay display;
    const std::string label = rateLabel(percent);
    display.lines = {source, label + translation};
    // Exactly the label: the translation after it keeps its own colour.
    display.ranges.push_back({1, 0, label.size(), ReferenceColour::Blue, true, false});
    return display;
}

void markDifference(ReferenceDisplay& display, std::size_t start, std::size_t length) {
    if (display.lines.empty() || length == 0) return;
    const std::size_t size = display.lines[0].size();
    if (start >= size) return;
    display.ranges.push_back({0, start, std::min(length, size - start), ReferenceColour::Red, true, true});
}

}  // namespace tavricat
