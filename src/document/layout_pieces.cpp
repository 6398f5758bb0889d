#include "document/layout_pieces.h"

#include <algorithm>

namespace tavricat {

namespace {

bool before(const LayoutPiece& piece, std::size_t pos) { return piece.pos < pos; }

}  // namespace

void LayoutPieces::add(LayoutPiece piece) {
    const auto at = std::upper_bound(m_pieces.begin(), m_pieces.end(), piece.pos,
                                     [](std::size_t pos, const LayoutPiece& p) { return pos < p.pos; });
    m_pieces.insert(at, std::move(piece));
}

void LayoutPieces::clear() {
    m_pieces.clear();
    m_documentRtf.clear();
}

std::size_t LayoutPieces::firstAtOrAfter(std::size_t pos) const {
    return static_cast<std::size_t>(std::lower_bound(m_pieces.begin(), m_pieces.end(), pos, before) - m_pieces.begin());
}

std::size_t LayoutPieces::insertionIndex(std::size_t pos) const {
    const std::size_t first = firstAtOrAfter(pos);
    std::size_t split = first;
    for (std::size_t i = first; i < m_pieces.size() && m_pieces[i].pos == pos; ++i)
        if (m_pieces[i].side == LayoutPiece::Side::Opens && !m_pieces[i].replacesBreak) split = i + 1;
    return split;
}

void LayoutPieces::onInsert(std::size_t pos, std::size_t length) {
    if (length == 0) return;
    for (std::size_t i = insertionIndex(pos); i < m_pieces.size(); ++i) m_pieces[i].pos += length;
}

void LayoutPieces::onErase(std::size_t pos, std::size_t length) {
    if (length == 0) return;
    const std::size_t end = pos + length;
    for (std::size_t i = firstAtOrAfter(pos > 0 ? pos - 1 : 0); i < m_pieces.size(); ++i) {
        LayoutPiece& piece = m_pieces[i];
        // A break whose CR or LF goes is written as the piece alone from now on.
        if (piece.replacesBreak && piece.pos + 1 >= pos && piece.pos < end) piece.replacesBreak = false;
        if (piece.pos <= pos) continue;
        piece.pos = piece.pos <= end ? pos : piece.pos - length;
    }
}

std::vector<LayoutPiece> LayoutPieces::copyRange(std::size_t pos, std::size_t length, std::size_t textSize) const {
    std::vector<LayoutPiece> out;
    const std::size_t end = pos + length;
    for (std::size_t i = firstAtOrAfter(pos); i < m_pieces.size() && m_pieces[i].pos <= end; ++i) {
        LayoutPiece piece = m_pieces[i];
        const bool atStart = piece.pos == pos && pos > 0 && piece.side == LayoutPiece::Side::Closes;
        const bool atEnd = piece.pos == end && end < textSize &&
                           (piece.side == LayoutPiece::Side::Opens || piece.replacesBreak);
        if ((atStart && length > 0) || atEnd) continue;
        piece.pos -= pos;
        out.push_back(std::move(piece));
    }
    return out;
}

void LayoutPieces::insertAt(std::size_t pos, const std::vector<LayoutPiece>& pieces) {
    std::size_t index = insertionIndex(pos);
    std::size_t lastPos = pos;
    for (const LayoutPiece& piece : pieces) {
        LayoutPiece placed = piece;
        placed.pos += pos;
        if (placed.pos != lastPos) {
            // Past the first offset no pieces of this buffer lie inside the inserted text;
            // at its end the new pieces go before the ones that moved there with the text.
            index = firstAtOrAfter(placed.pos);
            lastPos = placed.pos;
        }
        m_pieces.insert(m_pieces.begin() + static_cast<std::ptrdiff_t>(index), std::move(placed));
        ++index;
    }
}

}  // namespace tavricat
