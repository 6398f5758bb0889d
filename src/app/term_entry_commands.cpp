#include "app/term_entry_commands.h"

#include "app/new_term.h"
#include "app/workbench.h"
#include "base/gbk.h"
#include "document/han_spacing.h"
#include "grammar/translation_pipeline.h"
#include "interactive/term_entry_text.h"

namespace tavricat {

namespace {

Status unstorable() { return Status::error(ErrorKind::BadInput, "A term field holds a line break or a misplaced \"^\"."); }

// A new entry stored, or left alone when the term base has the key: the commands that create
// entries stop without a word then.
Result<TermEditOutcome> storedOrKept(Workbench& bench, const std::string& key, const std::string& value) {
    TermEditOutcome outcome;
    if (key.empty() || bench.engine.termBase.find(key).found) return outcome;
    if (Status stored = storeNewTerm(bench, key, value); !stored) return stored;
    outcome.changed = true;
    return outcome;
}

// The token's meanings and associations as the dialog left them, in the analysis and the area.
void showAdjustedToken(Workbench& bench, InteractiveArea& area, int token, const std::string& meanings,
                       const std::string& association) {
    stClass& sentence = bench.engine.workSent;
    const std::size_t slotIndex = static_cast<std::size_t>(token) + 1;
    if (slotIndex >= sentence.segTrans.size() || slotIndex >= sentence.segAssoc.size()) return;
    sentence.segTrans[slotIndex] = withAsciiBars(meanings);
    sentence.segAssoc[slotIndex] = withAsciiBars(association);
    orderByDomain(sentence, token + 1, bench.selectedDomainNames);
    area.setMeaning(token, firstMeaningOf(sentence.segTrans[slotIndex]));
}

}  // namespace

Result<TermEditOutcome> addNewTerm(Workbench& bench) {
    TermEntryForm form = termEntryForm(kAddTermCaption);
    if (!bench.dialogs().editTermEntry(form)) return TermEditOutcome{};
    if (!isStorableForm(form)) return unstorable();
    return storedOrKept(bench, typedTermKey(bench, form.key), termValueOf(form));
}

Result<TermEditOutcome> definePhrase(Workbench& bench, InteractiveArea& area, const TranslationBoxText& box,
                                     RichText* document) {
    const PhraseProposal proposal = phraseOfMarkedTokens(area, bench.engine.workSent, bench.direction());
    for (const int token : proposal.tokens) area.toggleMarked(token);
    if (proposal.key.empty() || bench.engine.termBase.find(proposal.key).found) return TermEditOutcome{};

    TermEntryForm form =
        termEntryForm(kDefinePhraseCaption, proposal.key, box.selected.empty() ? proposal.meanings : box.selected);
    if (!bench.dialogs().editTermEntry(form)) return TermEditOutcome{};
    if (!isStorableForm(form)) return unstorable();
    // The key as the dialog left it, at its own sorted place; a key edited into one the term
    // base holds is left alone as well.
    const std::string key(gbk::trim(gbk::asciiLower(form.key)));
    Result<TermEditOutcome> outcome = storedOrKept(bench, key, termValueOf(form));
    if (outcome && outcome->changed && document)
        outcome->rerun = rerunKeepingBox(bench, *document, TranslateTrigger::Selection, box, &area);
    return outcome;
}

Result<TermEditOutcome> adjustCurrentWord(Workbench& bench, InteractiveArea& area) {
    const int token = area.currentWord();
    const stClass& sentence = bench.engine.workSent;
    const std::size_t slotIndex = static_cast<std::size_t>(token) + 1;
    if (token < 0 || static_cast<std::size_t>(token) >= area.size() || slotIndex >= sentence.segKeys.size())
        return TermEditOutcome{};
    const std::string key(gbk::trim(sentence.segKeys[slotIndex]));
    if (key.empty()) return TermEditOutcome{};

    // The key is the token's: the dialog shows the word as written and does not let it change.
    TermEntryForm form = termEntryForm(kAdjustMeaningsCaption, std::string(gbk::trim(area.token(static_cast<std::size_t>(token)).text)));
    form.keyEditable = false;
    const SortedFind found = bench.engine.termBase.find(key);
    if (found.found) fillValueFields(form, bench.engine.termBase.termEntries[found.index]);
    if (!bench.dialogs().editTermEntry(form)) return TermEditOutcome{};
    if (!isStorableForm(form)) return unstorable();

    TermEditOutcome outcome;
    if (found.found) {
        const std::string storedKey = bench.engine.termBase.termKeys[found.index];
        const std::string value = typedTermValueOf(form);
        if (!bench.replaceTermEntry(found.index, value))
            return Status::error(ErrorKind::BadInput, "The term lists are out of step.");
        // Journalled as a deletion and a new entry, so that a replay after an abnormal end
        // gives exactly this entry rather than a merge with the old one.
        bench.newUserWords.push_back("dddit " + storedKey);
        bench.newUserWords.push_back(storedKey + "^" + value);
        outcome.changed = true;
        showAdjustedToken(bench, area, token, form.meanings, form.association);
        return outcome;
    }
    Result<TermEditOutcome> created = storedOrKept(bench, key, termValueOf(form));
    if (created && created->changed)
        showAdjustedToken(bench, area, token, ClearSpaceInCChars(form.meanings), ClearSpaceInCChars(form.association));
    return created;
}

Result<TermEditOutcome> deleteTermByName(Workbench& bench) {
    const std::optional<std::string> typed = bench.dialogs().inputBox(kDeleteTermCaption, kDeleteTermPrompt, "");
    if (!typed || gbk::trim(*typed).empty()) return TermEditOutcome{};
    const std::string key = typedTermKey(bench, *typed);
    TermEditOutcome outcome;
    if (key.empty() || !bench.engine.termBase.find(key).found) {
        bench.dialogs().message(kNoSuchTerm);
        return outcome;
    }
    if (Status deleted = deletePersonsTerm(bench, key, true); !deleted) return deleted;
    outcome.changed = true;
    return outcome;
}

}  // namespace tavricat
