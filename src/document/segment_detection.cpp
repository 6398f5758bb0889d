#include "document/segment_detection.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "document/markup.h"

namespace tavricat {

namespace {

// "{>" follows "<}" and the rate; the rate is short, so it is looked for only this far.
constexpr std::size_t kTargetStartReach = 20;

// How far around a position the segment markers are looked for directly before the marker
// list of the whole buffer is consulted.
constexpr std::size_t kNearReach = 4096;

struct Marker {
    std::size_t pos = RichText::npos;  // npos: none
    bool isStart = false;              // "{*>"; else "<*}"
};

// Every "{*>" and "<*}" of one buffer in order, found in one pass over the text and kept
// while its text stamp stays. A walk through a document that is not changed meanwhile (the
// segment command, a run that leaves sentences as they are) asks again and again for markers
// far away; a walk that writes segments finds them near and never needs the list.
const std::vector<Marker>& markerList(const RichText& buffer) {
    struct Cache {
        bool filled = false;
        std::uint64_t stamp = 0;
        std::vector<Marker> markers;
    };
    thread_local Cache cache;
    if (cache.filled && cache.stamp == buffer.textStamp()) return cache.markers;
    cache.markers.clear();
    std::size_t start = buffer.find(kSegmentStart, 0);
    std::size_t end = buffer.find(kSegmentEnd, 0);
    while (start != RichText::npos || end != RichText::npos) {
        if (start < end) {
            cache.markers.push_back({start, true});
            start = buffer.find(kSegmentStart, start + kSegmentStart.size());
        } else {
            cache.markers.push_back({end, false});
            end = buffer.find(kSegmentEnd, end + kSegmentEnd.size());
        }
    }
    cache.filled = true;
    cache.stamp = buffer.textStamp();
    return cache.markers;
}

// The last marker starting in [from, to] found directly, or none.
Marker lastMarkerIn(const RichText& buffer, std::size_t from, std::size_t to) {
    Marker found;
    const std::size_t limit = std::min(buffer.size(), to + kSegmentStart.size());
    for (std::size_t p = buffer.find(kSegmentStart, from, limit); p != RichText::npos;
         p = buffer.find(kSegmentStart, p + 1, limit))
        found = {p, true};
    for (std::size_t p = buffer.find(kSegmentEnd, from, limit); p != RichText::npos; p = buffer.find(kSegmentEnd, p + 1, limit))
        if (found.pos == RichText::npos || p > found.pos) found = {p, false};
    return found;
}

// The last marker starting at or before `pos`, or none.
Marker markerBefore(const RichText& buffer, std::size_t pos) {
    const std::size_t from = pos > kNearReach ? pos - kNearReach : 0;
    Marker near = lastMarkerIn(buffer, from, pos);
    if (near.pos != RichText::npos || from == 0) return near;
    const std::vector<Marker>& markers = markerList(buffer);
    auto after = std::upper_bound(markers.begin(), markers.end(), pos,
                                  [](std::size_t p, const Marker& m) { return p < m.pos; });
    return after == markers.begin() ? Marker{} : *(after - 1);
}

// The first marker starting at or after `pos`, or none.
Marker markerAfter(const RichText& buffer, std::size_t pos) {
    const std::size_t reach = std::min(buffer.size(), pos + kNearReach);
    const std::size_t start = buffer.find(kSegmentStart, pos, reach);
    const std::size_t end = buffer.find(kSegmentEnd, pos, reach);
    if (start != RichText::npos || end != RichText::npos) return start < end ? Marker{start, true} : Marker{end, false};
    if (reach == buffer.size()) return {};
    const std::vector<Marker>& markers = markerList(buffer);
    auto at = std::lower_bound(markers.begin(), markers.end(), pos,
                               [](const Marker& m, std::size_t p) { return m.pos < p; });
    return at == markers.end() ? Marker{} : *at;
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
    // A segment end the scan stepped over: the caret stood in that segment.
    std::size_t end = sentenceStart > caret ? buffer.find(kSegmentEnd, caret, sentenceStart) : RichText::npos;
    std::size_t start = RichText::npos;
    if (end != RichText::npos) {
        const Marker before = end > 0 ? markerBefore(buffer, end - 1) : Marker{};
        if (before.pos == RichText::npos || !before.isStart) return std::nullopt;
        start = before.pos;
    } else {
        const Marker before = markerBefore(buffer, sentenceStart);
        if (before.pos == RichText::npos || !before.isStart) return std::nullopt;
        start = before.pos;
        const Marker after = markerAfter(buffer, start + kSegmentStart.size());
        if (after.pos == RichText::npos || after.isStart) return std::nullopt;
        end = after.pos;
    }

    SegmentSpan span;
    span.start = start;
    span.sourceStart = start + kSegmentStart.size();
    span.sourceEnd = buffer.find(kSourceEnd, span.sourceStart, end);
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
