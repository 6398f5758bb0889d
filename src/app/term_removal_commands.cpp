#include "app/term_removal_commands.h"

#include "app/new_term.h"
#include "app/workbench.h"
#include "base/gbk.h"
#include "engine/deleted_words.h"

namespace tavricat {

namespace {

// The trimmed segment key of the area's current token; empty when there is none.
std::string currentKey(const Workbench& bench, const InteractiveArea& area) {
    const int token = area.currentWord();
    const std::vector<std::string>& keys = bench.engine.workSent.segKeys;
    const std::size_t slotIndex = static_cast<std::size_t>(token) + 1;
    if (token < 0 || static_cast<std::size_t>(token) >= area.size() || slotIndex >= keys.size()) return {};
    return std::string(gbk::trim(keys[slotIndex]));
}

}  // namespace

TermEditOutcome deleteCurrentWord(Workbench& bench, InteractiveArea& area, const TranslationBoxText& box,
                                  RichText& document) {
    TermEditOutcome outcome;
    const std::string key = currentKey(bench, area);
    if (key.empty() || !bench.dialogs().askYesNo(kConfirmDeleteWord)) return outcome;
    outcome.changed = addDeletedWord(bench.engine.deletedWords, key);
    if (!deletePersonsTerm(bench, key, false)) return outcome;
    outcome.changed = true;
    outcome.rerun = rerunKeepingBox(bench, document, TranslateTrigger::Selection, box, &area);
    return outcome;
}

TermEditOutcome splitCurrentPhrase(Workbench& bench, InteractiveArea& area, const TranslationBoxText& box,
                                   RichText& document) {
    TermEditOutcome outcome;
    const std::string key = gbk::asciiLower(currentKey(bench, area));
    if (!isSplittablePhrase(key)) return outcome;
    std::optional<std::string> removed = bench.removeTermEntry(key);
    if (!removed) return outcome;
    bench.sentenceState.PendingRestore.push_back(std::move(*removed));
    addDeletedWord(bench.engine.deletedWords, key);
    outcome.changed = true;
    outcome.rerun = rerunKeepingBox(bench, document, TranslateTrigger::PhraseSplit, box, &area);
    return outcome;
}

}  // namespace tavricat
