#include "document/segment_detection.h"

#include <algorithm>

#include "document/markup.h"

namespace tavricat {

namespace {

// "{>" follows "<}" and the rate; the rate is short, so it is looked for only this far.
constexpr std::size_t kTargetStartReach = 20;

// Last `needle` ending at or before `before` and starting no earlier than `reach` bytes before
// it; npos when absent. The buffer's own backward search is unbounded, this one is not.
std::size_t findLastWithin(const RichText& buffer, std::string_view needle, std::size_t before, std::size_t reach) {
    if (before < needle.size()) return RichText::npos;
    const std::size_t floor = before > reach ? before - reach : 0;
    for (std::size_t pos = before - needle.size() + 1; pos-- > floor;)
        if (textscan::startsWith(buffer, pos, needle, before)) return pos;
    return RichText::npos;
}

// A caret directly before or inside "<*}" counts as after it: the end of a revised
// translation is where a caller leaves the caret, and the scan must go on from there.
std::size_t stepPastEndMarkers(const RichText& buffer, std::size_t pos) {
    for (bool moved = true; moved;) {
        moved = false;
        for (std::size_t back = 0; back < kSegmentEnd.size() && back <= pos; ++back) {
            if (textscan::startsWith(buffer, pos - back, kSegmentEnd, buffer.size())) {
                pos = pos - back + kSegmentEnd.size();
                moved = true;
                break;
            }
        }
    }
    return pos;
}

struct Located {
    std::size_t selStart = 0;
    std::size_t selLength = 0;
    std::size_t sentenceStart = 0;
    std::size_t sentenceLength = 0;
    bool revision = false;
};

Located locate(const RichText& buffer, std::size_t from, bool rawMode, const SentenceScan& scan) {
    std::size_t caret = std::min(from, buffer.size());
    caret = stepPastEndMarkers(buffer, textscan::alignToCharacter(buffer, caret));
    const SentenceSpan span = scan(buffer, caret);
    if (!rawMode) {
        if (auto segment = segmentAround(buffer, caret, span.start)) {
            return {segment->targetStart, segment->targetEnd - segment->targetStart, segment->sourceStart,
                    segment->sourceEnd - segment->sourceStart, true};
        }
    }
    return {span.start, span.end - span.start, span.start, span.end - span.start, false};
}

}  // namespace

std::optional<SegmentSpan> segmentAround(const RichText& buffer, std::size_t caret, std::size_t sentenceStart) {
    const std::size_t reachEnd = std::min(buffer.size(), std::max(caret, sentenceStart) + kMaxSegmentSpan);
    const std::size_t end = buffer.find(kSegmentEnd, caret, reachEnd);
    if (end == RichText::npos) return std::nullopt;
    const std::size_t start = findLastWithin(buffer, kSegmentStart, end, kMaxSegmentSpan);
    if (start == RichText::npos || start > sentenceStart) return std::nullopt;

    SegmentSpan span;
    span.start = start;
    span.sourceStart = start + kSegmentStart.size();
    span.sourceEnd = buffer.find(kSourceEnd, span.sourceStart, std::min(end, span.sourceStart + kMaxSegmentSpan));
    if (span.sourceEnd == RichText::npos) return std::nullopt;
    const std::size_t rateStart = span.sourceEnd + kSourceEnd.size();
    const std::size_t targetMark = buffer.find(kTargetStart, rateStart, std::min(end, rateStart + kTargetStartReach));
    if (targetMark == RichText::npos) return std::nullopt;
    span.targetStart = targetMark + kTargetStart.size();
    span.targetEnd = end;
    return span;
}

SentencePick pickSentence(RichText& buffer, bool rawMode, const SentenceScan& scan) {
    const std::size_t selStart = buffer.selStart();
    const std::size_t selLength = buffer.selLength();
    const bool kept = selLength >= kKeptSelectionLength;
    Located found = locate(buffer, kept ? selStart + selLength : selStart, rawMode, scan);
    // A short selection that is exactly this pick was picked before: go on after it.
    if (!kept && selLength > 0 && found.selStart == selStart && found.selLength == selLength)
        found = locate(buffer, selStart + selLength, rawMode, scan);
    buffer.select(found.selStart, found.selLength);
    SentencePick pick;
    pick.sentence = buffer.text(found.sentenceStart, found.sentenceLength);
    pick.revision = found.revision;
    return pick;
}

}  // namespace tavricat
