#include "engine/engine.h"

#include "base/gbk.h"
#include "base/list_order.h"

namespace tavricat {

std::string Engine::lookupKey(std::string_view key, DictSource source) {
    if (source == DictSource::TermBase) return termBase.lookupKey(key);
    if (!systemDictionary.isOpen()) return {};
    return systemDictionary.lookupKey(key);
}

KeyValueLists Engine::listsFor(std::string_view candidate, DictSource source) {
    if (source == DictSource::TermBase) return {&termBase.termKeys, &termBase.termEntries};
    if (!systemDictionary.isOpen()) return {&m_emptyList, &m_emptyList};
    return systemDictionary.listsFor(candidate);
}

bool Engine::isDeleted(std::string_view key) const { return findSorted(deletedWords, key).found; }

void Engine::copySystemEntry(const std::string& key, std::string_view systemValue) {
    SortedFind found = termBase.find(key);
    if (found.found) return;
    termBase.insertAt(found.index, key, termEntryFromSystemValue(systemValue));
}

std::string termEntryFromSystemValue(std::string_view value) {
    std::size_t first = value.find('^');
    std::string_view p1 = value.substr(0, first);
    std::string_view p2, p3;
    if (first != std::string_view::npos) {
        std::string_view rest = value.substr(first + 1);
        std::size_t second = rest.find('^');
        p2 = rest.substr(0, second);
        if (second != std::string_view::npos) p3 = rest.substr(second + 1);
    }
    WordClasses classes = wordClassesOf(p1);
    return classes.translation + "^" + std::string(p3) + "^" + classes.classList + "^" + std::string(p2);
}

}  // namespace tavricat
