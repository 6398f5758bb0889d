#include "app/grammar_commands.h"

#include "app/workbench.h"
#include "base/encoding.h"
#include "base/gbk.h"
#include "document/han_spacing.h"
#include "grammar/grammar_record.h"

namespace tavricat {

namespace {

void logChange(Workbench& bench, const char* tag, const std::string& record) {
    bench.newGrammarEntries.push_back(tag + record);
    if (queuesGrammarChanges(bench.settings)) bench.toBeSent.push_back("B^" + (tag + record));
}

std::string spacedInCE(const Workbench& bench, std::string_view record) {
    return isCE(bench.direction()) ? AddSpaceInCChars(record) : std::string(record);
}

// Adds a record as it stands and logs it when the library changed.
Result<GrammarChange> addLogged(Workbench& bench, const std::string& record) {
    Result<GrammarChange> change = addGrammarRecord(grammarScope(bench), record);
    if (change && *change == GrammarChange::Added) logChange(bench, "aa", record);
    return change;
}

}  // namespace

GrammarScope grammarScope(Workbench& bench) { return {bench.grammar, bench.engine, bench.analysisOptions()}; }

bool queuesGrammarChanges(const Settings& settings) {
    return (settings.shareMode == 1 || settings.shareMode == 3) && !settings.curShareLibName.empty();
}

Result<GrammarChange> addGrammarPattern(Workbench& bench, std::string_view record) {
    return addLogged(bench, spacedInCE(bench, record));
}

Result<GrammarChange> deleteGrammarPattern(Workbench& bench, std::string_view record) {
    Result<GrammarChange> change = deleteGrammarRecord(grammarScope(bench), record);
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
        Result<GrammarChange> change = importGrammarLine(scope, line);
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
    if (newKey.empty()) return blankGrammarSource(spaced);
    // The same source after the analysis: the record replaces the old pattern.
    if (newKey == grammarPatternKey(oldSource, scope.engine, scope.options)) {
        Result<GrammarChange> deleted =
            deleteGrammarPattern(bench, std::string(oldSource) + "^^" + std::string(oldTarget));
        if (!deleted) return deleted.status();
    }
    return addLogged(bench, spaced);
}

}  // namespace tavricat
