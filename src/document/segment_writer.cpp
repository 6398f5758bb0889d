#include "document/segment_writer.h"

#include <cmath>
#include <string>

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
    buffer.insert(at, translation, translationFormat);
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
