#include "document/markup_check.h"

#include "document/markup.h"

namespace tavricat {

namespace {

enum class Marker { None, SegmentStart, SourceEnd, TargetStart, SegmentEnd };

Marker markerAt(std::string_view text, std::size_t pos) {
    std::string_view rest = text.substr(pos);
    if (rest.starts_with(kSegmentStart)) return Marker::SegmentStart;
    if (rest.starts_with(kSourceEnd)) return Marker::SourceEnd;
    if (rest.starts_with(kTargetStart)) return Marker::TargetStart;
    if (rest.starts_with(kSegmentEnd)) return Marker::SegmentEnd;
    return Marker::None;
}

std::size_t markerLength(Marker m) {
    switch (m) {
        case Marker::SegmentStart: return kSegmentStart.size();
        case Marker::SourceEnd: return kSourceEnd.size();
        case Marker::TargetStart: return kTargetStart.size();
        case Marker::SegmentEnd: return kSegmentEnd.size();
        case Marker::None: return 1;
    }
    return 1;
}

std::string at(std::size_t pos) { return "（位置 " + std::to_string(pos) + "）"; }

}  // namespace

std::vector<MarkupProblem> checkMarkup(std::string_view text) {
    std::vector<MarkupProblem> problems;
    // What the next marker of a well-formed segment is; None while outside a segment.
    Marker expected = Marker::SegmentStart;
    std::size_t segmentStart = 0, sourceEnd = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t next = text.find_first_of("{<", pos);
        if (next == std::string_view::npos) break;
        Marker m = markerAt(text, next);
        pos = next + markerLength(m);
        if (m == Marker::None) continue;
        if (m == expected) {
            if (m == Marker::SegmentStart) segmentStart = next;
            if (m == Marker::SourceEnd) sourceEnd = next;
            if (m == Marker::TargetStart) {
                std::string_view rate = text.substr(sourceEnd + kSourceEnd.size(), next - sourceEnd - kSourceEnd.size());
                if (rate.empty() || rate.find_first_not_of("0123456789") != std::string_view::npos)
                    problems.push_back({sourceEnd, "句段的匹配率不是数字" + at(sourceEnd)});
            }
            expected = m == Marker::SegmentStart ? Marker::SourceEnd
                     : m == Marker::SourceEnd   ? Marker::TargetStart
                     : m == Marker::TargetStart ? Marker::SegmentEnd
                                                : Marker::SegmentStart;
            continue;
        }
        if (expected == Marker::SegmentStart) {
            problems.push_back({next, "句段标记位置不对，前面没有句段开始标记 {*>" + at(next)});
            continue;
        }
        if (m == Marker::SegmentStart) {
            problems.push_back({segmentStart, "句段没有结束标记 <*}" + at(segmentStart)});
            segmentStart = next;
            expected = Marker::SourceEnd;
            continue;
        }
        problems.push_back({next, "句段中的标记顺序不对" + at(next)});
    }
    if (expected != Marker::SegmentStart) problems.push_back({segmentStart, "句段没有结束标记 <*}" + at(segmentStart)});
    return problems;
}

}  // namespace tavricat
