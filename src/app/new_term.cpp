#include "app/new_term.h"

#include "app/grammar_commands.h"
#include "app/workbench.h"
#include "base/gbk.h"
#include "document/han_spacing.h"
#include "engine/analyser.h"
#include "engine/deleted_words.h"
#include "interactive/term_entry_text.h"

namespace tavricat {

namespace {

constexpr std::string_view kJournalledDeletion = "dddit ";

bool holdsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

void queueTermChange(Workbench& bench, std::string_view line) {
    // Terms and grammar patterns go to the shared library under the same rule.
    if (!queuesGrammarChanges(bench.settings)) return;
    std::string queued = "A^";
    queued += line;
    bench.toBeSent.push_back(std::move(queued));
}

std::string typedTermKey(Workbench& bench, std::string_view typed) {
    std::string text(gbk::trim(typed));
    if (isCE(bench.direction())) text = AddSpaceInCChars(text);
    if (text.empty()) return {};
    std::string spare;
    normSent(text, spare, bench.engine, bench.analysisOptions());
    return termKeyOfBaseWords(bench.engine.refSent);
}

Status storeNewTerm(Workbench& bench, const std::string& key, const std::string& value) {
    if (gbk::trim(key).empty() || key != gbk::trim(key))
        return Status::error(ErrorKind::BadInput, "A term key is neither empty nor padded with blanks.");
    TermEntryForm check;
    check.key = key;
    if (!isStorableForm(check) || holdsLineBreak(value))
        return Status::error(ErrorKind::BadInput, "A term key holds neither \"^\" nor a line break.");
    if (key.rfind(kJournalledDeletion, 0) == 0)
        return Status::error(ErrorKind::BadInput, "A term key cannot start with \"dddit \".");
    if (!bench.insertTermEntry(key, value))
        return Status::error(ErrorKind::Refused, "Already in the term base: " + key);
    std::string line = key;
    line += '^';
    line += value;
    queueTermChange(bench, line);
    bench.newUserWords.push_back(std::move(line));
    removeDeletedWord(bench.engine.deletedWords, key);
    return Status::ok();
}

Status deletePersonsTerm(Workbench& bench, const std::string& key, bool remember) {
    if (remember) addDeletedWord(bench.engine.deletedWords, key);
    if (!bench.removeTermEntry(key)) return Status::error(ErrorKind::NotFound, "Not in the term base: " + key);
    std::string line(kJournalledDeletion);
    line += key;
    queueTermChange(bench, line);
    bench.newUserWords.push_back(std::move(line));
    return Status::ok();
}

}  // namespace tavricat
