#include "termbase/grammar_edit.h"

#include "app/workbench.h"
#include "base/gbk.h"
#include "document/han_spacing.h"
#include "termbase/grammar_record.h"

namespace tavricat {

namespace {

constexpr std::size_t kImportedRecordLimit = 3000;

Status blankSource(std::string_view record) {
    return Status::error(ErrorKind::BadInput, "语法原文不能为空：" + std::string(record));
}

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

void logChange(Workbench& bench, const char* tag, const std::string& record) {
    bench.newGrammarEntries.push_back(tag + record);
    if (queuesGrammarChanges(bench.settings)) bench.toBeSent.push_back("B^" + (tag + record));
}

std::string spacedInCE(const Workbench& bench, std::string_view record) {
    return isCE(bench.direction()) ? AddSpaceInCChars(record) : std::string(record);
}

// Adds a record as it stands and logs it when the library changed.
Result<GrammarChange> addLogged(Workbench& bench, const std::string& record) {
    Result<GrammarChange> change = AddAGram(grammarScope(bench), record);
    if (change && *change == GrammarChange::Added) logChange(bench, "aa", record);
    return change;
}

}  // namespace

GrammarScope grammarScope(Workbench& bench) { return {bench.grammar, bench.engine, bench.analysisOptions()}; }

bool queuesGrammarChanges(const Settings& settings) {
    return (settings.shareMode == 1 || settings.shareMode == 3) && !settings.curShareLibName.empty();
}

Result<GrammarChange> AddAGram(const GrammarScope& scope, std::string_view record) {
    if (gbk::trim(record).empty()) return GrammarChange::None;
    Result<GrammarRecord> parsed = parseGrammarRecord(record);
    if (!parsed) return parsed.status();
    GrammarPlacementLines lines = grammarLinesFor(*parsed, scope.engine, scope.options);
    // An empty key would make a pattern that is found in every sentence.
    if (lines.key == "^") return blankSource(record);
    const AnchorRange range = findAnchorRange(scope.library, lines.anchor);
    for (std::size_t i = range.first; i < range.last && i < scope.library.entries.size(); ++i)
        if (scope.library.anchors[i] == lines.anchor && scope.library.entries[i] == lines.entry)
            return GrammarChange::AlreadyPresent;
    insertGrammarEntry(scope.library, std::move(lines.anchor), std::move(lines.entry));
    return GrammarChange::Added;
}

Result<GrammarChange> DelAgram(const GrammarScope& scope, std::string_view record) {
    if (gbk::trim(record).empty()) return GrammarChange::None;
    const GrammarRecord split = splitGrammarRecord(record);
    if (gbk::trim(split.source).empty()) return blankSource(record);
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

Result<GrammarChange> ImPortAGram(const GrammarScope& scope, std::string_view line) {
    if (line.rfind("aa", 0) == 0) return AddAGram(scope, cutOnCharBoundary(line.substr(2), kImportedRecordLimit));
    if (line.rfind("dd", 0) == 0) return DelAgram(scope, line.substr(2));
    return AddAGram(scope, line);
}

Result<GrammarChange> addGrammarPattern(Workbench& bench, std::string_view record) {
    return addLogged(bench, spacedInCE(bench, record));
}

Result<GrammarChange> deleteGrammarPattern(Workbench& bench, std::string_view record) {
    Result<GrammarChange> change = DelAgram(grammarScope(bench), record);
    if (change && *change == GrammarChange::Deleted) logChange(bench, "dd", std::string(record));
    return change;
}

Result<GrammarImportReport> importGrammarFile(Workbench& bench, const std::string& path) {
    Result<LineList> read = loadInputLines(bench.fs(), path);
    if (!read) return read.status();
    const LineList& lines = *read;

    GrammarImportReport report;
    report.lines = lines.size();
    const GrammarScope scope = grammarScope(bench);
    bench.progress().show("正在更新语法库，请等待...", 0, 0);
    for (const std::string& line : lines) {
        bench.progress().pump();
        Result<GrammarChange> change = ImPortAGram(scope, line);
        if (!change) {
            report.refused.push_back(change.status().message());
            continue;
        }
        switch (*change) {
            case GrammarChange::Added: ++report.added; break;
            case GrammarChange::Deleted: ++report.deleted; break;
            case GrammarChange::None: ++report.blank; break;
            case GrammarChange::AlreadyPresent:
            case GrammarChange::NotPresent: ++report.unchanged; break;
        }
    }
    bench.progress().hide();
    report.message = "语法更新完毕！共加入语法" + std::to_string(report.lines) + "条。";
    bench.dialogs().message(report.message);
    return report;
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

Result<bool> deletePlacementPermanently(Workbench& bench, LineList& lines, std::vector<MatchRecord>& matchTable,
                                        long selected) {
    const std::optional<std::size_t> start = placementPairStart(lines, selected);
    if (!start) return false;
    Result<GrammarChange> deleted = deleteGrammarPattern(bench, lines[*start] + "^^" + lines[*start + 1]);
    if (!deleted) return deleted.status();
    return dropPlacementForSentence(lines, matchTable, selected);
}

Result<GrammarChange> modifyPlacement(Workbench& bench, std::string_view oldSource, std::string_view oldTarget,
                                      std::string_view record) {
    if (gbk::trim(record).empty()) return GrammarChange::None;
    const std::string spaced = spacedInCE(bench, record);
    Result<GrammarRecord> parsed = parseGrammarRecord(spaced);
    if (!parsed) return parsed.status();
    const GrammarScope scope = grammarScope(bench);
    const std::string newKey = grammarPatternKey(parsed->source, scope.engine, scope.options);
    // Refused before the old pattern goes, so that a failed modification loses nothing.
    if (newKey.empty()) return blankSource(spaced);
    // The same source after the analysis: the record replaces the old pattern.
    if (newKey == grammarPatternKey(oldSource, scope.engine, scope.options)) {
        Result<GrammarChange> deleted =
            deleteGrammarPattern(bench, std::string(oldSource) + "^^" + std::string(oldTarget));
        if (!deleted) return deleted.status();
    }
    return addLogged(bench, spaced);
}

}  // namespace tavricat
