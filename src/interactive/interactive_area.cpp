#include "interactive/interactive_area.h"

#include <algorithm>

#include "base/gbk.h"
#include "engine/sentence_analysis.h"
#include "interactive/sentence_translation.h"

namespace tavricat {

std::string firstMeaningOf(std::string_view translations) {
    std::string_view meaning = gbk::trim(translations);
    const std::size_t bar = meaning.find('|');
    if (bar != std::string_view::npos && bar > 0) meaning = meaning.substr(0, bar);
    if (!meaning.empty() && meaning.front() == '[') {
        const std::size_t close = meaning.find(']', 1);
        if (close != std::string_view::npos) meaning.remove_prefix(close + 1);
    }
    return std::string(meaning);
}

namespace {

const std::string& slot(const std::vector<std::string>& slots, std::size_t i) {
    static const std::string kEmpty;
    return i < slots.size() ? slots[i] : kEmpty;
}

}  // namespace

void InteractiveArea::build(const stClass& workSent, const std::vector<SentenceToken>& tokens,
                            const AreaOptions& options) {
    m_tokens.clear();
    m_options = options;
    const std::size_t count = static_cast<std::size_t>(std::max(workSent.segCount, 0));
    m_tokens.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        AreaToken token;
        token.text = slot(workSent.segText, i + 1);
        token.meaning = firstMeaningOf(slot(workSent.segTrans, i + 1));
        token.bold = slot(workSent.segAttr, i + 1).find("专用") != std::string::npos;
        token.red = i < tokens.size() && tokens[i].differs;
        m_tokens.push_back(std::move(token));
    }
    m_current = m_tokens.empty() ? -1 : 0;
    m_page = 0;
    assignShortcuts();
    updateVisibility();
}

void InteractiveArea::clear() {
    m_tokens.clear();
    m_current = -1;
    m_page = 0;
}

void InteractiveArea::setOptions(const AreaOptions& options) {
    m_options = options;
    updateVisibility();
}

bool InteractiveArea::setCurrentWord(int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= m_tokens.size()) return false;
    m_current = i;
    return true;
}

bool InteractiveArea::toggleMarked(int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= m_tokens.size()) return false;
    m_tokens[i].marked = !m_tokens[i].marked;
    return true;
}

std::vector<int> InteractiveArea::markedTokens() const {
    std::vector<int> marked;
    for (std::size_t i = 0; i < m_tokens.size(); ++i)
        if (m_tokens[i].marked) marked.push_back(static_cast<int>(i));
    return marked;
}

void InteractiveArea::setMeaning(int i, std::string meaning) {
    if (i < 0 || static_cast<std::size_t>(i) >= m_tokens.size()) return;
    m_tokens[i].meaning = std::move(meaning);
}

bool InteractiveArea::nextShortcutPage() {
    // A page must start at a token: one starting at or past the end would carry no letter.
    if (static_cast<std::size_t>((m_page + 1) * kPageStep) >= m_tokens.size()) return false;
    ++m_page;
    assignShortcuts();
    return true;
}

bool InteractiveArea::previousShortcutPage() {
    if (m_page <= 0) return false;
    --m_page;
    assignShortcuts();
    return true;
}

std::optional<int> InteractiveArea::tokenOfShortcut(char letter) const {
    const char upper = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
    if (upper < 'A' || upper > 'Z') return std::nullopt;
    const int k = (upper - 'A') + m_page * kPageStep;
    if (k < 0 || static_cast<std::size_t>(k) >= m_tokens.size()) return std::nullopt;
    return k;
}

InteractiveArea::AltKeyResult InteractiveArea::altKey(int keyCode, bool popupVisible) {
    constexpr int kOpenBracket = 219;
    constexpr int kCloseBracket = 221;
    AltKeyResult result;
    if (keyCode == kOpenBracket) result.pageTurned = previousShortcutPage();
    else if (keyCode == kCloseBracket) result.pageTurned = nextShortcutPage();
    else if (keyCode >= 'A' && keyCode <= 'Z' && !popupVisible) result.openPopupFor = tokenOfShortcut(static_cast<char>(keyCode));
    if (result.openPopupFor) m_current = *result.openPopupFor;
    return result;
}

void InteractiveArea::assignShortcuts() {
    for (AreaToken& token : m_tokens) token.shortcut = 0;
    for (int j = 0; j < kLettersPerPage; ++j) {
        const std::size_t k = static_cast<std::size_t>(m_page * kPageStep + j);
        if (k >= m_tokens.size()) break;
        m_tokens[k].shortcut = static_cast<char>('a' + j);
    }
}

void InteractiveArea::updateVisibility() {
    const DisplayModeInfo& mode = displayModeInfo(m_options.mode);
    for (AreaToken& token : m_tokens) {
        const bool longEnough =
            static_cast<long long>(gbk::charCount(gbk::trim(token.text))) >= m_options.maxshowcharnum;
        token.meaningVisible = mode.showExplanations && longEnough;
        token.shortcutVisible = mode.showShortcuts && longEnough;
    }
}

}  // namespace tavricat
