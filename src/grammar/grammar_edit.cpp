#include "grammar/grammar_edit.h"

#include "base/gbk.h"
#include "grammar/grammar_record.h"

namespace tavricat {

namespace {

constexpr std::size_t kImportedRecordLimit = 3000;

// The part of an entry after its "~>": the target with the anchor replaced.
std::string_view targetPart(std::string_view entry) {
    for (std::size_t i = 0; i + 1 < entry.size(); i += gbk::charLength(entry, i))
        if (entry[i] == '~' && entry[i + 1] == '>' && gbk::charLength(entry, i) == 1) return entry.substr(i + 2);
    return {};
}

// `text` cut to at most `limit` bytes without splitting a double-byte character.
std::string_view cutOnCharBoundary(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + gbk::charLength(text, end);
        if (next > limit) break;
        end = next;
    }
    return text.substr(0, end);
}

}  // namespace

Status blankGrammarSource(std::string_view record) {
    return Status::error(ErrorKind::BadInput, "语法原文不能为空：" + std::string(record));
}

Result<GrammarChange> addGrammarRecord(const GrammarScope& scope, std::string_view record) {
    if (gbk::trim(record).empty()) return GrammarChange::None;
    Result<GrammarRecord> parsed = parseGrammarRecord(record);
    if (!parsed) return parsed.status();
    GrammarPlacementLines lines = grammarLinesFor(*parsed, scope.engine, scope.options);
    // An empty key would make a pattern that is found in every sentence.
    if (lines.key == "^") return blankGrammarSource(record);
    const AnchorRange range = findAnchorRange(scope.library, lines.anchor);
    for (std::size_t i = range.first; i < range.last && i < scope.library.entries.size(); ++i)
        if (scope.library.anchors[i] == lines.anchor && scope.library.entries[i] == lines.entry)
            return GrammarChange::AlreadyPresent;
    insertGrammarEntry(scope.library, std::move(lines.anchor), std::move(lines.entry));
    return GrammarChange::Added;
}

Result<GrammarChange> deleteGrammarRecord(const GrammarScope& scope, std::string_view record) {
    if (gbk::trim(record).empty()) return GrammarChange::None;
    const GrammarRecord split = splitGrammarRecord(record);
    if (gbk::trim(split.source).empty()) return blankGrammarSource(record);
    const GrammarPlacementLines lines = grammarLinesFor(split, scope.engine, scope.options);
    const AnchorRange range = findAnchorRange(scope.library, lines.anchor);
    const LineList& entries = scope.library.entries;

    // The first line of the anchor, then the others from the last one backwards; among the
    // lines that begin with the key, the closest match to the whole record wins.
    std::vector<std::size_t> order;
    if (!range.empty()) order.push_back(range.first);
    for (std::size_t i = range.last; i > range.first + 1; --i) order.push_back(i - 1);
    const std::string_view wantedTarget = targetPart(lines.entry);
    std::optional<std::size_t> chosen;
    int chosenScore = 0;
    for (std::size_t i : order) {
        if (i >= entries.size() || entries[i].rfind(lines.key, 0) != 0) continue;
        const int score = entries[i] == lines.entry ? 3 : targetPart(entries[i]) == wantedTarget ? 2 : 1;
        if (score > chosenScore) {
            chosen = i;
            chosenScore = score;
        }
    }
    if (!chosen) return GrammarChange::NotPresent;
    eraseGrammarEntry(scope.library, *chosen);
    return GrammarChange::Deleted;
}

Result<GrammarChange> importGrammarLine(const GrammarScope& scope, std::string_view line) {
    if (line.rfind("aa", 0) == 0) return addGrammarRecord(scope, cutOnCharBoundary(line.substr(2), kImportedRecordLimit));
    if (line.rfind("dd", 0) == 0) return deleteGrammarRecord(scope, line.substr(2));
    return addGrammarRecord(scope, line);
}

std::optional<std::size_t> placementPairStart(const LineList& lines, long selected) {
    if (selected < 0) return std::nullopt;
    const std::size_t start = static_cast<std::size_t>(selected) - static_cast<std::size_t>(selected) % 2;
    if (start + 1 >= lines.size()) return std::nullopt;
    return start;
}

bool dropPlacementForSentence(LineList& lines, std::vector<MatchRecord>& matchTable, long selected) {
    const std::optional<std::size_t> start = placementPairStart(lines, selected);
    if (!start) return false;
    for (MatchRecord& record : matchTable)
        if (record.pattern == lines[*start] && record.templ == lines[*start + 1]) record.first = MatchRecord::kDisabled;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*start),
                lines.begin() + static_cast<std::ptrdiff_t>(*start + 2));
    return true;
}

}  // namespace tavricat
