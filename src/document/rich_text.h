#pragma once
// RichText: the document buffer of the core. GBK bytes (line breaks are CR LF) with
// character-format runs, a caret and selection, and two flags:
//  - the program-edit flag: while it is clear, changes that touch protected text are refused
//    (the person cannot type over segment markers); program operations set it through
//    ProgramEdit;
//  - the modified flag: set by every accepted change, cleared by loading and saving.
// Positions are byte offsets. Text and runs live in gap buffers, so edits that move through a
// document from front to back cost time linear in the document, not quadratic.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "document/char_format.h"
#include "document/gap_buffer.h"

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
    void clear();  // always allowed: loading a document

    // Appends `bytes` with `format` at the end (used by readers; never refused).
    void append(std::string_view bytes, const CharFormat& format);
    // Appends a range of another buffer with its formats.
    void appendFrom(const RichText& other, std::size_t pos, std::size_t length);
    // A new buffer holding [pos, pos + length) of this one with its formats.
    RichText copyRange(std::size_t pos, std::size_t length) const;
    // Replaces [pos, pos + length) by the whole of `other` with its formats.
    bool replaceWith(std::size_t pos, std::size_t length, const RichText& other);

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
    void insertRaw(std::size_t pos, std::string_view bytes, std::uint32_t formatId);
    void eraseRaw(std::size_t pos, std::size_t length);
    void setFormatRaw(std::size_t pos, std::size_t length, std::uint32_t formatId);
    void adjustSelectionForInsert(std::size_t pos, std::size_t length);
    void adjustSelectionForErase(std::size_t pos, std::size_t length);

    GapBuffer<char> m_text;
    std::uint64_t m_textStamp;
    GapBuffer<RunSlot> m_runs;
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
};

template <typename Change>
bool RichText::changeFormat(std::size_t pos, std::size_t length, Change change) {
    if (pos > size()) return false;
    if (length > size() - pos) length = size() - pos;
    if (!mayChange(pos, length)) return false;
    // Copy the formats first: interning a new format may move the format table.
    std::vector<std::pair<Run, CharFormat>> pieces;
    for (const Run& run : runs(pos, length)) pieces.emplace_back(run, *run.format);
    for (auto& [run, format] : pieces) {
        change(format);
        setFormatRaw(run.start, run.length, intern(format));
    }
    if (length) m_modified = true;
    return true;
}

}  // namespace tavricat
