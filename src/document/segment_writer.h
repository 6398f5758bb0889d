#pragma once
// Writing a confirmed translation into the bilingual buffer.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "document/rich_text.h"

namespace tavricat {

struct TargetWrite {
    double similarity = 9.99;        // of the reference the translation is based on; 9.99: none
    bool revising = false;           // the selection is an existing segment's translation
    bool automatic = false;          // automatic translation is running
    int userefmode = 1;              // what automatic translation does below the threshold
    int matchrate = 65;              // the threshold in percent
    std::uint32_t isoTagsColour = 8388736;
};

enum class TargetWriteResult {
    Written,     // a segment was written (or a revision replaced a translation)
    Skipped,     // nothing to write (empty translation, or left as it was by automatic mode 2)
};

// Why a translation holding segment markers cannot go into a document.
inline constexpr const char* kMarkersInTarget = "译文中含有双语标记 ({*> <} {> <*})，不能写入文档。";

// `addatarget`: writes `target` for the sentence selected in `buffer` (start S, length L).
//  - empty target: caret to S + L;
//  - revising: the selection (a segment's translation) is replaced, the caret goes after "<*}";
//  - automatic, below the threshold (rate truncated, or 999): mode 1 writes the source itself
//    as the translation, mode 2 leaves the sentence untranslated, mode 3 writes `target`;
//  - otherwise "{*>" source "<}" rate "{>" target "<*}" with the markers protected in the
//    marker format; the caret ends after "<*}".
// Refused (nothing changed, BadInput): a translation or source that holds a segment marker,
// since it would break the segment structure of the document.
Result<TargetWriteResult> addatarget(RichText& buffer, std::string_view target, const TargetWrite& how);

// A translation as automatic translation hands it to addatarget: followed by the blank that
// parts it from the next sentence, unless its last character is a double-byte one (Chinese
// sentences follow each other without a blank).
std::string withSentenceBlank(std::string_view translation);

}  // namespace tavricat
