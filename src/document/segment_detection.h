#pragma once
// What the two sentence getters share: byte-walking helpers that work on the buffer and on a
// plain string alike, the search for the segment a caret stands in, and the driver that turns
// a getter's scan into a pick (where to start, revision, selection).

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "base/gbk.h"
#include "document/markup.h"
#include "document/rich_text.h"
#include "document/sentence_getters.h"

namespace tavricat {

// A string seen through the byte access of RichText (size(), byteAt()), so one template
// serves both.
struct ByteView {
    std::string_view text;
    std::size_t size() const { return text.size(); }
    unsigned char byteAt(std::size_t pos) const { return static_cast<unsigned char>(text[pos]); }
};

namespace textscan {

inline constexpr std::size_t kNone = static_cast<std::size_t>(-1);

inline bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Length of the character at `pos` (1 or 2); a lead byte whose trail would lie at or past
// `limit` counts as one byte.
template <class Text>
std::size_t charLength(const Text& text, std::size_t pos, std::size_t limit) {
    return (pos + 1 < limit && gbk::isLeadByte(text.byteAt(pos))) ? 2 : 1;
}

// True when `needle` lies at `pos` and ends at or before `limit`.
template <class Text>
bool startsWith(const Text& text, std::size_t pos, std::string_view needle, std::size_t limit) {
    if (limit > text.size()) limit = text.size();
    if (pos > limit || needle.size() > limit - pos) return false;
    for (std::size_t k = 0; k < needle.size(); ++k)
        if (text.byteAt(pos + k) != static_cast<unsigned char>(needle[k])) return false;
    return true;
}

// True when the "<" at `pos` is followed by a digit or ":" -- what tagStop reacts to.
template <class Text>
bool looksLikeTag(const Text& text, std::size_t pos, std::size_t limit) {
    if (pos + 1 >= limit) return false;
    const unsigned char next = text.byteAt(pos + 1);
    return isDigit(next) || next == ':';
}

// Length of the inline tag at `pos` ("<n:>", "<:n>" or "<:n:>"); 0 when none starts there.
template <class Text>
std::size_t tagLength(const Text& text, std::size_t pos, std::size_t limit) {
    if (pos >= limit || text.byteAt(pos) != '<') return 0;
    std::size_t q = pos + 1;
    const bool leadingColon = q < limit && text.byteAt(q) == ':';
    if (leadingColon) ++q;
    const std::size_t digits = q;
    while (q < limit && isDigit(text.byteAt(q))) ++q;
    if (q == digits) return 0;
    const bool trailingColon = q < limit && text.byteAt(q) == ':';
    if (trailingColon) ++q;
    if (!(leadingColon || trailingColon) || q >= limit || text.byteAt(q) != '>') return 0;
    return q + 1 - pos;
}

// Before a sentence starts: the length of a segment end marker ("<*}") at `pos`, or with
// tagStop of an inline tag there (at least 1 for a "<" that only looks like one); 0 when
// neither lies at `pos`.
template <class Text>
std::size_t skippedBeforeSentence(const Text& text, std::size_t pos, std::size_t limit, const BreakOptions& options) {
    if (pos >= limit || text.byteAt(pos) != '<') return 0;
    if (startsWith(text, pos, kSegmentEnd, limit)) return kSegmentEnd.size();
    if (options.tagStop && looksLikeTag(text, pos, limit)) return std::max<std::size_t>(1, tagLength(text, pos, limit));
    return 0;
}

// Moves `pos` to the next character when it falls on the second byte of a double-byte
// character. The byte before a run of lead-valued bytes always ends a character, so the
// parity of the run decides; runs longer than the reach are taken as aligned.
template <class Text>
std::size_t alignToCharacter(const Text& text, std::size_t pos) {
    constexpr std::size_t kReach = 1024;
    if (pos == 0 || pos >= text.size()) return pos;
    std::size_t runStart = pos;
    while (runStart > 0 && gbk::isLeadByte(text.byteAt(runStart - 1))) {
        --runStart;
        if (pos - runStart > kReach) return pos;
    }
    return ((pos - runStart) % 2 == 1) ? pos + 1 : pos;
}

}  // namespace textscan

// Where the parts of one segment lie: "{*>" at start, the source [sourceStart, sourceEnd),
// the translation [targetStart, targetEnd), "<*}" at targetEnd.
struct SegmentSpan {
    std::size_t start = 0;
    std::size_t sourceStart = 0;
    std::size_t sourceEnd = 0;
    std::size_t targetStart = 0;
    std::size_t targetEnd = 0;
};

// The segment the caret stands in: the one whose "<*}" lies between `caret` and
// `sentenceStart` (the scan stepped over it), else the one whose "{*>" is the last segment
// marker at or before `sentenceStart` and whose "<*}" is the next marker after it. Segments
// may be of any length. nullopt when there is none or its markup is broken (a marker of the
// wrong kind where the start or end should be, "<}" missing, or "{>" not within 20 bytes
// after "<}"). `caret` <= `sentenceStart`. Time: a few kilobytes of text around the two
// positions, plus one pass over the buffer when no marker lies that near and the text has
// changed since the last such pass.
std::optional<SegmentSpan> segmentAround(const RichText& buffer, std::size_t caret, std::size_t sentenceStart);

// A getter's scan: the sentence [start, end) found from `from`; start == buffer.size() when
// nothing but skippable bytes remains. A scan never returns start == end before the end.
struct SentenceSpan {
    std::size_t start = 0;
    std::size_t end = 0;
};
using SentenceScan = std::function<SentenceSpan(const RichText& buffer, std::size_t from)>;

// Runs a getter: applies the starting rules (selection, alignment, end markers), the scan and,
// unless in raw mode, segment detection; selects the result and returns it.
SentencePick pickSentence(RichText& buffer, bool rawMode, const SentenceScan& scan);

}  // namespace tavricat
