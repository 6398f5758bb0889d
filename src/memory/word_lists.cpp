#include "memory/word_lists.h"

#include <algorithm>

#include "base/gbk.h"

namespace tavricat {

namespace {

unsigned char lowerAscii(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + 32) : b;
}

// FNV-1a over the word with ASCII letters lower-cased.
std::uint64_t foldedHash(std::string_view word) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : word) hash = (hash ^ lowerAscii(c)) * 1099511628211ull;
    return hash;
}

bool sameFolded(std::string_view word, const std::string& key) {
    if (word.size() != key.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lowerAscii(word[i]) != static_cast<unsigned char>(key[i])) return false;
    return true;
}

}  // namespace

std::size_t WordLists::slotOf(std::string_view word) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = static_cast<std::size_t>(foldedHash(word)) & mask;
    while (m_slots[at] != 0 && !sameFolded(word, m_keys[m_slots[at] - 1])) at = (at + 1) & mask;
    return at;
}

const ExampleList* WordLists::find(std::string_view word) const {
    if (m_slots.empty()) return nullptr;
    const std::uint32_t index = m_slots[slotOf(word)];
    return index == 0 ? nullptr : &m_lists[index - 1];
}

ExampleList& WordLists::operator[](std::string_view word) {
    if (ExampleList* list = find(word)) return *list;
    if ((m_keys.size() + 1) * 2 > m_slots.size()) {
        // Kept at most half full, so that probes stay short.
        m_slots.assign(std::max<std::size_t>(64, m_slots.size() * 2), 0);
        for (std::size_t k = 0; k < m_keys.size(); ++k) m_slots[slotOf(m_keys[k])] = static_cast<std::uint32_t>(k + 1);
    }
    const std::size_t at = slotOf(word);
    m_keys.push_back(gbk::asciiLower(word));
    m_lists.emplace_back();
    m_slots[at] = static_cast<std::uint32_t>(m_keys.size());
    return m_lists.back();
}

void WordLists::clear() {
    m_keys.clear();
    m_lists.clear();
    m_slots.clear();
}

}  // namespace tavricat
