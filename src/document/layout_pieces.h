#pragma once
// The layout of a document that the buffer does not model as text or character formats:
// paragraph properties, table rows and cell ends, pictures, field instructions, section and
// page breaks, the openings and closings of footnotes, headers and footers. Each piece is
// RTF as the document held it, anchored at a byte offset of the text and written back at
// that place. The document's own tables (styles, lists, information) are kept whole.
//
// Pieces move with the text: an insertion before a piece moves it on, an erased range
// gathers the pieces it held at its start (nothing of the layout is lost by an edit).
// At an insertion point that holds pieces, the new text goes after the last piece that
// opens what follows (a paragraph's properties, a footnote's opening) and before the
// pieces that close what came before, so text typed at the start of a paragraph belongs
// to it and a translation added after a cell's last sentence stays in the cell.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavricat {

struct LayoutPiece {
    enum class Side : unsigned char {
        Opens,   // belongs to the text after it
        Closes,  // belongs to the text before it
    };
    std::size_t pos = 0;  // written before the byte at this offset (at the end: after all text)
    std::string rtf;
    Side side = Side::Opens;
    // Written in place of the CR LF at `pos`, which is the text's own mark of the break: a
    // cell end ("\cell"), a line or section break, the edge of a footnote or header that
    // stands as a paragraph of its own in the text.
    bool replacesBreak = false;

    bool operator==(const LayoutPiece&) const = default;
};

class LayoutPieces {
public:
    bool empty() const { return m_pieces.empty() && m_documentRtf.empty(); }
    const std::vector<LayoutPiece>& pieces() const { return m_pieces; }
    // Document-level destinations (style sheet, list tables, information), written after
    // the font and colour tables.
    const std::string& documentRtf() const { return m_documentRtf; }
    void setDocumentRtf(std::string rtf) { m_documentRtf = std::move(rtf); }
    void appendDocumentRtf(std::string_view rtf) { m_documentRtf += rtf; }

    // Adds a piece after every piece at or before its offset (readers add in text order).
    void add(LayoutPiece piece);
    // Replaces the pieces (sorted by offset, in document order).
    void assign(std::vector<LayoutPiece> pieces) { m_pieces = std::move(pieces); }
    void clear();

    // Keeps the pieces in step with an edit of the text.
    void onInsert(std::size_t pos, std::size_t length);
    void onErase(std::size_t pos, std::size_t length);

    // The pieces of [pos, pos + length], offsets made relative to pos; a piece at the end
    // offset is taken when it closes what came before or replaces a break there.
    std::vector<LayoutPiece> copyRange(std::size_t pos, std::size_t length, std::size_t textSize) const;
    // Inserts pieces (relative offsets) at `pos`, as an insertion of text there places them.
    void insertAt(std::size_t pos, const std::vector<LayoutPiece>& pieces);

    // Index of the first piece at or after `pos`.
    std::size_t firstAtOrAfter(std::size_t pos) const;

private:
    // Where at `pos` an insertion goes: index of the first piece that moves with it.
    std::size_t insertionIndex(std::size_t pos) const;

    std::vector<LayoutPiece> m_pieces;  // by offset, then in document order
    std::string m_documentRtf;
};

}  // namespace tavricat
