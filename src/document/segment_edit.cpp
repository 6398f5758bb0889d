#include "document/segment_edit.h"

#include "document/markup.h"
#include "document/markup_check.h"

namespace tavricat {

namespace {

struct SegmentRange {
    std::size_t begin = 0;  // the first "{*>"
    std::size_t end = 0;    // just after the last "<*}"
};

Status notInSegments() {
    return Status::error(ErrorKind::Refused, "选定的文字不在句段中。");
}

// The segments the selection begins and ends in.
Result<SegmentRange> selectedSegments(const RichText& text) {
    const std::size_t selStart = text.selStart();
    const std::size_t selEnd = selStart + text.selLength();
    const std::size_t e = selEnd >= 4 ? selEnd - 4 : 0;
    // Segments may be of any length: the end is searched to the end of the text.
    const std::size_t close = text.find(kSegmentEnd, e);
    if (close == RichText::npos) return notInSegments();
    const std::size_t openAfterE = text.find(kSegmentStart, e, close);
    if (openAfterE != RichText::npos) return notInSegments();  // the selection ends outside a segment

    const std::size_t lastOpen = text.findBackward(kSegmentStart, selStart);
    const std::size_t lastClose = text.findBackward(kSegmentEnd, selStart);
    SegmentRange range;
    if (lastClose != RichText::npos && (lastOpen == RichText::npos || lastClose > lastOpen)) return notInSegments();
    range.begin = lastOpen != RichText::npos ? lastOpen : text.find(kSegmentStart, 0);
    if (range.begin == RichText::npos || range.begin > close) return notInSegments();
    range.end = close + kSegmentEnd.size();
    return range;
}

// Joins the following segments of `r` into its first segment.
void mergeInPlace(RichText& r, Direction direction) {
    const bool blankBetweenSources = direction == Direction::EC;
    const bool blankBetweenTranslations = direction == Direction::CE;
    std::size_t a = r.find(kSourceEnd, 0);
    // Sources: each following segment's "{*>" source "<}" moves to the end of the first source.
    for (std::size_t s; (s = r.find(kSegmentStart, a)) != RichText::npos;) {
        std::size_t e = r.find(kSourceEnd, s);
        if (e == RichText::npos) break;  // checked before; never walk past a broken segment
        RichText source = r.copyRange(s + kSegmentStart.size(), e - s - kSegmentStart.size());
        r.erase(s, e + kSourceEnd.size() - s);
        if (blankBetweenSources) {
            r.insert(a, " ", r.formatForInsertAt(a));
            ++a;
        }
        r.replaceWith(a, 0, source);
        a += source.size();
    }
    // Translations: each following "{>" translation "<*}" joins the end of the first one.
    std::size_t firstEnd = r.find(kSegmentEnd, a);
    std::size_t scan = firstEnd + kSegmentEnd.size();
    for (std::size_t t; (t = r.find(kTargetStart, scan)) != RichText::npos;) {
        std::size_t d = r.find(kSegmentEnd, t);
        if (d == RichText::npos) break;
        RichText translation = r.copyRange(t + kTargetStart.size(), d - t - kTargetStart.size());
        std::size_t inserted = translation.size();
        if (blankBetweenTranslations) {
            r.insert(firstEnd, " ", r.formatForInsertAt(firstEnd));
            ++firstEnd;
            ++inserted;
        }
        r.replaceWith(firstEnd, 0, translation);
        firstEnd += translation.size();
        scan = d + kSegmentEnd.size() + inserted;
    }
    r.erase(firstEnd + kSegmentEnd.size(), r.size());
}

}  // namespace

Status mergeSegments(Document& document, Direction direction) {
    RichText& bilingual = document.bilingual;
    Result<SegmentRange> range = selectedSegments(bilingual);
    if (!range) return range.status();
    // The transformation assumes well-formed segments; anything else is left untouched.
    if (!checkMarkup(bilingual.text(range->begin, range->end - range->begin)).empty())
        return Status::error(ErrorKind::BadInput, "选定的句段标记不完整，不能合并。");
    RichText& work = document.target;
    work = bilingual.copyRange(range->begin, range->end - range->begin);
    work.setAlwaysEditable(true);
    mergeInPlace(work, direction);
    // One undo step: undo brings back the segments, their markers and protection.
    RichText::UndoStep step(bilingual);
    RichText::ProgramEdit edit(bilingual);
    bilingual.replaceWith(range->begin, range->end - range->begin, work);
    bilingual.setCaret(range->begin);
    work.clear();
    return Status::ok();
}

Status untranslateSegment(Document& document) {
    RichText& bilingual = document.bilingual;
    Result<SegmentRange> range = selectedSegments(bilingual);
    if (!range) return range.status();
    // Only the segment the selection begins in.
    const std::size_t ownEnd = bilingual.find(kSegmentEnd, range->begin, range->end);
    range->end = ownEnd + kSegmentEnd.size();
    if (!checkMarkup(bilingual.text(range->begin, range->end - range->begin)).empty())
        return Status::error(ErrorKind::BadInput, "选定的句段标记不完整，不能拆分。");
    RichText& work = document.target;
    work = bilingual.copyRange(range->begin, range->end - range->begin);
    work.setAlwaysEditable(true);
    work.changeFormat(0, work.size(), [](CharFormat& f) { f.isProtected = false; });
    work.erase(0, kSegmentStart.size());
    work.erase(work.find(kSourceEnd, 0), work.size());
    // One undo step: undo brings back the segments, their markers and protection.
    RichText::UndoStep step(bilingual);
    RichText::ProgramEdit edit(bilingual);
    bilingual.replaceWith(range->begin, range->end - range->begin, work);
    bilingual.select(range->begin, work.size());
    work.clear();
    return Status::ok();
}

}  // namespace tavricat
