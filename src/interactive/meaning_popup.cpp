#include "interactive/meaning_popup.h"

#include <algorithm>

#include "base/gbk.h"
#include "document/han_spacing.h"
#include "engine/bar_lists.h"
#include "engine/pinyin_service.h"
#include "engine/sentence_analysis.h"
#include "engine/term_base.h"

namespace tavricat {

namespace {

const std::string& slot(const std::vector<std::string>& slots, std::size_t i) {
    static const std::string kEmpty;
    return i < slots.size() ? slots[i] : kEmpty;
}

// The non-empty trimmed items of a "|" list.
std::vector<std::string> itemsOf(std::string_view list) {
    std::vector<std::string> items;
    for (const std::string& item : splitFields(list, '|')) {
        std::string_view trimmed = gbk::trim(item);
        if (!trimmed.empty()) items.emplace_back(trimmed);
    }
    return items;
}

// "[n.]书" gives label "[n.]" and meaning "书"; an item without a leading label is all meaning.
void splitLabel(std::string_view item, std::string& label, std::string& meaning) {
    label.clear();
    if (!item.empty() && item.front() == '[') {
        const std::size_t close = item.find(']', 1);
        if (close != std::string_view::npos) {
            label = std::string(item.substr(0, close + 1));
            item.remove_prefix(close + 1);
        }
    }
    meaning = std::string(item);
}

}  // namespace

std::string capitaliseWords(std::string_view text) {
    std::string result(text);
    bool wordStart = true;
    for (std::size_t i = 0; i < result.size(); i += gbk::charLength(result, i)) {
        const char c = result[i];
        if (c == ' ') {
            wordStart = true;
            continue;
        }
        if (wordStart && c >= 'a' && c <= 'z') result[i] = static_cast<char>(c - 'a' + 'A');
        wordStart = false;
    }
    return result;
}

void MeaningPopup::open(const stClass& workSent, int token, bool keyboardMode, const PinyinService* pinyin) {
    m_rows.clear();
    m_token = token;
    m_keyboardMode = keyboardMode;
    m_top = 0;
    if (token < 0) return;
    const std::size_t at = static_cast<std::size_t>(token) + 1;

    const std::vector<std::string> meanings = itemsOf(slot(workSent.segTrans, at));
    std::vector<std::string> forms;
    std::size_t rowCount = meanings.size();
    if (!keyboardMode) {
        forms = itemsOf(slot(workSent.segAssoc, at));
        // Room for the three pinyin forms is kept whether or not they come.
        rowCount = std::max(rowCount, forms.size() + 3);
        if (pinyin) {
            const std::string word(gbk::trim(slot(workSent.segText, at)));
            const std::string reading(gbk::trim(pinyin->pinyinOf(word)));
            for (std::string form : {gbk::asciiUpper(reading), capitaliseWords(reading), reading})
                if (!form.empty()) forms.push_back(std::move(form));
        }
    }

    m_rows.resize(rowCount);
    for (std::size_t r = 0; r < meanings.size(); ++r) splitLabel(meanings[r], m_rows[r].label, m_rows[r].meaning);
    for (std::size_t r = 0; r < forms.size() && r < rowCount; ++r) m_rows[r].form = forms[r];
    if (keyboardMode)
        for (std::size_t r = 0; r < m_rows.size() && r < static_cast<std::size_t>(kNumberedRows); ++r)
            m_rows[r].number = std::to_string(r);
}

std::string MeaningPopup::cell(int column, int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return {};
    const PopupRow& r = m_rows[static_cast<std::size_t>(row)];
    switch (column) {
        case 1: return std::string(gbk::trim(r.meaning));
        case 2: return std::string(gbk::trim(r.form));
        case 3: return std::string(gbk::trim(r.label));
        default: return {};
    }
}

bool MeaningPopup::pageUp() {
    if (!canPageUp()) return false;
    m_top = std::max(0, m_top - m_visibleRows);
    return true;
}

bool MeaningPopup::pageDown() {
    if (!canPageDown()) return false;
    m_top += m_visibleRows;
    return true;
}

std::optional<PopupChoice> MeaningPopup::choose(int column, int row, bool spaceInHanChar) const {
    const std::string text = cell(column, row);
    if (text.empty()) return std::nullopt;
    PopupChoice choice;
    choice.column = column;
    choice.row = row;
    // Spacing trims, so the blank that keeps a Latin word off the text before it comes last.
    choice.insertText = spaceInHanChar ? AddSpaceInCChars(text) : text;
    if (static_cast<unsigned char>(text.front()) < 0x80) choice.insertText.insert(0, 1, ' ');
    if (column == 1) choice.newMeaning = text;
    return choice;
}

std::optional<PopupChoice> MeaningPopup::chooseByKey(char key, bool spaceInHanChar) {
    if (key == '[') {
        pageUp();
        return std::nullopt;
    }
    if (key == ']') {
        pageDown();
        return std::nullopt;
    }
    if (key == ' ') return choose(1, 0, spaceInHanChar);
    if (key >= '0' && key <= '9') return choose(1, m_top + (key - '0'), spaceInHanChar);
    return std::nullopt;
}

std::string MeaningPopup::enterText(const stClass& workSent) const {
    if (m_token < 0) return {};
    return " " + slot(workSent.segText, static_cast<std::size_t>(m_token) + 1);
}

std::string promotedEntry(std::string_view entry, std::string_view label, std::string_view meaning) {
    const std::size_t caret = entry.find('^');
    const std::string_view oldList = entry.substr(0, caret);
    std::string promoted = dedupBar(std::string(label) + std::string(meaning) + "|" + std::string(oldList));
    if (caret != std::string_view::npos) promoted += entry.substr(caret);
    return promoted;
}

std::optional<TermRewrite> promotionOf(const MeaningPopup& popup, const PopupChoice& choice, const stClass& workSent,
                                       const TermBase& termBase) {
    if (choice.column != 1 || choice.row <= 0 || popup.token() < 0) return std::nullopt;
    const std::string key(gbk::trim(slot(workSent.segKeys, static_cast<std::size_t>(popup.token()) + 1)));
    if (key.empty()) return std::nullopt;
    const SortedFind found = termBase.find(key);
    if (!found.found) return std::nullopt;
    const std::string& entry = termBase.termEntries[found.index];
    std::string rewritten = promotedEntry(entry, popup.cell(3, choice.row), popup.cell(1, choice.row));
    if (rewritten == entry) return std::nullopt;
    return TermRewrite{key, std::move(rewritten)};
}

}  // namespace tavricat
