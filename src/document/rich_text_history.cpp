// The undo history of RichText: each change is recorded as its inverse, and undoing a step
// applies the inverses while recording their own inverses as the step to redo. Nothing here
// copies the whole text: a step holds only the bytes a change removed and the positions of
// what it inserted, and neighbouring changes fold into one record (typing forwards, an erase
// right after a replacement), so recording costs time and memory linear in what changed.

#include <cassert>

#include "document/rich_text.h"

namespace tavricat {

namespace {

bool isOneCharacter(std::string_view s) {
    if (s.size() == 1) return true;
    if (s.size() != 2) return false;
    return static_cast<unsigned char>(s[0]) >= 0x81 || s == "\r\n";
}

}  // namespace

RichText::EditKind RichText::classify(std::size_t pos, std::size_t removed, std::string_view inserted) const {
    if (m_stepDepth > 0 || programEdit()) return EditKind::Other;
    if (removed == 0 && isOneCharacter(inserted)) return EditKind::Typing;
    if (inserted.empty() && removed <= 2 && isOneCharacter(text(pos, removed))) return EditKind::Backspace;
    return EditKind::Other;
}

void RichText::openStep() {
    if (m_stepDepth++ > 0) return;
    breakTyping();
    m_open = HistoryStep{};
    m_open.selStart = m_selStart;
    m_open.selLength = m_selLength;
    ++m_recordDepth;
}

void RichText::closeStep() {
    assert(m_stepDepth > 0);
    if (--m_stepDepth > 0) return;
    --m_recordDepth;
    if (!m_open.ops.empty()) {
        m_open.otherStart = m_selStart;
        m_open.otherLength = m_selLength;
        pushUndo(std::move(m_open));
    }
    m_open = HistoryStep{};
    breakTyping();
}

void RichText::beginChange(EditKind kind, std::size_t from) {
    if (m_stepDepth > 0) return;
    ++m_recordDepth;
    if (kind != EditKind::Other && kind == m_typing && from == m_typingAt && !m_undo.empty() && m_redo.empty()) {
        // The keystroke continues the newest step.
        m_open = std::move(m_undo.back());
        m_undo.pop_back();
        m_historyBytes -= m_open.bytes;
        return;
    }
    m_open = HistoryStep{};
    m_open.selStart = m_selStart;
    m_open.selLength = m_selLength;
}

void RichText::endChange(EditKind kind, std::size_t next) {
    if (m_stepDepth > 0) return;
    --m_recordDepth;
    if (m_open.ops.empty()) return;
    m_open.otherStart = m_selStart;
    m_open.otherLength = m_selLength;
    pushUndo(std::move(m_open));
    m_open = HistoryStep{};
    m_typing = kind;
    m_typingAt = next;
}

std::vector<RichText::RunSlot> RichText::slotsOf(std::size_t pos, std::size_t length) const {
    std::vector<RunSlot> slots;
    for (const Run& run : runs(pos, length))
        slots.push_back({static_cast<std::uint32_t>(run.length), static_cast<std::uint32_t>(run.format - m_formats.data())});
    return slots;
}

namespace {

std::size_t costOf(std::size_t textBytes, std::size_t runCount) {
    return 64 + textBytes + runCount * 8;
}

}  // namespace

void RichText::pushOp(UndoOp op) {
    if (!m_redo.empty()) {
        // A new change: what was undone can no longer be redone.
        for (const HistoryStep& step : m_redo) m_historyBytes -= step.bytes;
        m_redo.clear();
    }
    m_open.bytes += costOf(op.text.size(), op.runs.size());
    m_open.ops.push_back(std::move(op));
}

void RichText::recordInsert(std::size_t pos, std::size_t length) {
    if (!recording() || length == 0) return;
    if (!m_open.ops.empty()) {
        UndoOp& last = m_open.ops.back();
        // Text inserted into (or right after) what the previous record removes anyway.
        if (!last.formatOnly && last.pos <= pos && pos <= last.pos + last.removeLength) {
            last.removeLength += length;
            return;
        }
    }
    UndoOp op;
    op.pos = pos;
    op.removeLength = length;
    pushOp(std::move(op));
}

void RichText::recordErase(std::size_t pos, std::size_t length) {
    if (!recording() || length == 0) return;
    if (!m_open.ops.empty()) {
        UndoOp& last = m_open.ops.back();
        if (!last.formatOnly && last.pos <= pos && pos + length <= last.pos + last.removeLength) {
            // Erasing text the previous record removes anyway (typed, then taken back).
            last.removeLength -= length;
            return;
        }
        if (!last.formatOnly && pos == last.pos + last.removeLength) {
            // The erased bytes followed the previous record's range: they come back after it.
            m_text.copyTo(pos, length, last.text);
            std::vector<RunSlot> more = slotsOf(pos, length);
            std::size_t k = 0;
            if (!last.runs.empty() && !more.empty() && last.runs.back().formatId == more[0].formatId) {
                last.runs.back().length += more[0].length;
                k = 1;
            }
            last.runs.insert(last.runs.end(), more.begin() + static_cast<std::ptrdiff_t>(k), more.end());
            const std::size_t added = costOf(length, more.size() - k) - costOf(0, 0);
            m_open.bytes += added;
            return;
        }
    }
    UndoOp op;
    op.pos = pos;
    op.text = text(pos, length);
    op.runs = slotsOf(pos, length);
    pushOp(std::move(op));
}

void RichText::recordFormat(std::size_t pos, std::size_t length) {
    if (!recording() || length == 0) return;
    if (!m_open.ops.empty()) {
        const UndoOp& last = m_open.ops.back();
        if (!last.formatOnly && last.pos <= pos && pos + length <= last.pos + last.removeLength) return;
    }
    UndoOp op;
    op.pos = pos;
    op.runs = slotsOf(pos, length);
    op.formatOnly = true;
    pushOp(std::move(op));
}

RichText::UndoOp RichText::applyOp(const UndoOp& op) {
    UndoOp inverse;
    inverse.pos = op.pos;
    if (op.formatOnly) {
        std::size_t total = 0;
        for (const RunSlot& slot : op.runs) total += slot.length;
        assert(op.pos + total <= size());
        inverse.formatOnly = true;
        inverse.runs = slotsOf(op.pos, total);
        std::size_t at = op.pos;
        for (const RunSlot& slot : op.runs) {
            setFormatRaw(at, slot.length, slot.formatId);
            at += slot.length;
        }
        return inverse;
    }
    assert(op.pos + op.removeLength <= size());
    inverse.removeLength = op.text.size();
    inverse.text = text(op.pos, op.removeLength);
    inverse.runs = slotsOf(op.pos, op.removeLength);
    eraseRaw(op.pos, op.removeLength);
    std::size_t at = op.pos, offset = 0;
    for (const RunSlot& slot : op.runs) {
        insertRaw(at, std::string_view(op.text).substr(offset, slot.length), slot.formatId);
        at += slot.length;
        offset += slot.length;
    }
    return inverse;
}

RichText::HistoryStep RichText::applyStep(const HistoryStep& step) {
    HistoryStep inverse;
    inverse.selStart = step.otherStart;
    inverse.selLength = step.otherLength;
    inverse.otherStart = step.selStart;
    inverse.otherLength = step.selLength;
    inverse.ops.reserve(step.ops.size());
    for (auto it = step.ops.rbegin(); it != step.ops.rend(); ++it) {
        UndoOp op = applyOp(*it);
        inverse.bytes += costOf(op.text.size(), op.runs.size());
        inverse.ops.push_back(std::move(op));
    }
    select(step.selStart, step.selLength);
    return inverse;
}

void RichText::pushUndo(HistoryStep step) {
    m_historyBytes += step.bytes;
    m_undo.push_back(std::move(step));
    while (m_undo.size() > kMaxUndoSteps || (m_historyBytes > kMaxUndoBytes && m_undo.size() > 1)) {
        m_historyBytes -= m_undo.front().bytes;
        m_undo.pop_front();
    }
}

bool RichText::undo() {
    if (!canUndo()) return false;
    HistoryStep step = std::move(m_undo.back());
    m_undo.pop_back();
    m_historyBytes -= step.bytes;
    HistoryStep inverse = applyStep(step);
    m_historyBytes += inverse.bytes;
    m_redo.push_back(std::move(inverse));
    breakTyping();
    m_modified = true;
    return true;
}

bool RichText::redo() {
    if (!canRedo()) return false;
    HistoryStep step = std::move(m_redo.back());
    m_redo.pop_back();
    m_historyBytes -= step.bytes;
    pushUndo(applyStep(step));
    breakTyping();
    m_modified = true;
    return true;
}

void RichText::clearHistory() {
    m_undo.clear();
    m_redo.clear();
    m_historyBytes = 0;
    m_open.ops.clear();
    m_open.bytes = 0;
    breakTyping();
}

}  // namespace tavricat
