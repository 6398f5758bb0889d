#include "batch/project_exports.h"

#include "base/library_creation.h"
#include "batch/analysis_log.h"
#include "batch/analysis_marks.h"
#include "batch/project_words.h"
#include "memory/sentence_library.h"

namespace tavricat {

std::string exportedCountMessage(std::size_t count) { return "共导出 " + std::to_string(count) + " 个句子!"; }

Status checkMinRepeats(long minRepeats) {
    if (minRepeats >= kMinRepeatsLeast && minRepeats <= kMinRepeatsMost) return Status::ok();
    return Status::error(ErrorKind::Refused, "重复次数必须在2到9999之间。");
}

LineList repeatedNewSentences(const SentenceLibrary& library, long minRepeats) {
    LineList lines;
    for (const std::string& line : library.libSentences) {
        const std::optional<long> count = temporaryCount(line);
        if (!count || *count < minRepeats) continue;
        lines.push_back(temporarySentence(line));
        lines.push_back("");
    }
    return lines;
}

Result<LineList> unmatchedSentences(const SentenceLibrary& library, int lowerLimit) {
    if (lowerLimit < 1 || lowerLimit > 99) return Status::error(ErrorKind::Refused, kExportRateInvalid);
    return repeatedNewSentences(library, 1);
}

LineList projectExamples(const SentenceLibrary& library) {
    LineList lines;
    for (const std::string& line : library.libSentences) {
        const std::optional<std::size_t> mark = findEndMark(line, kUseMark);
        if (!mark || *mark < 3) continue;
        lines.push_back(line.substr(3, *mark - 3));
    }
    return lines;
}

Result<std::string> writeExport(FileSystem& fs, const std::string& path, const LineList& lines,
                                const std::string& extension) {
    const std::string target = withTxtExtension(path, extension);
    if (Status written = replaceLines(fs, target, lines); !written) return written;
    return target;
}

Result<std::string> exportProjectTermBase(FileSystem& fs, const std::string& userDataFolder, const LibraryInfo& info,
                                          const ProjectWords& words) {
    Result<std::string> created = createLibraryFiles(fs, userDataFolder, LibraryKind::TermBase, info);
    if (!created) return created;
    if (Status s = replaceLines(fs, joinPath(userDataFolder, *created + ".02"), words.entries()); !s) return s;
    if (Status s = replaceLines(fs, joinPath(userDataFolder, *created + ".01"), words.keys()); !s) return s;
    return created;
}

}  // namespace tavricat
