#include "engine/term_grid.h"

#include <algorithm>
#include <charconv>

#include "base/gbk.h"
#include "base/list_order.h"
#include "document/han_spacing.h"
#include "engine/bar_lists.h"
#include "engine/deleted_words.h"

namespace tavricat {

namespace {

constexpr int kKeepAllMeanings = 20;

bool hasItem(const std::vector<std::string>& items, std::string_view item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

std::size_t wordCount(std::string_view key) {
    std::size_t words = 0;
    bool inWord = false;
    for (char c : gbk::trim(key)) {
        const bool blank = c == ' ';
        if (!blank && !inWord) ++words;
        inWord = !blank;
    }
    return words;
}

std::string joinItems(const std::vector<std::string>& items) { return joinFields(items, '|'); }

}  // namespace

std::string termRowNumber(std::size_t number, std::string_view attribute) {
    const std::vector<std::string> items = cellItems(attribute);
    const bool verified = hasItem(items, kVerifiedMark);
    const bool domain = hasItem(items, kDomainMark);
    std::string text = std::to_string(number);
    if (verified || domain) text += std::string(".") + (verified ? "v" : "") + (domain ? "t" : "");
    return text;
}

std::vector<std::string> cellItems(std::string_view cell) {
    std::vector<std::string> items;
    for (std::string& item : splitFields(cell, '|'))
        if (!item.empty()) items.push_back(std::move(item));
    return items;
}

std::string moveItemToFront(std::string_view cell, std::size_t index) {
    std::vector<std::string> items = cellItems(cell);
    if (index >= items.size()) return std::string(cell);
    std::rotate(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(index),
                items.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    return joinItems(items);
}

TermGrid::TermGrid(LineList keys, LineList values, bool ceDirection, LineList* deletedWords)
    : m_keys(std::move(keys)), m_values(std::move(values)), m_ce(ceDirection), m_deletedWords(deletedWords) {
    m_values.resize(m_keys.size());
    appendNewRow();
}

void TermGrid::appendNewRow() {
    TermGridRow row;
    row.cells[kNumberColumn] = kNewRowNumber;
    m_rows.push_back(std::move(row));
}

std::string TermGrid::storedKey(std::string_view cell) const {
    return m_ce ? AddSpaceInCChars(cell) : std::string(gbk::trim(cell));
}

void TermGrid::fill(const TermGridFilter& filter) {
    writeBack();
    m_rows.clear();
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        std::vector<std::string> fields = splitFields(m_values[i], '^', 4);
        fields.resize(4);
        const std::size_t meanings = cellItems(fields[0]).size();
        const std::vector<std::string> attributes = cellItems(fields[3]);
        const bool reaches = wordCount(m_keys[i]) >= static_cast<std::size_t>(filter.minWords) &&
                             meanings >= static_cast<std::size_t>(filter.minMeanings);
        bool shown = false;
        switch (filter.show) {
        case TermShow::NewWords: shown = meanings == 0; break;
        case TermShow::Verified: shown = reaches && hasItem(attributes, kVerifiedMark); break;
        case TermShow::Domain: shown = reaches && hasItem(attributes, kDomainMark); break;
        case TermShow::All: shown = reaches; break;
        }
        if (!shown) continue;
        TermGridRow row;
        row.cells[kNumberColumn] = termRowNumber(m_rows.size() + 1, fields[3]);
        row.cells[kKeyColumn] = m_keys[i];
        for (int f = 0; f < 4; ++f) row.cells[kMeaningsColumn + f] = std::move(fields[static_cast<std::size_t>(f)]);
        row.loadedKey = m_keys[i];
        m_rows.push_back(std::move(row));
    }
    appendNewRow();
}

void TermGrid::writeBack(const TermGridFilter* limit) {
    for (const TermGridRow& row : m_rows) {
        if (row.isNewRow()) continue;
        if (row.deleted()) {
            // A row marked deleted removes the entry it was filled from, whatever its key cell
            // says now: the mark is the person's last word on the row, and a key typed over it
            // must not bring an entry back.
            if (row.loadedKey.empty()) continue;
            const SortedFind at = findSorted(m_keys, row.loadedKey);
            if (!at.found) continue;
            m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(at.index));
            m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(at.index));
            if (m_deletedWords) addDeletedWord(*m_deletedWords, row.loadedKey);
            continue;
        }
        const std::string key = storedKey(row.cells[kKeyColumn]);
        if (key.empty()) continue;
        std::string meanings = row.cells[kMeaningsColumn];
        if (limit && limit->keepMeanings != kKeepAllMeanings) {
            std::vector<std::string> items = cellItems(meanings);
            if (items.size() > static_cast<std::size_t>(std::max(limit->keepMeanings, 1))) {
                items.resize(static_cast<std::size_t>(std::max(limit->keepMeanings, 1)));
                meanings = joinItems(items);
            }
        }
        std::string value = meanings + "^" + row.cells[kAssociationColumn] + "^" + row.cells[kClassColumn] + "^" +
                            row.cells[kAttributeColumn];
        const SortedFind at = findSorted(m_keys, key);
        if (at.found) {
            m_values[at.index] = std::move(value);
        } else {
            m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(at.index), key);
            m_values.insert(m_values.begin() + static_cast<std::ptrdiff_t>(at.index), std::move(value));
            if (m_deletedWords) removeDeletedWord(*m_deletedWords, key);
        }
    }
}

bool TermGrid::setCell(std::size_t row, int column, std::string text) {
    if (row >= m_rows.size() || column <= kNumberColumn || column >= kTermColumnCount) return false;
    m_rows[row].cells[column] = std::move(text);
    return true;
}

void TermGrid::mark(const std::vector<std::size_t>& rows, TermMark mark) {
    for (std::size_t index : rows) {
        if (index >= shownCount()) continue;
        TermGridRow& row = m_rows[index];
        std::vector<std::string> items = cellItems(row.cells[kAttributeColumn]);
        const char* kept = mark == TermMark::Verified ? kVerifiedMark : mark == TermMark::Domain ? kDomainMark : nullptr;
        std::erase_if(items, [&](const std::string& item) {
            return (item == kVerifiedMark || item == kDomainMark) && !(kept && item == kept);
        });
        if (kept && !hasItem(items, kept)) items.emplace_back(kept);
        row.cells[kAttributeColumn] = joinItems(items);
        row.cells[kNumberColumn] = termRowNumber(index + 1, row.cells[kAttributeColumn]);
    }
}

void TermGrid::markDeleted(const std::vector<std::size_t>& rows) {
    for (std::size_t index : rows)
        if (index < shownCount()) m_rows[index].cells[kNumberColumn] = kDeletedRowNumber;
}

bool TermGrid::addRow() {
    TermGridRow& last = m_rows.back();
    if (gbk::trim(last.cells[kKeyColumn]).empty()) return false;
    last.cells[kNumberColumn] = termRowNumber(m_rows.size(), last.cells[kAttributeColumn]);
    appendNewRow();
    return true;
}

std::optional<std::size_t> TermGrid::rowOfNumber(std::string_view typed) const {
    const std::string_view text = gbk::trim(typed);
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (number < 1 || number > shownCount()) return std::nullopt;
    return number - 1;
}

TermGrid::Found TermGrid::findKey(std::string_view typed) const {
    const std::string key = storedKey(typed);
    Found nearest;
    bool haveNearest = false;
    for (std::size_t i = 0; i < shownCount(); ++i) {
        const int order = compareListOrder(m_rows[i].cells[kKeyColumn], key);
        if (order == 0) return {true, i};
        // The smallest key after the one looked for.
        if (order > 0 && (!haveNearest || compareListOrder(m_rows[i].cells[kKeyColumn], m_rows[nearest.row].cells[kKeyColumn]) < 0)) {
            nearest.row = i;
            haveNearest = true;
        }
    }
    if (!haveNearest && shownCount() > 0) nearest.row = shownCount() - 1;
    return nearest;
}

}  // namespace tavricat
