#pragma once
// The interactive area of the current sentence as data: one entry per token of `workSent`
// with the word, its first meaning, how it is drawn and its shortcut letter. Pixels are the
// window's business; which labels show, which letter a token carries and which token a key
// reaches are decided here, so the command line and the tests see the same area.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interactive/display_modes.h"

namespace tavricat {

struct stClass;
struct SentenceToken;

// The meaning under a word: the trimmed translations up to the first "|" (all of them when
// "|" is missing or first), without a leading bracketed label ("[n.]书|本" gives "书").
std::string firstMeaningOf(std::string_view translations);

struct AreaToken {
    std::string text;      // the word label: the token's segText entry
    std::string meaning;   // the meaning label
    bool bold = false;     // a proper name ("专用" among the attributes)
    bool red = false;      // not found in the best example
    bool marked = false;   // marked for a phrase (Ctrl+click)
    char shortcut = 0;     // 'a'..'z' on the current page, else 0
    bool meaningVisible = false;
    bool shortcutVisible = false;
};

struct AreaOptions {
    DisplayMode mode = DisplayMode::MeaningsAndShortcuts;
    // Words whose trimmed text has fewer characters get neither meaning nor letter shown.
    int maxshowcharnum = 1;
};

class InteractiveArea {
public:
    // Shortcut letters cover 26 tokens from ShortcutPage × 13, so pages overlap by half.
    static constexpr int kPageStep = 13;
    static constexpr int kLettersPerPage = 26;

    // Lays out `workSent` (1-based slots, segCount tokens). `tokens` is the sentence
    // translation's list, whose `differs` flags colour the words red; it may be shorter.
    // The current word becomes 0, the shortcut page 0, and no word is marked.
    void build(const stClass& workSent, const std::vector<SentenceToken>& tokens, const AreaOptions& options);
    // Empties the area (a sentence without tokens).
    void clear();

    // A new display mode or `maxshowcharnum`: the visibility flags follow.
    void setOptions(const AreaOptions& options);
    const AreaOptions& options() const { return m_options; }

    std::size_t size() const { return m_tokens.size(); }
    bool empty() const { return m_tokens.empty(); }
    const AreaToken& token(std::size_t i) const { return m_tokens.at(i); }
    const std::vector<AreaToken>& tokens() const { return m_tokens; }

    // CurrentWord: -1 only while the area is empty.
    int currentWord() const { return m_current; }
    // False (nothing changes) when `i` is not a token.
    bool setCurrentWord(int i);

    // Ctrl+click on a word: marks or unmarks it. False when `i` is not a token.
    bool toggleMarked(int i);
    std::vector<int> markedTokens() const;

    // The meaning label of token i shows `meaning` (a meaning chosen in the popup).
    void setMeaning(int i, std::string meaning);

    int shortcutPage() const { return m_page; }
    // Alt+] / Alt+[: false when the page cannot move (no tokens beyond it, or already 0).
    bool nextShortcutPage();
    bool previousShortcutPage();
    // Alt+letter (either case): the token carrying the letter on the current page, if any.
    std::optional<int> tokenOfShortcut(char letter) const;

    // A key pressed with Alt in the main window (window key codes: 219 "[", 221 "]", 65..90
    // the letters). "[" and "]" turn the shortcut page; a letter gives the token whose popup
    // to open, in keyboard mode, unless the popup is already showing.
    struct AltKeyResult {
        bool pageTurned = false;
        std::optional<int> openPopupFor;
    };
    AltKeyResult altKey(int keyCode, bool popupVisible);

private:
    void assignShortcuts();
    void updateVisibility();

    std::vector<AreaToken> m_tokens;
    AreaOptions m_options;
    int m_current = -1;
    int m_page = 0;
};

}  // namespace tavricat
