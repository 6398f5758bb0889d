#pragma once
// The rows of the term base editor ("校订词库"): the entries of a term base file that the
// filter shows, each split into its cells (number, key, meanings, association, part of speech,
// attribute), and a last row "*" for a new entry. The person edits the cells and marks rows;
// writeBack() carries the rows into the editor's own copy of the file's two lists.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_list.h"

namespace tavricat {

inline constexpr const char* kVerifiedMark = "已校";
inline constexpr const char* kDomainMark = "专用";
inline constexpr const char* kNewRowNumber = "*";
inline constexpr const char* kDeletedRowNumber = "X";

enum class TermShow { NewWords, Verified, Domain, All };
enum class TermMark { Verified, Domain, Ordinary };

// The filter dialog's settings; they last while the program runs.
struct TermGridFilter {
    int keepMeanings = 50;  // 1..50, at the final write-back; 20 keeps them all
    int minWords = 0;       // 0..9 words of the key
    int minMeanings = 0;    // 0..30 meanings
    TermShow show = TermShow::All;
};

enum TermColumn { kNumberColumn, kKeyColumn, kMeaningsColumn, kAssociationColumn, kClassColumn, kAttributeColumn,
                  kTermColumnCount };

struct TermGridRow {
    std::string cells[kTermColumnCount];
    // The key the row was filled from; empty for a row the person added.
    std::string loadedKey;
    bool deleted() const { return cells[kNumberColumn] == kDeletedRowNumber; }
    bool isNewRow() const { return cells[kNumberColumn] == kNewRowNumber; }
};

// "12", "12.t" (专用), "12.v" (已校) or "12.vt" (both) for the attribute field.
std::string termRowNumber(std::size_t number, std::string_view attribute);
// The "|"-items of a cell, and the cell with item `index` moved to the front.
std::vector<std::string> cellItems(std::string_view cell);
std::string moveItemToFront(std::string_view cell, std::size_t index);

class TermGrid {
public:
    // The keys and values of a term base file (parallel, keys in list order). New keys go
    // off `deletedWords` and deleted ones onto it (may be null).
    TermGrid(LineList keys, LineList values, bool ceDirection, LineList* deletedWords);

    const LineList& keys() const { return m_keys; }
    const LineList& values() const { return m_values; }

    // Writes the rows back, then shows the entries the filter chooses.
    void fill(const TermGridFilter& filter);
    // Carries every entry row into the lists; with `limit` the meanings are cut to its
    // keepMeanings (unless it is 20). An empty key is skipped.
    void writeBack(const TermGridFilter* limit = nullptr);

    // Entry rows, then the "*" row.
    std::size_t rowCount() const { return m_rows.size(); }
    std::size_t shownCount() const { return m_rows.size() - 1; }
    const TermGridRow& row(std::size_t index) const { return m_rows[index]; }
    // Any cell but the number.
    bool setCell(std::size_t row, int column, std::string text);

    // The rows' attribute cells and numbers rewritten ("已校", "专用", or neither); the "*" row
    // is left alone. markDeleted puts "X" for the number.
    void mark(const std::vector<std::size_t>& rows, TermMark mark);
    void markDeleted(const std::vector<std::size_t>& rows);
    // Numbers the "*" row and appends a new one when its key cell is filled; true when it did.
    bool addRow();

    // The row of a typed row number: 1..shownCount(), nothing otherwise.
    std::optional<std::size_t> rowOfNumber(std::string_view typed) const;
    struct Found {
        bool exact = false;
        std::size_t row = 0;  // the match, or the nearest entry row
    };
    // Looks a key up among the shown rows (ASCII case ignored).
    Found findKey(std::string_view key) const;

private:
    std::string storedKey(std::string_view cell) const;
    void appendNewRow();

    LineList m_keys;
    LineList m_values;
    bool m_ce;
    LineList* m_deletedWords;
    std::vector<TermGridRow> m_rows;
};

}  // namespace tavricat
