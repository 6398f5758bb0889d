#include "document/segment_writer.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "base/gbk.h"
#include "document/markup.h"

namespace tavricat {

namespace {

// The rate truncated to a whole percent, as the threshold compares it. The small allowance
// keeps 0.29 × 100 (28.999...) at 29.
int truncatedRate(double similarity) { return static_cast<int>(std::floor(similarity * 100.0 + 1e-9)); }

bool belowThreshold(const TargetWrite& how) {
    int r = truncatedRate(how.similarity);
    return r < how.matchrate || r == 999;
}

bool isAsciiWordByte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The source itself as the translation: its text with its formats. The layout inside the
// source stays with the source; the target keeps the source of such a segment whole.
void insertSourceCopy(RichText& buffer, std::size_t at, std::size_t sourceAt, std::size_t length,
                      std::string_view rest, const CharFormat& restFormat) {
    RichText copy = buffer.copyRange(sourceAt, length);
    copy.layout().assign({});
    copy.append(rest, restFormat);
    buffer.replaceWith(at, 0, copy);
}

// The words of ASCII letters and digits of a GBK text, with their offsets (a trail byte that
// looks like a letter is not one).
std::vector<std::pair<std::string_view, std::size_t>> asciiWords(std::string_view text) {
    std::vector<std::pair<std::string_view, std::size_t>> words;
    for (std::size_t i = 0; i < text.size();) {
        if (!isAsciiWordByte(text[i])) {
            i += gbk::charLength(text, i);
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && isAsciiWordByte(text[end])) ++end;
        words.emplace_back(text.substr(i, end - i), i);
        i = end;
    }
    return words;
}

// Words of ASCII letters and digits the translation shares with the source (names, model
// numbers, units, terms left untranslated) take the format they have in the source.
void carrySharedWordFormats(RichText& buffer, std::size_t at, std::string_view translation, std::size_t sourceAt,
                            std::string_view source, const CharFormat& translationFormat) {
    const auto sourceWords = asciiWords(source);
    for (const auto& [word, offset] : asciiWords(translation)) {
        if (word.size() < 2) continue;
        for (const auto& [candidate, sourceOffset] : sourceWords) {
            if (candidate != word) continue;
            CharFormat format = buffer.formatAt(sourceAt + sourceOffset);
            format.isProtected = false;
            if (!(format == translationFormat)) buffer.setFormat(at + offset, word.size(), format);
            break;
        }
    }
}

// A field inside the source (a hyperlink) whose shown text the translation repeats (a web
// address, a product name) is put around that text of the translation too, so that the
// target links it as the document did.
void carryInlineFields(RichText& buffer, std::size_t at, std::string_view translation, std::size_t sourceAt,
                       std::size_t sourceEnd) {
    std::vector<LayoutPiece> added;
    const std::vector<LayoutPiece>& pieces = buffer.layout().pieces();
    for (std::size_t i = buffer.layout().firstAtOrAfter(sourceAt + 1); i < pieces.size() && pieces[i].pos < sourceEnd; ++i) {
        if (!pieces[i].rtf.starts_with("{\\field")) continue;
        // The field's opening pieces stand at one place, its two closing braces at the end of
        // its shown text.
        const std::size_t opened = pieces[i].pos;
        std::size_t j = i;
        while (j < pieces.size() && pieces[j].pos == opened) ++j;
        if (j + 1 >= pieces.size() || pieces[j].rtf != "}" || pieces[j + 1].rtf != "}" ||
            pieces[j].pos != pieces[j + 1].pos || pieces[j].pos >= sourceEnd)
            continue;
        const std::string shown = buffer.text(opened, pieces[j].pos - opened);
        const std::size_t found = shown.size() >= 2 ? translation.find(shown) : std::string_view::npos;
        if (found == std::string_view::npos) continue;
        for (std::size_t k = i; k < j; ++k) added.push_back({at + found, pieces[k].rtf, pieces[k].side});
        for (std::size_t k = j; k < j + 2; ++k) added.push_back({at + found + shown.size(), "}", LayoutPiece::Side::Closes});
        i = j + 1;
    }
    for (LayoutPiece& piece : added) buffer.layout().add(std::move(piece));
}

}  // namespace

Result<TargetWriteResult> addatarget(RichText& buffer, std::string_view target, const TargetWrite& how) {
    const std::size_t start = buffer.selStart();
    const std::size_t length = buffer.selLength();
    if (target.empty()) {
        buffer.setCaret(start + length);
        return TargetWriteResult::Skipped;
    }
    if (containsMarker(target))
        return Status::error(ErrorKind::BadInput, kMarkersInTarget);

    RichText::UndoStep step(buffer);  // a written segment is undone as a whole
    RichText::ProgramEdit edit(buffer);
    if (how.revising) {
        CharFormat format = buffer.formatForInsertAt(start);
        format.isProtected = false;
        format.charset = kCharsetGb2312;
        buffer.replace(start, length, target, format);
        buffer.setCaret(start + target.size() + kSegmentEnd.size());
        return TargetWriteResult::Written;
    }

    const std::string source = buffer.text(start, length);
    if (containsMarker(source))
        return Status::error(ErrorKind::BadInput, "原文句子中含有双语标记，不能再次生成双语句段。");

    std::string translation(target);
    if (how.automatic && how.userefmode != 3 && belowThreshold(how)) {
        if (how.userefmode == 2) {
            buffer.setCaret(start + length);
            return TargetWriteResult::Skipped;
        }
        translation = source;
    }

    const CharFormat around = length ? buffer.formatAt(start) : buffer.formatForInsertAt(start);
    const CharFormat marker = markerFormat(around, how.isoTagsColour);
    CharFormat translationFormat = length ? buffer.formatAt(start + length - 1) : around;
    translationFormat.isProtected = false;
    translationFormat.charset = kCharsetGb2312;

    const std::string middle = std::string(kSourceEnd) + std::to_string(rateForSimilarity(how.similarity)) +
                               std::string(kTargetStart);
    // Front to back, so that the buffer's gap moves forward only.
    buffer.insert(start, kSegmentStart, marker);
    std::size_t at = start + kSegmentStart.size() + length;
    buffer.insert(at, middle, marker);
    at += middle.size();
    const std::size_t sourceAt = start + kSegmentStart.size();
    if (length > 0 && translation.starts_with(source) &&
        gbk::trim(std::string_view(translation).substr(source.size())).empty()) {
        insertSourceCopy(buffer, at, sourceAt, length, std::string_view(translation).substr(source.size()), translationFormat);
    } else {
        buffer.insert(at, translation, translationFormat);
        carrySharedWordFormats(buffer, at, translation, sourceAt, source, translationFormat);
        carryInlineFields(buffer, at, translation, sourceAt, sourceAt + length);
    }
    at += translation.size();
    buffer.insert(at, kSegmentEnd, marker);
    at += kSegmentEnd.size();
    buffer.setCaret(at);
    return TargetWriteResult::Written;
}

std::string withSentenceBlank(std::string_view translation) {
    std::size_t last = translation.size();
    for (std::size_t i = 0; i < translation.size(); i += gbk::charLength(translation, i)) last = i;
    std::string out(translation);
    if (last == translation.size() || gbk::charLength(translation, last) != 2) out += ' ';
    return out;
}

}  // namespace tavricat
