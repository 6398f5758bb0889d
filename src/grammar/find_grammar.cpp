// Stage one of the grammar patterns: the subject string, trigger look-up, and the rules
// kept for the working sentence.

#include <algorithm>

#include "base/gbk.h"
#include "base/list_order.h"
#include "grammar/grammar_matcher.h"

namespace tavricat {

namespace grammar_text {

std::size_t findAligned(std::string_view text, std::string_view part, std::size_t from) {
    if (from > text.size()) return std::string_view::npos;
    if (part.empty()) return from;
    for (std::size_t i = from; i + part.size() <= text.size(); i += gbk::charLength(text, i))
        if (text.compare(i, part.size(), part) == 0) return i;
    return std::string_view::npos;
}

std::string replaceAligned(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t at = from.empty() ? std::string_view::npos : findAligned(text, from, pos);
        if (at == std::string_view::npos) break;
        out.append(text.substr(pos, at - pos));
        out.append(to);
        pos = at + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::vector<std::string_view> tokensOf(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        std::size_t end = text.find(' ', pos);
        if (end == std::string_view::npos) end = text.size();
        tokens.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return tokens;
}

int usableSegments(const stClass& sentence) {
    std::size_t n = sentence.segCount > 0 ? static_cast<std::size_t>(sentence.segCount) : 0;
    for (const auto* array : {&sentence.segKeys, &sentence.segWords, &sentence.segTrans, &sentence.segAttr,
                              &sentence.segClass})
        n = std::min(n, array->empty() ? std::size_t{0} : array->size() - 1);
    return static_cast<int>(n);
}

}  // namespace grammar_text

using grammar_text::findAligned;
using grammar_text::replaceAligned;
using grammar_text::tokensOf;

namespace {

constexpr std::string_view kCollocationMarker = "<0~>";

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Length of the common start of a and b in whole characters, ASCII case ignored.
std::size_t commonStart(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size()) {
        const std::size_t len = gbk::charLength(a, i);
        if (len != gbk::charLength(b, i)) break;
        if (len == 2 ? a.compare(i, 2, b.substr(i, 2)) != 0 : foldAscii(a[i]) != foldAscii(b[i])) break;
        i += len;
    }
    return i;
}

// Byte offset of the last character of a non-empty text.
std::size_t lastCharStart(std::string_view text) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += gbk::charLength(text, i)) last = i;
    return last;
}

std::string_view trimLeft(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
    return text;
}

// " {a}  {b} " from "a|b": every item trimmed and braced; "pp" dropped beside "ing".
std::string bracedForm(std::string_view list) {
    std::vector<std::string_view> names;
    std::size_t pos = 0;
    while (pos <= list.size()) {
        std::size_t bar = findAligned(list, "|", pos);
        if (bar == std::string_view::npos) bar = list.size();
        const std::string_view name = gbk::trim(list.substr(pos, bar - pos));
        if (!name.empty()) names.push_back(name);
        pos = bar + 1;
    }
    const bool ing = std::find(names.begin(), names.end(), "ing") != names.end();
    std::string out;
    for (std::string_view name : names) {
        if (ing && name == "pp") continue;
        out += " {";
        out += name;
        out += "} ";
    }
    return out;
}

bool occursAsWords(std::string_view words, std::string_view subject) {
    if (words.empty()) return true;
    return subject.find(" " + std::string(words) + " ") != std::string_view::npos;
}

// A rule is kept when its pattern is present in the subject: the collocation form by its
// two halves in any order, every other rule by inOrder.
bool ruleIsPresent(std::string_view pattern, std::string_view result, std::string_view subject) {
    if (findAligned(result, kCollocationMarker) != std::string_view::npos) {
        const std::size_t star = pattern.find('*');
        if (star != std::string_view::npos) {
            const std::string_view left = gbk::trim(pattern.substr(0, star));
            const std::string_view right = gbk::trim(pattern.substr(star + 1));
            if (left.empty() && right.empty()) return false;
            return occursAsWords(left, subject) && occursAsWords(right, subject);
        }
    }
    return inOrder(pattern, subject);
}

// The result of a kept rule: the "~" that closes a head stands for the placement pattern,
// any other "~" for the trigger (the stored line replaced the trigger's every occurrence).
std::string instantiateResult(std::string_view result, std::string_view pattern, std::string_view trigger) {
    const std::string heads = replaceAligned(result, "~>", std::string(pattern) + ">");
    return gbk::asciiLower(replaceAligned(heads, "~", trigger));
}

std::string joinedBaseWords(const stClass& sentence) {
    std::string text;
    const std::size_t last =
        std::min(sentence.wordCount > 0 ? static_cast<std::size_t>(sentence.wordCount) : std::size_t{0},
                 sentence.baseWords.empty() ? std::size_t{0} : sentence.baseWords.size() - 1);
    for (std::size_t i = 1; i <= last; ++i) {
        for (std::string_view word : tokensOf(sentence.baseWords[i])) {
            if (!text.empty()) text += ' ';
            text += word;
        }
    }
    return text;
}

}  // namespace

TriggerMatch matchTrigger(std::string_view text, const std::vector<std::string>& triggers) {
    // A view that only ever shrinks: copying the text at each step made long sentences slow.
    std::string_view current = text;
    while (!current.empty()) {
        const SortedFind hit = findSorted(triggers, current);
        if (hit.found) return {true, triggers[hit.index], hit.index};
        if (hit.index == 0) break;

        const std::string& near = triggers[hit.index - 1];
        const std::size_t agree = commonStart(current, near);
        if (!near.empty() && agree == near.size() && (agree == current.size() || current[agree] == ' '))
            return {true, near, findSorted(triggers, near).index};
        if (agree < current.size()) {
            // Only a stretch of whole words can still be a trigger.
            if (current.substr(0, agree).find(' ') == std::string_view::npos) break;
            current = gbk::trim(current.substr(0, current.rfind(' ', agree)));
        } else {
            current = trimLeft(current.substr(0, lastCharStart(current)));
        }
    }
    return {};
}

bool inOrder(std::string_view pattern, std::string_view subject) {
    bool any = false;
    std::size_t from = 0;
    for (std::string_view token : tokensOf(pattern)) {
        if (token == "*") continue;
        const std::size_t at = subject.find(" " + std::string(token) + " ", any ? from + 1 : 0);
        if (at == std::string_view::npos) return false;
        from = at;
        any = true;
    }
    return any;
}

std::string buildGrammarSubject(stClass& sentence) {
    std::string subject = " ";
    const int n = grammar_text::usableSegments(sentence);
    for (int i = 1; i <= n; ++i) {
        sentence.segKeys[i] = " " + sentence.segKeys[i] + " ";
        sentence.segWords[i] = " " + sentence.segWords[i] + " ";
        sentence.segAttr[i] = bracedForm(sentence.segAttr[i]);
        sentence.segClass[i] = bracedForm(sentence.segClass[i]);
        subject += sentence.segKeys[i] + sentence.segWords[i] + sentence.segAttr[i] + sentence.segClass[i];
    }
    subject += ' ';
    return subject;
}

void findGrammar(stClass& sentence, const GrammarLibrary& grammar) {
    const std::string subject = buildGrammarSubject(sentence);
    sentence.grammarText.clear();

    const std::vector<std::string>& triggers = grammar.anchors;
    // Each rule is tried once: the subject does not change, so a rule absent at the first
    // occurrence of its trigger is absent at every later one (trying it again at each
    // occurrence made long sentences quadratic).
    std::vector<bool> tried(triggers.size(), false);
    const std::string text = joinedBaseWords(sentence);
    std::string_view rest = text;
    while (!rest.empty()) {
        const TriggerMatch match = matchTrigger(rest, triggers);
        if (!match.found || match.trigger.empty() || match.trigger.size() > rest.size()) {
            const std::size_t space = rest.find(' ');
            rest = space == std::string_view::npos ? std::string_view{} : gbk::trim(rest.substr(space));
            continue;
        }
        for (std::size_t line = match.line;
             line < triggers.size() && compareListOrder(triggers[line], match.trigger) == 0; ++line) {
            if (tried[line] || line >= grammar.entries.size()) continue;
            tried[line] = true;
            const std::string_view rule = grammar.entries[line];
            const std::size_t caret = findAligned(rule, "^");
            if (caret == std::string_view::npos) continue;
            const std::string pattern = replaceAligned(rule.substr(0, caret), "~", match.trigger);
            const std::string_view result = rule.substr(caret + 1);
            if (!ruleIsPresent(pattern, result, subject)) continue;
            sentence.grammarText += instantiateResult(result, pattern, match.trigger);
        }
        rest = gbk::trim(rest.substr(match.trigger.size()));
    }
}

}  // namespace tavricat
