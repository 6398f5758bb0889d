#pragma once
// What the translator can take away from a project analysis, read from the library as the
// last analysis left it (its temporary entries and use marks, analysis_marks.h) and from the
// project word list. Each list is returned as lines; the write functions put it in a file.

#include <cstddef>
#include <string>

#include "base/library_info.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "base/status.h"

namespace tavricat {

class SentenceLibrary;
class ProjectWords;

inline constexpr const char* kExportRateInvalid = "匹配率必须 0-100 之间的整数!";
inline constexpr const char* kProjectTermBaseExported = "项目词库导出完毕!";

// "共导出 " + count + " 个句子!"
std::string exportedCountMessage(std::size_t count);

// How often a new sentence must repeat for the person's export of repeated sentences: once
// would be every new sentence, which has an export of its own.
inline constexpr long kMinRepeatsLeast = 2;
inline constexpr long kMinRepeatsMost = 9999;
// Ok for kMinRepeatsLeast..kMinRepeatsMost, else Refused with the message to show.
Status checkMinRepeats(long minRepeats);

// New sentences that occurred at least `minRepeats` times, each followed by an empty line.
LineList repeatedNewSentences(const SentenceLibrary& library, long minRepeats);
// Every new (unmatched) sentence, each followed by an empty line. Refused with
// kExportRateInvalid unless the lower limit is an integer 1..99.
Result<LineList> unmatchedSentences(const SentenceLibrary& library, int lowerLimit);
// The examples the project used, in the sentence-file (.exs) form: tokens, " ^", translation.
LineList projectExamples(const SentenceLibrary& library);

// Writes `lines` to `path` with its extension forced to `extension` ("txt", "exs"); returns
// the path written.
Result<std::string> writeExport(FileSystem& fs, const std::string& path, const LineList& lines,
                                const std::string& extension);

// A new term base in `userDataFolder` from the library-information answers, holding the
// project words (.01) and their entries (.02). Returns its native name; a taken or empty
// name is refused as library creation refuses it.
Result<std::string> exportProjectTermBase(FileSystem& fs, const std::string& userDataFolder, const LibraryInfo& info,
                                          const ProjectWords& words);

}  // namespace tavricat
