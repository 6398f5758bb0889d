#include "batch/project_words.h"

#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/term_base.h"

namespace tavricat {

namespace {

bool isInteger(std::string_view word) {
    std::size_t i = (word.size() > 1 && (word[0] == '-' || word[0] == '+')) ? 1 : 0;
    if (i == word.size()) return false;
    for (; i < word.size(); ++i)
        if (word[i] < '0' || word[i] > '9') return false;
    return true;
}

std::string_view slot(const std::vector<std::string>& list, std::size_t index) {
    return index < list.size() ? gbk::trim(list[index]) : std::string_view();
}

}  // namespace

bool isProjectWord(std::string_view word) {
    if (word.size() <= 2 || isInteger(word) || word.front() == '/') return false;
    // Whole characters only: "\\" and "_" can be trail bytes of a Chinese character.
    for (std::size_t pos = 0; pos < word.size(); pos += gbk::charLength(word, pos)) {
        if (gbk::isDoubleByteAt(word, pos)) continue;
        switch (word[pos]) {
        case '_': case '#': case '+': case ':': case '\\': case '=':
            return false;
        case '.':
            if (pos + 1 != word.size()) return false;
            break;
        default:
            break;
        }
    }
    return true;
}

void ProjectWords::clear() {
    m_words.clear();
    m_entries.clear();
    m_table.clear();
    m_sorted = true;
}

void ProjectWords::sortIfNeeded() const {
    if (m_sorted) return;
    sortWithParallel(m_words, {&m_entries});
    m_table.build(m_words);
    m_sorted = true;
}

const LineList& ProjectWords::keys() const {
    sortIfNeeded();
    return m_words;
}

const LineList& ProjectWords::entries() const {
    sortIfNeeded();
    return m_entries;
}

void ProjectWords::addAsentSWords(const stClass& analysis, const TermBase& termBase) {
    for (std::int32_t i = 1; i <= analysis.segCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        std::string_view word = slot(analysis.segKeys, k);
        const std::string_view text = slot(analysis.segText, k);
        if (word == gbk::asciiLower(text)) word = text;
        addWord(word, termBase);
    }
    for (std::int32_t i = 1; i <= analysis.wordCount; ++i) addWord(slot(analysis.baseWords, static_cast<std::size_t>(i)), termBase);
}

void ProjectWords::addWord(std::string_view word, const TermBase& termBase) {
    if (!isProjectWord(word)) return;
    if (!m_table.inStepWith(m_words)) m_table.build(m_words);
    if (m_table.find(m_words, word)) return;
    const SortedFind term = termBase.find(word);
    m_words.emplace_back(word);
    m_entries.push_back(term.found && term.index < termBase.termEntries.size() ? termBase.termEntries[term.index]
                                                                               : std::string(kEmptyTermEntry));
    m_table.appended(m_words);
    m_sorted = false;
}

}  // namespace tavricat
