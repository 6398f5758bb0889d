#include "interactive/term_entry_text.h"

#include "base/gbk.h"
#include "document/han_spacing.h"
#include "engine/bar_lists.h"
#include "engine/sentence_analysis.h"
#include "interactive/interactive_area.h"

namespace tavricat {

namespace {

constexpr std::string_view kFullWidthBar = "｜";

// A single-byte `c` in GBK text, trail bytes skipped.
bool holdsByte(std::string_view text, char c) {
    for (std::size_t i = 0; i < text.size(); i += gbk::charLength(text, i))
        if (text[i] == c) return true;
    return false;
}

bool holdsLineBreak(std::string_view text) { return holdsByte(text, '\r') || holdsByte(text, '\n'); }

const std::string& slot(const std::vector<std::string>& slots, std::size_t i) {
    static const std::string kEmpty;
    return i < slots.size() ? slots[i] : kEmpty;
}

}  // namespace

std::string termKeyOfBaseWords(const stClass& analysis) {
    std::vector<std::string_view> words;
    for (std::int32_t k = 1; k <= analysis.wordCount; ++k) {
        const std::string_view word = gbk::trim(slot(analysis.baseWords, static_cast<std::size_t>(k)));
        if (!word.empty()) words.push_back(word);
    }
    std::string key;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const bool attachedStop = i > 0 && i + 1 == words.size() && words[i] == ".";
        if (i > 0 && !attachedStop) key += ' ';
        key += words[i];
    }
    return key;
}

std::string typedTermValueOf(const TermEntryForm& form) {
    return joinFields({form.meanings, form.association, form.partOfSpeech, form.attribute}, '^');
}

std::string termValueOf(const TermEntryForm& form) { return ClearSpaceInCChars(typedTermValueOf(form)); }

void fillValueFields(TermEntryForm& form, std::string_view entry) {
    std::vector<std::string> fields = splitFields(entry, '^', 4);
    fields.resize(4);
    form.meanings = fields[0];
    form.association = fields[1];
    form.partOfSpeech = fields[2];
    form.attribute = fields[3];
}

bool isStorableForm(const TermEntryForm& form) {
    for (const std::string* field : {&form.key, &form.meanings, &form.association, &form.partOfSpeech, &form.attribute})
        if (holdsLineBreak(*field)) return false;
    for (const std::string* field : {&form.key, &form.meanings, &form.association, &form.partOfSpeech})
        if (holdsByte(*field, '^')) return false;
    return true;
}

std::string withAsciiBars(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = gbk::charLength(text, i);
        if (text.substr(i, length) == kFullWidthBar) out += '|';
        else out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

PhraseProposal phraseOfMarkedTokens(const InteractiveArea& area, const stClass& workSent, Direction direction) {
    PhraseProposal proposal;
    const bool ce = isCE(direction);
    for (const int i : area.markedTokens()) {
        proposal.tokens.push_back(i);
        const std::string_view key = gbk::trim(slot(workSent.segKeys, static_cast<std::size_t>(i) + 1));
        if (!key.empty()) {
            if (!proposal.key.empty()) proposal.key += ' ';
            proposal.key += key;
        }
        const std::string_view meaning = gbk::trim(area.token(static_cast<std::size_t>(i)).meaning);
        if (!meaning.empty()) {
            if (ce && !proposal.meanings.empty()) proposal.meanings += ' ';
            proposal.meanings += meaning;
        }
    }
    if (ce) proposal.key = AddSpaceInCChars(proposal.key);
    proposal.key = std::string(gbk::trim(proposal.key));
    return proposal;
}

}  // namespace tavricat
