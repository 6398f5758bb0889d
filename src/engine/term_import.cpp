#include "engine/term_import.h"

#include <algorithm>

#include "base/gbk.h"
#include "base/line_list.h"
#include "document/han_spacing.h"
#include "engine/bar_lists.h"
#include "engine/engine.h"

namespace tavricat {

namespace {
constexpr std::string_view kDeletePrefix = "dddit ";
}  // namespace

std::string mergeTermValues(std::string_view oldValue, std::string_view newValue) {
    if (oldValue == newValue) return std::string(oldValue);
    std::vector<std::string> oldFields = splitFields(oldValue, '^');
    std::vector<std::string> newFields = splitFields(newValue, '^');
    const std::size_t count = std::max(oldFields.size(), newFields.size());
    oldFields.resize(count);
    newFields.resize(count);
    std::vector<std::string> merged(count);
    for (std::size_t f = 0; f < count; ++f)
        merged[f] = oldFields[f] == newFields[f] ? oldFields[f] : dedupBar(newFields[f] + "|" + oldFields[f]);
    return joinFields(merged, '^');
}

void importTermLine(Engine& engine, const AnalysisOptions& options, std::string_view line, TermImportCounts* counts) {
    if (counts) ++counts->processed;
    const std::size_t caret = line.find('^');
    std::string key(line.substr(0, caret));
    if (key.rfind(kDeletePrefix, 0) == 0) {
        std::string doomed(gbk::trim(std::string_view(key).substr(kDeletePrefix.size())));
        SortedFind found = engine.termBase.find(doomed);
        if (found.found) {
            engine.termBase.removeAt(found.index);
            if (counts) ++counts->deleted;
        }
        return;
    }
    if (caret == std::string_view::npos) return;  // a key alone only matters as a deletion
    const std::string value = ClearSpaceInCChars(line.substr(caret + 1));

    std::string spare;
    normSent(key, spare, engine, options);
    std::string normalised = segmentKeyOf(engine.refSent);
    // An empty term base gives no segments: the key then stands as its analysed words.
    if (normalised.empty()) normalised = baseWordKeyOf(engine.refSent);
    if (normalised.empty()) return;
    SortedFind found = engine.termBase.find(normalised);
    if (found.found) {
        engine.termBase.replaceEntryAt(found.index, mergeTermValues(engine.termBase.termEntries[found.index], value));
        if (counts) ++counts->merged;
    } else {
        engine.termBase.insertAt(found.index, normalised, value);
        if (counts) ++counts->added;
    }
}

Result<TermImportCounts> impAtemfileWord(Engine& engine, const AnalysisOptions& options, FileSystem& fs,
                                         const std::string& path) {
    Result<LineList> lines = loadInputLines(fs, path);
    if (!lines) return lines.status();
    TermImportCounts counts;
    for (const std::string& line : *lines)
        if (!gbk::trim(line).empty()) importTermLine(engine, options, line, &counts);
    return counts;
}

}  // namespace tavricat
