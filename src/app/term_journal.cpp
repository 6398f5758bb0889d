#include "app/term_journal.h"

#include <string>

#include "base/gbk.h"
#include "engine/term_import.h"

namespace tavricat {

namespace {

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

Status addTermEdit(Workbench& bench, std::string_view key, std::string_view entry) {
    const std::string_view trimmedKey = gbk::trim(key);
    if (trimmedKey.empty() || gbk::trim(entry).empty())
        return Status::error(ErrorKind::BadInput, "A term needs a key and an entry.");
    if (trimmedKey.find('^') != std::string_view::npos || hasLineBreak(trimmedKey) || hasLineBreak(entry))
        return Status::error(ErrorKind::BadInput, "A term key holds neither \"^\" nor a line break.");
    // The key must not read as a journalled deletion.
    if (trimmedKey.rfind("dddit ", 0) == 0)
        return Status::error(ErrorKind::BadInput, "A term key cannot start with \"dddit \".");
    std::string line(trimmedKey);
    line += '^';
    line += entry;
    // The edit and its replay take the same path, so a recovered term base equals this one.
    TermImportCounts counts;
    bench.applyTermEdit(line, &counts);
    if (counts.added + counts.merged == 0)
        return Status::error(ErrorKind::BadInput, "The key gives no words to store: " + std::string(trimmedKey));
    bench.newUserWords.push_back(std::move(line));
    return Status::ok();
}

Status replaceTermEdit(Workbench& bench, std::string_view key, std::string_view entry) {
    const std::string_view trimmedKey = gbk::trim(key);
    if (gbk::trim(entry).empty() || hasLineBreak(entry))
        return Status::error(ErrorKind::BadInput, "A term entry is neither empty nor more than one line.");
    const SortedFind found = bench.engine.termBase.find(trimmedKey);
    if (!found.found) return Status::error(ErrorKind::NotFound, "Not in the term base: " + std::string(trimmedKey));
    if (!bench.replaceTermEntry(found.index, std::string(entry)))
        return Status::error(ErrorKind::BadInput, "The term lists are out of step.");
    std::string line(trimmedKey);
    line += '^';
    line += entry;
    bench.newUserWords.push_back(std::move(line));
    return Status::ok();
}

Status deleteTermEdit(Workbench& bench, std::string_view key) {
    const std::string_view trimmedKey = gbk::trim(key);
    if (!bench.engine.termBase.find(trimmedKey).found)
        return Status::error(ErrorKind::NotFound, "Not in the term base: " + std::string(trimmedKey));
    std::string line = "dddit " + std::string(trimmedKey);
    bench.applyTermEdit(line);
    bench.newUserWords.push_back(std::move(line));
    return Status::ok();
}

}  // namespace tavricat
