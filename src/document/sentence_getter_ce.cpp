// The Chinese-source sentence getter and its string form. One set of rules, written once over
// any text with size() and byteAt(), serves the buffer and the plain string.

#include <algorithm>

#include "document/markup.h"
#include "document/segment_detection.h"
#include "document/sentence_getters.h"

namespace tavricat {

namespace {

using textscan::isDigit;
using textscan::kNone;

// Double-byte marks that end a Chinese sentence; the full-width semicolon does not.
constexpr std::string_view kChineseStops = "。！：？";
// Marks absorbed after a stop: ASCII ones first, then full-width ones (whole characters).
constexpr std::string_view kAsciiClosingMarks = ")!,.:;?]}\"'";
constexpr std::string_view kChineseClosingMarks = "―‖’”…∶、。〃々〉》」』】〕〗！＂＇），．：；？］｀｜｝～￠";
// An ideographic blank, dropped from the front of a selected sentence.
constexpr std::string_view kIdeographicBlank = "　";

// True when the character (lead, trail) is one of the characters of `marks`; only whole
// characters of `marks` count, never a trail byte and the next lead byte.
bool isCharacterOf(std::string_view marks, unsigned char lead, unsigned char trail) {
    for (std::size_t k = 0; k + 1 < marks.size(); k += 2)
        if (static_cast<unsigned char>(marks[k]) == lead && static_cast<unsigned char>(marks[k + 1]) == trail)
            return true;
    return false;
}

// Step 1: the first byte that is not a control byte, blank or "}", a segment end marker or
// (tagStop) a tag.
template <class Text>
std::size_t findChineseStart(const Text& text, std::size_t pos, std::size_t limit, const BreakOptions& options) {
    while (pos < limit) {
        const unsigned char c = text.byteAt(pos);
        if ((c >= 1 && c <= 32) || c == '}') {
            ++pos;
            continue;
        }
        if (const std::size_t skipped = textscan::skippedBeforeSentence(text, pos, limit, options)) {
            pos += skipped;
            continue;
        }
        break;
    }
    return pos;
}

// With CLStop off, a line break ends the sentence only before a blank, TAB or digit -- and,
// as in English, before an empty line or the end of the text.
template <class Text>
bool lineBreakEnds(const Text& text, std::size_t afterBreak, std::size_t limit) {
    if (afterBreak >= limit) return true;
    const unsigned char c = text.byteAt(afterBreak);
    return c == ' ' || c == '\t' || isDigit(c) || c == '\r' || c == '\n';
}

// The "<" of the opening tag whose ":>" is at `colon`, if it lies after `start`; else kNone.
template <class Text>
std::size_t openingTagStart(const Text& text, std::size_t start, std::size_t colon) {
    std::size_t q = colon;
    while (q > start && isDigit(text.byteAt(q - 1))) --q;
    if (q == colon || q <= start + 1 || text.byteAt(q - 1) != '<') return kNone;
    return q - 1;
}

// Step 2: the end right after the stop mark (or on the tag's boundary); kNone without a stop.
// A sentence does not end at its first character, and never runs into a segment ("{*>").
template <class Text>
std::size_t findChineseStop(const Text& text, std::size_t start, std::size_t limit, const BreakOptions& options) {
    std::size_t p = start + textscan::charLength(text, start, limit);
    while (p < limit) {
        const unsigned char c = text.byteAt(p);
        if (gbk::isLeadByte(c) && p + 1 < limit) {
            if (isCharacterOf(kChineseStops, c, text.byteAt(p + 1))) return p + 2;
            p += 2;
            continue;
        }
        if (c == '\t' && options.TABkeyStop) return p + 1;
        if (p + 1 >= limit) break;
        const unsigned char next = text.byteAt(p + 1);
        if (c == '\r' && next == '\n') {
            if (options.CLStop || lineBreakEnds(text, p + 2, limit)) return p + 2;
            p += 2;
            continue;
        }
        if (options.tagStop && c == '<' && next == ':') {
            const std::size_t tag = textscan::tagLength(text, p, limit);
            return p + (tag ? tag : 2);  // a closing or isolated tag stays with its sentence
        }
        if (options.tagStop && c == ':' && next == '>') {
            const std::size_t open = openingTagStart(text, start, p);
            return open != kNone ? open : p + 2;  // an opening tag starts the next piece
        }
        if ((c == '.' || c == ':' || c == '!' || c == '?') && next == ' ') return p + 2;
        if (c == '{' && textscan::startsWith(text, p, kSegmentStart, limit)) return p;
        ++p;
    }
    return kNone;
}

// Step 3: closing marks right after the stop; whole characters only, so the sentence never
// takes in a byte of the character that follows.
template <class Text>
std::size_t absorbClosingMarks(const Text& text, std::size_t end, std::size_t limit) {
    while (end < limit && kAsciiClosingMarks.find(static_cast<char>(text.byteAt(end))) != std::string_view::npos)
        ++end;
    while (end + 1 < limit && isCharacterOf(kChineseClosingMarks, text.byteAt(end), text.byteAt(end + 1))) end += 2;
    return end;
}

SentenceSpan scanChinese(const RichText& text, std::size_t from, const BreakOptions& options) {
    const std::size_t n = text.size();
    std::size_t pos = from;
    for (;;) {
        std::size_t start = findChineseStart(text, pos, n, options);
        if (start >= n) return {n, n};
        const std::size_t stop = findChineseStop(text, start, n, options);
        std::size_t end = stop == kNone ? n : absorbClosingMarks(text, stop, n);
        // Step 4: trailing control bytes and leading ideographic blanks are not selected.
        while (end - start > 1 && text.byteAt(end - 1) <= 13) --end;
        while (end - start >= 2 && textscan::startsWith(text, start, kIdeographicBlank, end)) start += 2;
        if (end > start) return {start, end};
        pos = start;  // nothing but ideographic blanks: the sentence comes after them
    }
}

}  // namespace

SentencePick getASentCE(RichText& buffer, const BreakOptions& options, bool rawMode) {
    return pickSentence(buffer, rawMode,
                        [&](const RichText& text, std::size_t from) { return scanChinese(text, from, options); });
}

std::string nextChineseSentenceIn(std::string_view text, std::size_t& position, std::size_t limit, const BreakOptions& options) {
    limit = std::min(limit, text.size());
    if (position >= limit) return {};
    const ByteView view{text};
    const std::size_t start = findChineseStart(view, textscan::alignToCharacter(view, position), limit, options);
    if (start >= limit) {
        position = limit;
        return {};
    }
    const std::size_t stop = findChineseStop(view, start, limit, options);
    const std::size_t end = stop == kNone ? limit : absorbClosingMarks(view, stop, text.size());
    position = end;
    return std::string(text.substr(start, std::min(end, limit) - start));
}

}  // namespace tavricat
