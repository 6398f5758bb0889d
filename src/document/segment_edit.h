#pragma once
// Merging the selected segments into one, and turning a segment back into plain source.
// Both act on the segments that the bilingual selection begins and ends in; a selection that
// does not begin and end inside segments changes nothing.

#include "base/direction.h"
#include "base/status.h"
#include "document/document.h"

namespace tavricat {

// "合并选定句": one segment with the first segment's rate, the sources joined (with a blank
// between English sources) and the translations joined (with a blank between English
// translations). A range whose markup is broken is refused and left as it is.
Status mergeSegments(Document& document, Direction direction);

// "拆分当前句": the segment the selection begins in becomes its source again, as plain
// unprotected text. Only that one segment changes, even when the selection runs on into
// further segments.
Status untranslateSegment(Document& document);

}  // namespace tavricat
