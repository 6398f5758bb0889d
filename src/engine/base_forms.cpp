// Irregular forms of a sentence replaced by their base forms (verb.dat).

#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/morphology.h"
#include "engine/tokenizer.h"

namespace tavricat {

namespace {

// True when `text` + " " begins with `form` + " " (ASCII case ignored).
bool startsWithForm(std::string_view text, std::string_view form) {
    if (form.empty() || form.size() > text.size()) return false;
    if (compareListOrder(text.substr(0, form.size()), form) != 0) return false;
    return form.size() == text.size() || text[form.size()] == ' ';
}

std::string_view firstWord(std::string_view text) { return text.substr(0, text.find(' ')); }

std::string_view dropLeadingBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

}  // namespace

std::string toBaseForms(std::string_view text, const VerbFormLists& forms) {
    const std::vector<std::string>* formList = forms.formList;
    if (formList == nullptr || formList->empty()) return std::string(text);
    const std::vector<std::string>* baseList = forms.baseList;

    // What replaces `text`, the words matched by line i: its base form, or the text itself
    // when the line has no base form or one of another number of words (each base word
    // must stay in the place of its form's word, or every later word would shift against
    // its segment).
    auto baseOf = [&](std::size_t i, std::string_view words) -> std::string_view {
        if (baseList == nullptr || i >= baseList->size()) return words;
        const std::string_view base = gbk::trim((*baseList)[i]);
        if (base.empty() || countWords(base) != countWords(words)) return words;
        return base;
    };

    std::string output;
    std::string_view remaining = dropLeadingBlanks(text);
    std::string_view candidate = remaining;
    // Every pass either consumes a part of `remaining` or shortens `candidate` to its first
    // word, so the walk ends.
    while (!remaining.empty()) {
        std::size_t consumed = 0;
        SortedFind hit = findSorted(*formList, candidate);
        if (hit.found) {
            output += baseOf(hit.index, candidate);
            consumed = candidate.size();
        } else {
            std::size_t before = hit.index == 0 ? 0 : hit.index - 1;
            std::string_view form = (*formList)[before];
            if (startsWithForm(candidate, form)) {
                output += baseOf(before, candidate.substr(0, form.size()));
                consumed = form.size();
            } else if (candidate.find(' ') != std::string_view::npos) {
                candidate = firstWord(candidate);
                continue;
            } else {
                output += candidate;
                consumed = candidate.size();
            }
        }
        output += ' ';
        remaining = dropLeadingBlanks(remaining.substr(consumed));
        candidate = remaining;
    }
    return std::string(gbk::trim(output));
}

}  // namespace tavricat
