// The English-source sentence getter and the abbreviation lookup it consults.

#include <algorithm>
#include <utility>

#include "base/list_order.h"
#include "document/markup.h"
#include "document/segment_detection.h"
#include "document/sentence_getters.h"

namespace tavricat {

SortedListsLookup::SortedListsLookup(std::vector<const std::vector<std::string>*> lists) : m_lists(std::move(lists)) {}

bool SortedListsLookup::contains(std::string_view word) const {
    for (const auto* list : m_lists)
        if (list && findSorted(*list, word).found) return true;
    return false;
}

namespace {

using textscan::isDigit;

bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool isBlankOrBreak(unsigned char c) { return c == ' ' || c == '\r' || c == '\n'; }

constexpr unsigned char kTableCellEnd = 7;
constexpr std::size_t kShortestSentenceWord = 3;

// Step 1: the first byte from "!" to "{" that is not a segment end marker or (tagStop) a tag.
std::size_t findEnglishStart(const RichText& text, std::size_t pos, const BreakOptions& options) {
    const std::size_t n = text.size();
    while (pos < n) {
        const unsigned char c = text.byteAt(pos);
        if (gbk::isLeadByte(c)) {
            pos += textscan::charLength(text, pos, n);
            continue;
        }
        if (c < 0x21 || c > 0x7B) {
            ++pos;
            continue;
        }
        if (const std::size_t skipped = textscan::skippedBeforeSentence(text, pos, n, options)) {
            pos += skipped;
            continue;
        }
        break;
    }
    return pos;
}

// With CLStop off: a line break goes on into the next line when that line, after blanks,
// TABs and digits, starts with a letter and its first three bytes hold no ")" or "." (so
// neither "1) item" nor "a. item" nor an empty line joins).
bool nextLineContinues(const RichText& text, std::size_t pos) {
    const std::size_t n = text.size();
    while (pos < n) {
        const unsigned char c = text.byteAt(pos);
        if (c != ' ' && c != '\t' && !isDigit(c)) break;
        ++pos;
    }
    if (pos >= n || !isLetter(text.byteAt(pos))) return false;
    for (std::size_t k = pos; k < n && k < pos + 3; ++k) {
        const unsigned char c = text.byteAt(k);
        if (c == ')' || c == '.') return false;
    }
    return true;
}

// A "." or "!" at `mark`, followed by a blank or a line break: does it end the sentence?
bool fullStopEnds(const RichText& text, std::size_t start, std::size_t mark, const AbbreviationLookup& abbreviations) {
    const std::size_t n = text.size();
    if (text.byteAt(mark + 1) == ' ' && mark + 2 < n && isLower(text.byteAt(mark + 2))) return false;
    std::size_t word = mark;
    while (word > start && !isBlankOrBreak(text.byteAt(word - 1))) --word;
    const std::size_t length = mark + 1 - word;
    if (length < kShortestSentenceWord) return false;  // "m.", "A."
    for (std::size_t k = word; k < mark; ++k)
        if (text.byteAt(k) == '.') return false;  // "e.g.", "3.5."
    return !abbreviations.contains(text.text(word, length));
}

SentenceSpan scanEnglish(const RichText& text, std::size_t from, const BreakOptions& options,
                         const AbbreviationLookup& abbreviations) {
    const std::size_t n = text.size();
    const std::size_t start = findEnglishStart(text, from, options);
    if (start >= n) return {n, n};

    // Step 2: the deciding byte, or the last byte of the text when no mark decides.
    std::size_t last = n - 1;
    bool lastStartsCharacter = true;  // false when the text ends on a trail byte
    bool decided = false;
    std::size_t p = start;
    while (p + 1 < n) {
        const unsigned char c = text.byteAt(p);
        if (gbk::isLeadByte(c)) {
            p += 2;
            continue;
        }
        const unsigned char next = text.byteAt(p + 1);
        bool ends = false;
        bool takesBlank = false;
        switch (c) {
        case '\t':
        case kTableCellEnd:
            ends = options.TABkeyStop;
            break;
        case '\r':
            if (next == '\n') ends = options.CLStop || !nextLineContinues(text, p + 2);
            break;
        case '.':
        case '!':
            if (isBlankOrBreak(next)) {
                ends = fullStopEnds(text, start, p, abbreviations);
                takesBlank = next == ' ';
            }
            break;
        case ':':
        case ';':
        case '?':
            ends = isBlankOrBreak(next);
            takesBlank = next == ' ';
            break;
        case '<':
            ends = options.tagStop && textscan::looksLikeTag(text, p, n);
            break;
        case '{':
            // A "{*>" at the start belongs to the sentence, else the pick would be empty.
            ends = p > start && textscan::startsWith(text, p + 1, kSegmentStart.substr(1), n);
            break;
        default:
            break;
        }
        if (ends) {
            last = takesBlank ? p + 1 : p;
            decided = true;
            break;
        }
        p += (c == '\r' && next == '\n') ? 2 : 1;
    }
    if (!decided) lastStartsCharacter = p == n - 1;

    // Step 3: a deciding control byte, "<" or "{" is not part of the sentence.
    std::size_t end = last + 1;
    const unsigned char atLast = text.byteAt(last);
    if (lastStartsCharacter && (atLast < 14 || atLast == '<' || atLast == '{')) end = last;
    if (end <= start) end = start + textscan::charLength(text, start, n);
    return {start, end};
}

}  // namespace

SentencePick getASentEC(RichText& buffer, const BreakOptions& options, const AbbreviationLookup& abbreviations,
                        bool rawMode) {
    return pickSentence(buffer, rawMode, [&](const RichText& text, std::size_t from) {
        return scanEnglish(text, from, options, abbreviations);
    });
}

}  // namespace tavricat
