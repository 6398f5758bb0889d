#include "base/word_table.h"

#include <algorithm>

#include "base/gbk.h"
#include "base/list_order.h"

namespace tavricat {

namespace {

// FNV-1a over the word as list order compares it: ASCII letters folded, a double-byte
// character's two bytes as they are (a trail byte that looks like a letter is not folded).
std::uint64_t listOrderHash(std::string_view word) {
    std::uint64_t hash = 14695981039346656037ull;
    auto add = [&hash](unsigned char byte) { hash = (hash ^ byte) * 1099511628211ull; };
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        if (gbk::isLeadByte(c) && i + 1 < word.size()) {
            add(c);
            add(static_cast<unsigned char>(word[++i]));
        } else {
            add(c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c);
        }
    }
    return hash;
}

constexpr std::size_t kLeastSlots = 64;

}  // namespace

void WordTable::clear() {
    m_slots.clear();
    m_count = 0;
}

void WordTable::build(const LineList& words) {
    std::size_t slots = kLeastSlots;
    while (slots < words.size() * 2) slots *= 2;
    m_slots.assign(slots, 0);
    m_count = 0;
    for (std::size_t line = 0; line < words.size(); ++line) {
        const std::size_t at = slotOf(words, words[line]);
        // A word listed twice (a damaged list) is found at its first line, as a binary search
        // finds the first of equal keys.
        if (m_slots[at] == 0) m_slots[at] = static_cast<std::uint32_t>(line + 1);
        ++m_count;
    }
}

std::size_t WordTable::slotOf(const LineList& words, std::string_view word) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = static_cast<std::size_t>(listOrderHash(word)) & mask;
    while (m_slots[at] != 0 && compareListOrder(words[m_slots[at] - 1], word) != 0) at = (at + 1) & mask;
    return at;
}

std::optional<std::size_t> WordTable::find(const LineList& words, std::string_view word) const {
    if (m_slots.empty() || !inStepWith(words)) return std::nullopt;
    const std::uint32_t line = m_slots[slotOf(words, word)];
    if (line == 0) return std::nullopt;
    return line - 1;
}

void WordTable::grow(const LineList& words) {
    // Kept at most half full, so that probes stay short.
    if ((m_count + 1) * 2 <= m_slots.size()) return;
    m_slots.assign(std::max(kLeastSlots, m_slots.size() * 2), 0);
    for (std::size_t line = 0; line < m_count; ++line) {
        const std::size_t at = slotOf(words, words[line]);
        if (m_slots[at] == 0) m_slots[at] = static_cast<std::uint32_t>(line + 1);
    }
}

void WordTable::appended(const LineList& words) {
    grow(words);
    const std::size_t line = words.size() - 1;
    const std::size_t at = slotOf(words, words[line]);
    if (m_slots[at] == 0) m_slots[at] = static_cast<std::uint32_t>(line + 1);
    ++m_count;
}

void WordTable::insertedAt(const LineList& words, std::size_t position) {
    if ((m_count + 1) * 2 > m_slots.size()) {
        build(words);
        return;
    }
    const auto first = static_cast<std::uint32_t>(position + 1);
    for (std::uint32_t& slot : m_slots)
        if (slot >= first) ++slot;
    const std::size_t at = slotOf(words, words[position]);
    if (m_slots[at] == 0) m_slots[at] = first;
    ++m_count;
}

}  // namespace tavricat
