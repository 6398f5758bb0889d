#include "document/target_conversion.h"

#include "base/gbk.h"
#include "document/markup.h"

namespace tavricat {

namespace {

void report(Progress* progress, std::size_t position, std::size_t length) {
    if (!progress || length == 0) return;
    progress->setPosition(static_cast<int>(position * 100 / length));
    progress->pump();
}

// CR and LF become blanks, then each pair of blanks one blank (one pass), then trimmed.
std::string flattenLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return std::string(gbk::trim(replaceAll(text, "  ", " ")));
}

// A "^" of its own, not the trail byte of a double-byte character.
bool holdsCaret(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += gbk::charLength(text, i))
        if (text[i] == '^') return true;
    return false;
}

// A segment whose translation is its source, byte for byte (automatic translation copies an
// unmatched sentence), keeps the source: its formats and the layout inside it (a hyperlink,
// a page-number field) stay exactly as the document had them. Marker at `a`, "{>" at `b`.
bool keepSourceOfCopy(RichText& buffer, std::size_t a, std::size_t b) {
    const std::size_t sourceStart = a + kSegmentStart.size();
    const std::size_t sourceEnd = buffer.find(kSourceEnd, sourceStart, b);
    if (sourceEnd == RichText::npos) return false;
    const std::size_t targetStart = b + kTargetStart.size();
    const std::size_t end = buffer.find(kSegmentEnd, targetStart);
    if (end == RichText::npos) return false;
    const std::size_t length = sourceEnd - sourceStart;
    if (end - targetStart != length || buffer.text(sourceStart, length) != buffer.text(targetStart, length)) return false;
    if (containsMarker(buffer.text(sourceStart, length))) return false;
    if (!buffer.erase(sourceEnd, end + kSegmentEnd.size() - sourceEnd)) return false;
    return buffer.erase(a, kSegmentStart.size());
}

}  // namespace

void cleanup(RichText& buffer, Progress* progress) {
    RichText::UndoStep undoStep(buffer);  // one step, not one per removed marker
    RichText::ProgramEdit edit(buffer);
    const std::size_t length = buffer.size();
    std::size_t caret = 0;
    for (int step = 1;; ++step) {
        std::size_t a = buffer.find(kSegmentStart, caret);
        if (a == RichText::npos) break;
        std::size_t b = buffer.find(kTargetStart, caret);
        if (b == RichText::npos) break;
        if (a < b && keepSourceOfCopy(buffer, a, b)) {
            caret = a;
            continue;
        }
        // Start marker, source and rate go and the caret stays; should the buffer refuse,
        // the walk still moves on.
        if (a < b && buffer.erase(a, b + kTargetStart.size() - a)) {
            caret = a;
        } else {
            caret = a + kSegmentStart.size();
        }
        if (step % 5 == 0) report(progress, caret, length);
    }
    for (int pass = 0; pass < 2; ++pass) {
        std::size_t pos = 0;
        while ((pos = buffer.find(kSegmentEnd, pos)) != RichText::npos)
            if (!buffer.erase(pos, kSegmentEnd.size())) pos += kSegmentEnd.size();
    }
    report(progress, length, length);
    buffer.setCaret(0);
}

PairExtraction extractSentencePairs(const RichText& buffer, Progress* progress) {
    PairExtraction result;
    const std::size_t length = buffer.size();
    std::size_t pos = 0;
    for (int step = 1;; ++step) {
        std::size_t a = buffer.find(kSegmentStart, pos);
        if (a == RichText::npos) break;
        std::size_t b = buffer.find(kSourceEnd, a + kSegmentStart.size());
        if (b == RichText::npos) break;
        std::size_t c = buffer.find(kTargetStart, b + kSourceEnd.size());
        if (c == RichText::npos) break;
        std::size_t d = buffer.find(kSegmentEnd, c + kTargetStart.size());
        if (d == RichText::npos) break;
        pos = d + kSegmentEnd.size();
        std::string source = buffer.text(a + kSegmentStart.size(), b - a - kSegmentStart.size());
        if (containsMarker(source)) {
            result.nested.push_back(a);
            continue;
        }
        std::string target = buffer.text(c + kTargetStart.size(), d - c - kTargetStart.size());
        source = flattenLine(std::move(source));
        target = flattenLine(std::move(target));
        if (source.empty() || target.empty() || holdsCaret(source) ||
            containsMarker(target)) {
            result.refused.push_back(a);
            continue;
        }
        result.pairs.push_back(source + "^" + target);
        if (step % 5 == 0) report(progress, pos, length);
    }
    report(progress, length, length);
    return result;
}

}  // namespace tavricat
