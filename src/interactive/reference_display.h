#pragma once
// The best example as the reference panels show it: its source line, then its rate label and
// translation, with coloured ranges a front end paints (the rate label blue and bold, the
// example's words that differ from the sentence red, bold and underlined).

#include <cstddef>
#include <string>
#include <vector>

namespace tavricat {

enum class ReferenceColour { Blue, Red };

// A range of one line, in bytes.
struct ColouredRange {
    std::size_t line = 0;
    std::size_t start = 0;
    std::size_t length = 0;
    ReferenceColour colour = ReferenceColour::Blue;
    bool bold = true;
    bool underline = false;
    friend bool operator==(const ColouredRange&, const ColouredRange&) = default;
};

struct ReferenceDisplay {
    std::vector<std::string> lines;
    std::vector<ColouredRange> ranges;

    bool empty() const { return lines.empty(); }
    // The lines joined by CR LF, as a text box holds them.
    std::string text() const;
};

// "[100%]" or "[71%]": the rate label of the translation line.
std::string rateLabel(long percent);

// The source line and the rate label + translation line; the label is coloured blue and
// bold. `translation` is shown as given (the caller adds blanks between Chinese characters).
ReferenceDisplay referenceOf(const std::string& source, long percent, const std::string& translation);

// Marks [start, start + length) of the source line as differing words (red, bold, underlined).
void markDifference(ReferenceDisplay& display, std::size_t start, std::size_t length);

}  // namespace tavricat
