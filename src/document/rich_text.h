#pragma once
// RichText: the document buffer of the core. GBK bytes (line breaks are CR LF) with
// character-format runs, a caret and selection, and two flags:
//  - the program-edit flag: while it is clear, changes that touch protected text are refused
//    (the person cannot type over segment markers); program operations set it through
//    ProgramEdit;
//  - the modified flag: set by every accepted change, cleared by loading and saving.
// Every accepted change is also recorded, as its inverse, in an undo history of steps (see
// "undo history" below). Readers that build a buffer with append() record nothing.
// Positions are byte offsets. Text and runs live in gap buffers, so edits that move through a
// document from front to back cost time linear in the document, not quadratic.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "document/char_format.h"
#include "document/gap_buffer.h"
#include "document/layout_pieces.h"

namespace tavricat {

class RichText {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    RichText();
    RichText(const RichText&) = default;
    RichText& operator=(const RichText&) = default;

    // --- text ---------------------------------------------------------------------------
    std::size_t size() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }
    char at(std::size_t pos) const { return m_text[pos]; }
    unsigned char byteAt(std::size_t pos) const { return static_cast<unsigned char>(m_text[pos]); }
    std::string text() const;                                      // the whole text
    std::string text(std::size_t pos, std::size_t length) const;   // clamped to the end

    // First occurrence of `needle` starting at or after `from` and ending at or before
    // `limit` (npos: the end of the text). Case-sensitive, exact bytes. npos when absent.
    std::size_t find(std::string_view needle, std::size_t from, std::size_t limit = npos) const;
    // Last occurrence starting at or before `from`. npos when absent.
    std::size_t findBackward(std::string_view needle, std::size_t from) const;

    // Changes with every change of the text (not with format or selection changes). Two
    // buffers share a stamp only while one is an unchanged copy of the other, so what is
    // derived from the text can be kept for as long as the stamp stays.
    std::uint64_t textStamp() const { return m_textStamp; }

    // --- formats ------------------------------------------------------------------------
    const CharFormat& formatAt(std::size_t pos) const;  // the format of the byte at pos
    // The format new text takes when none is given (the format of the text before `pos`,
    // else of the text at `pos`, else the default format).
    CharFormat formatForInsertAt(std::size_t pos) const;
    const CharFormat& defaultFormat() const { return m_formats[0]; }
    void setDefaultFormat(const CharFormat& format);

    struct Run {
        std::size_t start;
        std::size_t length;
        const CharFormat* format;
    };
    // Runs covering [pos, pos + length), in order; adjacent runs have different formats.
    // The format pointers stay valid until the next change of this buffer.
    std::vector<Run> runs(std::size_t pos = 0, std::size_t length = npos) const;

    // True when any byte of [pos, pos + length) is protected.
    bool isProtected(std::size_t pos, std::size_t length) const;

    // --- edits: each returns false (changing nothing) when refused ------------------------
    // Inserting is refused strictly inside a protected run (protected bytes on both sides).
    // Without a format the text takes the format before it, protection only in a program edit.
    bool insert(std::size_t pos, std::string_view bytes);
    bool insert(std::size_t pos, std::string_view bytes, const CharFormat& format);
    bool erase(std::size_t pos, std::size_t length);
    bool replace(std::size_t pos, std::size_t length, std::string_view bytes);
    bool replace(std::size_t pos, std::size_t length, std::string_view bytes, const CharFormat& format);
    bool setFormat(std::size_t pos, std::size_t length, const CharFormat& format);
    // Changes one property of every run in the range, keeping the rest of each run's format.
    template <typename Change>
    bool changeFormat(std::size_t pos, std::size_t length, Change change);
    void clear();  // always allowed: loading a document; empties the undo history

    // Appends `bytes` with `format` at the end (used by readers; never refused, not recorded
    // in the undo history: text only grows at the end, so the recorded steps stay valid).
    void append(std::string_view bytes, const CharFormat& format);
    // Appends a range of another buffer with its formats.
    void appendFrom(const RichText& other, std::size_t pos, std::size_t length);
    // A new buffer holding [pos, pos + length) of this one with its formats.
    RichText copyRange(std::size_t pos, std::size_t length) const;
    // Replaces [pos, pos + length) by the whole of `other` with its formats.
    bool replaceWith(std::size_t pos, std::size_t length, const RichText& other);

    // --- layout ---------------------------------------------------------------------------
    // What the document holds besides text and character formats (see layout_pieces.h):
    // kept in step with every edit, copied with ranges, written back by the RTF writer.
    const LayoutPieces& layout() const { return m_layout; }
    LayoutPieces& layout() { return m_layout; }

    // Characters of the file read that GBK cannot hold and that stand as "?" (set by readers).
    std::size_t replacedCharacters() const { return m_replacedCharacters; }
    void setReplacedCharacters(std::size_t count) { m_replacedCharacters = count; }

    // --- caret and selection ------------------------------------------------------------
    std::size_t selStart() const { return m_selStart; }
    std::size_t selLength() const { return m_selLength; }
    std::size_t caret() const { return m_selStart + m_selLength; }
    void select(std::size_t start, std::size_t length);  // clamped to the text
    void setCaret(std::size_t pos) { select(pos, 0); }
    std::string selectedText() const { return text(m_selStart, m_selLength); }

    // --- flags --------------------------------------------------------------------------
    bool programEdit() const { return m_programEditDepth > 0; }
    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // Sets the program-edit flag for its lifetime (nesting allowed).
    class ProgramEdit {
    public:
        explicit ProgramEdit(RichText& text) : m_text(text) { ++m_text.m_programEditDepth; }
        ~ProgramEdit() { --m_text.m_programEditDepth; }
        ProgramEdit(const ProgramEdit&) = delete;
        ProgramEdit& operator=(const ProgramEdit&) = delete;

    private:
        RichText& m_text;
    };
    // Buffers that always let protected text change (the source and target views).
    void setAlwaysEditable(bool always) { m_alwaysEditable = always; }

    // --- undo history ---------------------------------------------------------------------
    // Each accepted change (insert, erase, replace, format change) is recorded as its inverse
    // in the current step. A step is what undo() takes back at once:
    //  - everything changed while an UndoStep lives (program commands: a merge, a write-back);
    //  - otherwise each change on its own, except that a person's typing merges: single-
    //    character inserts that follow each other forwards form one step, and so do
    //    backspaces, until the selection is moved, another kind of change happens or a step
    //    is undone.
    // undo()/redo() bring back text, formats (protection included) and the selection as they
    // were, without the protection check (the state they return to was a valid one), and set
    // the modified flag. A new change after undo() forgets the steps that could be redone.
    // The oldest steps are dropped beyond kMaxUndoSteps or kMaxUndoBytes of recorded text
    // (the newest step is always kept).
    static constexpr std::size_t kMaxUndoSteps = 200;
    static constexpr std::size_t kMaxUndoBytes = 32u << 20;

    bool canUndo() const { return !m_undo.empty() && m_stepDepth == 0; }
    bool canRedo() const { return !m_redo.empty() && m_stepDepth == 0; }
    // False (nothing changed) when there is nothing to undo/redo or an UndoStep is open.
    bool undo();
    bool redo();
    std::size_t undoCount() const { return m_undo.size(); }
    std::size_t redoCount() const { return m_redo.size(); }
    std::size_t historyBytes() const { return m_historyBytes; }
    void clearHistory();

    // Groups every change made while it lives into one undo step (nesting folds into the
    // outermost). REQUIRES: the buffer outlives it and is not moved or assigned meanwhile.
    class UndoStep {
    public:
        explicit UndoStep(RichText& text) : m_text(text) { m_text.openStep(); }
        ~UndoStep() { m_text.closeStep(); }
        UndoStep(const UndoStep&) = delete;
        UndoStep& operator=(const UndoStep&) = delete;

    private:
        RichText& m_text;
    };

private:
    struct RunSlot {
        std::uint32_t length;
        std::uint32_t formatId;
    };

    std::uint32_t intern(const CharFormat& format);
    bool mayChange(std::size_t pos, std::size_t length) const;
    bool mayInsertAt(std::size_t pos) const;
    // Index of the run holding byte `pos` and the offset where that run starts.
    void seekRun(std::size_t pos, std::size_t& index, std::size_t& runStart) const;
    // Splits runs so that a run boundary falls at `pos`; returns the index of the run that
    // starts there (run count when pos is the end).
    std::size_t splitAt(std::size_t pos);
    void mergeAround(std::size_t index, std::size_t start);
    void settleAfterRemoval(std::size_t index, std::size_t start);
    // `moveLayout` false: appending after pieces a reader has just anchored at the end.
    void insertRaw(std::size_t pos, std::string_view bytes, std::uint32_t formatId, bool moveLayout = true);
    void eraseRaw(std::size_t pos, std::size_t length);
    void setFormatRaw(std::size_t pos, std::size_t length, std::uint32_t formatId);
    void adjustSelectionForInsert(std::size_t pos, std::size_t length);
    void adjustSelectionForErase(std::size_t pos, std::size_t length);

    // Undo history (rich_text_history.cpp).
    // One recorded inverse: replace [pos, pos + removeLength) by `text` with `runs`; for a
    // format-only change, give [pos, pos + total run length) the formats of `runs`.
    struct UndoOp {
        std::size_t pos = 0;
        std::size_t removeLength = 0;
        std::string text;
        std::vector<RunSlot> runs;
        bool formatOnly = false;
    };
    struct HistoryStep {
        std::vector<UndoOp> ops;  // applied last to first
        std::size_t selStart = 0, selLength = 0;      // the selection the step returns to
        std::size_t otherStart = 0, otherLength = 0;  // the selection when it was recorded
        std::size_t bytes = 0;
    };
    enum class EditKind { Other, Typing, Backspace };

    void openStep();
    void closeStep();
    // Brackets a change made outside any UndoStep: continues the typing step or opens one.
    // `from`: where the change meets the typing it may continue; `next`: where further
    // typing of the same kind would continue it.
    void beginChange(EditKind kind, std::size_t from);
    void endChange(EditKind kind, std::size_t next);
    EditKind classify(std::size_t pos, std::size_t removed, std::string_view inserted) const;
    void breakTyping() { m_typing = EditKind::Other; }
    std::vector<RunSlot> slotsOf(std::size_t pos, std::size_t length) const;
    void recordInsert(std::size_t pos, std::size_t length);
    void recordErase(std::size_t pos, std::size_t length);
    void recordFormat(std::size_t pos, std::size_t length);
    void pushOp(UndoOp op);
    UndoOp applyOp(const UndoOp& op);
    HistoryStep applyStep(const HistoryStep& step);
    void pushUndo(HistoryStep step);
    bool recording() const { return m_recordDepth > 0; }

    GapBuffer<char> m_text;
    std::uint64_t m_textStamp;
    GapBuffer<RunSlot> m_runs;
    LayoutPieces m_layout;
    std::size_t m_replacedCharacters = 0;
    std::vector<CharFormat> m_formats;  // [0] is the default format
    std::unordered_map<std::string, std::uint32_t> m_formatIds;
    // Run lookup cache: run index and its start offset from the last seek.
    mutable std::size_t m_cacheIndex = 0;
    mutable std::size_t m_cacheStart = 0;

    std::size_t m_selStart = 0;
    std::size_t m_selLength = 0;
    int m_programEditDepth = 0;
    bool m_alwaysEditable = false;
    bool m_modified = false;

    std::deque<HistoryStep> m_undo, m_redo;
    std::size_t m_historyBytes = 0;  // of both lists
    HistoryStep m_open;              // the step being recorded
    int m_stepDepth = 0;             // open UndoSteps
    int m_recordDepth = 0;           // > 0 while changes are recorded into m_open
    EditKind m_typing = EditKind::Other;  // the kind of typing the newest step may continue
    std::size_t m_typingAt = 0;           // where that typing would continue
};

template <typename Change>
bool RichText::changeFormat(std::size_t pos, std::size_t length, Change change) {
    if (pos > size()) return false;
    if (length > size() - pos) length = size() - pos;
    if (!mayChange(pos, length)) return false;
    beginChange(EditKind::Other, pos);
    // Copy the formats first: interning a new format may move the format table.
    std::vector<std::pair<Run, CharFormat>> pieces;
    for (const Run& run : runs(pos, length)) pieces.emplace_back(run, *run.format);
    for (auto& [run, format] : pieces) {
        change(format);
        const std::uint32_t id = intern(format);
        recordFormat(run.start, run.length);
        setFormatRaw(run.start, run.length, id);
    }
    endChange(EditKind::Other, pos);
    if (length) m_modified = true;
    return true;
}

}  // namespace tavricat
