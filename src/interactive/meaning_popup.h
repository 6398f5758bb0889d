#pragma once
// The meaning popup of the current token as data: a grid whose column 1 lists the token's
// meanings, column 2 its further forms (associations and, for Chinese words, pinyin) and
// column 3 the bracketed labels taken off the meanings. Opened from the keyboard it numbers
// its first ten rows and leaves out the forms, so that digits choose a meaning.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/direction.h"

namespace tavricat {

struct stClass;
class PinyinService;
class TermBase;

struct PopupRow {
    std::string number;   // column 0: "0".."9" on the first ten rows in keyboard mode
    std::string meaning;  // column 1
    std::string form;     // column 2
    std::string label;    // column 3: the bracketed label of the meaning, "[n.]"
};

// What choosing a cell does to the translation box and the area.
struct PopupChoice {
    int column = 1;
    int row = 0;
    std::string insertText;  // put at the caret, replacing the selection
    // Column 1 only: the meaning the token's meaning label shows from now on.
    std::optional<std::string> newMeaning;
};

// A term entry to replace because a meaning was promoted to the front.
struct TermRewrite {
    std::string key;
    std::string entry;
};

class MeaningPopup {
public:
    static constexpr int kNumberedRows = 10;

    // Fills the grid for token `token` (0-based) of `workSent`. `pinyin` gives the pinyin
    // forms; pass it in CE direction only (null: none). The page goes back to the top.
    void open(const stClass& workSent, int token, bool keyboardMode, const PinyinService* pinyin);

    int token() const { return m_token; }
    bool keyboardMode() const { return m_keyboardMode; }
    bool hasFormsColumn() const { return !m_keyboardMode; }
    const std::vector<PopupRow>& rows() const { return m_rows; }
    // The trimmed text of a cell (columns 1..3); empty outside the grid.
    std::string cell(int column, int row) const;

    // Paging by the rows the grid shows at once ("[" and "]").
    void setVisibleRows(int rows) { m_visibleRows = rows > 0 ? rows : 1; }
    int visibleRows() const { return m_visibleRows; }
    int topRow() const { return m_top; }
    bool canPageUp() const { return m_top > 0; }
    bool canPageDown() const { return m_top + m_visibleRows < static_cast<int>(m_rows.size()); }
    bool pageUp();
    bool pageDown();

    // A cell clicked (or chosen by key): nothing for an empty cell. The text to insert is the
    // trimmed cell, with blanks between Chinese characters when `spaceInHanChar`, and a blank
    // before it when it starts with an ASCII character.
    std::optional<PopupChoice> choose(int column, int row, bool spaceInHanChar) const;
    // A key typed into the popup: a blank chooses row 0, a digit d the visible row d, both of
    // column 1; "[" and "]" page (and choose nothing). Anything else, or a row that does not
    // exist, chooses nothing.
    std::optional<PopupChoice> chooseByKey(char key, bool spaceInHanChar);
    // Enter: a blank and the token's text as the analysis wrote it.
    std::string enterText(const stClass& workSent) const;

private:
    std::vector<PopupRow> m_rows;
    int m_token = -1;
    bool m_keyboardMode = false;
    int m_visibleRows = kNumberedRows;
    int m_top = 0;
};

// The first word of each blank-separated word upper-cased: "bei jing" gives "Bei Jing".
std::string capitaliseWords(std::string_view text);

// The entry with `meaning` (after its bracketed `label`) moved to the front of its meaning
// list; the fields after the first "^" stay as they are.
std::string promotedEntry(std::string_view entry, std::string_view label, std::string_view meaning);

// The term base change a column-1 choice makes: none for row 0 (already first), for a
// column other than 1, or when the token's key is not in the term base.
std::optional<TermRewrite> promotionOf(const MeaningPopup& popup, const PopupChoice& choice, const stClass& workSent,
                                       const TermBase& termBase);

}  // namespace tavricat
