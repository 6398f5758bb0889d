#pragma once
// The irregular-form table "verb.dat" (program folder): a block-scrambled text file
// (engine/block_file.h), one form per line in list order, each with its base form:
// "went" -> "go", "children" -> "child". A form or base form may hold several words.
//
// Line layout (bytes; every GBK byte counts as one character of the line):
//   form field  bytes [0, 30)    the form, padded with blanks
//   base field  bytes [29, 129)  the base form; it starts at the 30th character, so it
//                                overlaps the form field by its last byte
// Both fields are trimmed. The overlap is harmless because a form is at most 29 bytes, so
// byte 29 is always a padding blank: the writer below lays lines out that way, and the base
// form itself starts at byte 30 (at most 99 bytes).

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/status.h"

namespace tavricat {

inline constexpr std::size_t kVerbFormFieldBytes = 30;
inline constexpr std::size_t kVerbBaseStart = 29;
inline constexpr std::size_t kVerbBaseFieldBytes = 100;
inline constexpr std::size_t kVerbFormMaxBytes = kVerbFormFieldBytes - 1;                     // 29
inline constexpr std::size_t kVerbBaseMaxBytes = kVerbBaseStart + kVerbBaseFieldBytes - 30;  // 99

struct VerbForms {
    LineList formList;  // sorted in list order
    LineList baseList;  // baseList[i] is the base form of formList[i]

    // The base form of `form` (ASCII case ignored); empty when the form is not listed.
    std::string baseOf(std::string_view form) const;
};

// Splits the text lines of verb.dat into the two lists. Lines whose base form has another
// number of words than the form ("comics" -> "comic strip") are left out. Lines whose form field is blank are
// skipped; forms out of list order are sorted together with their base forms.
VerbForms parseVerbForms(const LineList& lines);

// Loads verb.dat; a missing file gives empty lists. Fails only when the file exists but
// cannot be read.
Result<VerbForms> loadVerbForms(FileSystem& fs, const std::string& path);

// One verb.dat line for the pair (both trimmed first).
// Refused (BadInput) when the form is empty or longer than 29 bytes, the base form is longer
// than 99 bytes, or either holds CR, LF or a zero byte.
Result<std::string> verbFormLine(std::string_view form, std::string_view base);

// Writes verb.dat (through a scratch file and a rename) from (form, base form) pairs, sorted
// stably in list order of the forms. Refused, with nothing written, when any pair is.
Status writeVerbForms(FileSystem& fs, const std::string& path,
                      std::vector<std::pair<std::string, std::string>> pairs);

}  // namespace tavricat
