#include "document/rich_text.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <string_view>

namespace tavricat {

namespace {

// A key that tells formats apart, for interning.
std::string formatKey(const CharFormat& f) {
    std::string key = f.fontName;
    key += '\0';
    key += std::to_string(f.sizeHalfPoints) + ',' + std::to_string(f.colour) + ',' + std::to_string(f.charset) + ',';
    key += f.bold ? 'b' : '-';
    key += f.italic ? 'i' : '-';
    key += f.underline ? 'u' : '-';
    key += f.isProtected ? 'p' : '-';
    return key;
}

std::uint64_t newTextStamp() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

}  // namespace

RichText::RichText() : m_textStamp(newTextStamp()) { intern(CharFormat{}); }

std::uint32_t RichText::intern(const CharFormat& format) {
    std::string key = formatKey(format);
    auto it = m_formatIds.find(key);
    if (it != m_formatIds.end()) return it->second;
    std::uint32_t id = static_cast<std::uint32_t>(m_formats.size());
    m_formats.push_back(format);
    m_formatIds.emplace(std::move(key), id);
    return id;
}

void RichText::setDefaultFormat(const CharFormat& format) {
    // Id 0 stays the default: existing runs that used it change with it, as a control's
    // default format does.
    m_formatIds.erase(formatKey(m_formats[0]));
    m_formats[0] = format;
    m_formatIds[formatKey(format)] = 0;
}

std::string RichText::text() const { return text(0, size()); }

std::string RichText::text(std::size_t pos, std::size_t length) const {
    if (pos >= size()) return {};
    length = std::min(length, size() - pos);
    std::string out;
    out.reserve(length);
    m_text.copyTo(pos, length, out);
    return out;
}

std::size_t RichText::find(std::string_view needle, std::size_t from, std::size_t limit) const {
    const std::size_t n = size();
    if (limit == npos || limit > n) limit = n;
    if (needle.empty() || from >= limit || needle.size() > limit - from) return npos;
    // Search the contiguous halves in place; only a window around the gap is copied.
    auto searchIn = [&](const char* base, std::size_t baseOffset, std::size_t begin, std::size_t end) -> std::size_t {
        // [begin, end) in text positions, all inside one half starting at text offset baseOffset.
        if (end < begin + needle.size()) return npos;
        std::string_view hay(base + (begin - baseOffset), end - begin);
        std::size_t hit = hay.find(needle);
        return hit == std::string_view::npos ? npos : begin + hit;
    };
    const std::size_t gap = m_text.gapPosition();
    // 1. Entirely before the gap.
    if (from < gap) {
        std::size_t hit = searchIn(m_text.front(), 0, from, std::min(gap, limit));
        if (hit != npos) return hit;
    }
    // 2. Straddling the gap.
    if (from < gap && gap < limit && needle.size() > 1) {
        std::size_t wBegin = std::max(from, gap >= needle.size() - 1 ? gap - (needle.size() - 1) : 0);
        std::size_t wEnd = std::min(limit, gap + needle.size() - 1);
        std::string window = text(wBegin, wEnd - wBegin);
        std::size_t hit = std::string_view(window).find(needle);
        if (hit != std::string_view::npos) return wBegin + hit;
    }
    // 3. Entirely after the gap.
    std::size_t begin = std::max(from, gap);
    if (begin < limit) return searchIn(m_text.back(), gap, begin, limit);
    return npos;
}

std::size_t RichText::findBackward(std::string_view needle, std::size_t from) const {
    if (needle.empty() || needle.size() > size()) return npos;
    std::size_t pos = std::min(from, size() - needle.size());
    for (;;) {
        bool match = true;
        for (std::size_t k = 0; k < needle.size(); ++k)
            if (m_text[pos + k] != needle[k]) {
                match = false;
                break;
            }
        if (match) return pos;
        if (pos == 0) return npos;
        --pos;
    }
}

// --- runs -------------------------------------------------------------------------------

void RichText::seekRun(std::size_t pos, std::size_t& index, std::size_t& runStart) const {
    assert(pos < size());
    std::size_t i = std::min(m_cacheIndex, m_runs.size() - 1);
    std::size_t start = m_cacheIndex < m_runs.size() ? m_cacheStart : 0;
    if (m_cacheIndex >= m_runs.size()) i = 0;
    while (pos < start) {
        --i;
        start -= m_runs[i].length;
    }
    while (pos >= start + m_runs[i].length) {
        start += m_runs[i].length;
        ++i;
    }
    m_cacheIndex = i;
    m_cacheStart = start;
    index = i;
    runStart = start;
}

const CharFormat& RichText::formatAt(std::size_t pos) const {
    if (pos >= size()) return m_formats[0];
    std::size_t index, start;
    seekRun(pos, index, start);
    return m_formats[m_runs[index].formatId];
}

CharFormat RichText::formatForInsertAt(std::size_t pos) const {
    if (pos > 0 && pos <= size()) return formatAt(pos - 1);
    if (pos < size()) return formatAt(pos);
    return m_formats[0];
}

std::vector<RichText::Run> RichText::runs(std::size_t pos, std::size_t length) const {
    std::vector<Run> out;
    if (pos >= size()) return out;
    std::size_t end = (length == npos || length > size() - pos) ? size() : pos + length;
    std::size_t index, start;
    seekRun(pos, index, start);
    while (start < end) {
        std::size_t runEnd = start + m_runs[index].length;
        std::size_t b = std::max(start, pos), e = std::min(runEnd, end);
        out.push_back({b, e - b, &m_formats[m_runs[index].formatId]});
        start = runEnd;
        ++index;
    }
    return out;
}

bool RichText::isProtected(std::size_t pos, std::size_t length) const {
    if (pos >= size() || length == 0) return false;
    for (const Run& run : runs(pos, length))
        if (run.format->isProtected) return true;
    return false;
}

std::size_t RichText::splitAt(std::size_t pos) {
    if (pos >= size()) return m_runs.size();
    std::size_t index, start;
    seekRun(pos, index, start);
    if (start == pos) return index;
    RunSlot run = m_runs[index];
    std::uint32_t left = static_cast<std::uint32_t>(pos - start);
    m_runs[index].length = left;
    m_runs.insert(index + 1, RunSlot{run.length - left, run.formatId});
    m_cacheIndex = index + 1;
    m_cacheStart = pos;
    return index + 1;
}

void RichText::mergeAround(std::size_t index, std::size_t start) {
    // REQUIRES: run `index` starts at `start`. Leaves the lookup cache on the merged run, so
    // that edits moving through the text never walk the runs from the beginning.
    if (index >= m_runs.size()) {
        m_cacheIndex = m_cacheStart = 0;
        return;
    }
    if (index + 1 < m_runs.size() && m_runs[index].formatId == m_runs[index + 1].formatId) {
        m_runs[index].length += m_runs[index + 1].length;
        m_runs.erase(index + 1, 1);
    }
    if (index > 0 && m_runs[index - 1].formatId == m_runs[index].formatId) {
        start -= m_runs[index - 1].length;
        m_runs[index - 1].length += m_runs[index].length;
        m_runs.erase(index, 1);
        --index;
    }
    m_cacheIndex = index;
    m_cacheStart = start;
}

void RichText::settleAfterRemoval(std::size_t index, std::size_t start) {
    // Run `index` (if any) now starts at `start`; merge it with its left neighbour.
    if (index < m_runs.size()) {
        mergeAround(index, start);
    } else if (index > 0) {
        m_cacheIndex = index - 1;
        m_cacheStart = start - m_runs[index - 1].length;
    } else {
        m_cacheIndex = m_cacheStart = 0;
    }
}

void RichText::insertRaw(std::size_t pos, std::string_view bytes, std::uint32_t formatId, bool moveLayout) {
    if (bytes.empty()) return;
    if (moveLayout) m_layout.onInsert(pos, bytes.size());
    std::size_t index = splitAt(pos);
    m_text.insert(pos, bytes.data(), bytes.size());
    m_textStamp = newTextStamp();
    // Very long insertions are stored as several runs so that a run length fits 32 bits.
    std::size_t left = bytes.size();
    std::size_t at = index;
    while (left > 0) {
        std::uint32_t piece = static_cast<std::uint32_t>(std::min<std::size_t>(left, 0x7FFFFFFF));
        m_runs.insert(at++, RunSlot{piece, formatId});
        left -= piece;
    }
    mergeAround(index, pos);
}

void RichText::eraseRaw(std::size_t pos, std::size_t length) {
    if (length == 0) return;
    std::size_t first = splitAt(pos);
    std::size_t last = splitAt(pos + length);  // the run after the erased range
    m_runs.erase(first, last - first);
    m_text.erase(pos, length);
    m_layout.onErase(pos, length);
    m_textStamp = newTextStamp();
    settleAfterRemoval(first, pos);
}

void RichText::setFormatRaw(std::size_t pos, std::size_t length, std::uint32_t formatId) {
    if (length == 0) return;
    std::size_t first = splitAt(pos);
    std::size_t last = splitAt(pos + length);
    m_runs.erase(first, last - first);
    m_runs.insert(first, RunSlot{static_cast<std::uint32_t>(length), formatId});
    mergeAround(first, pos);
}

// --- edits ------------------------------------------------------------------------------

bool RichText::mayChange(std::size_t pos, std::size_t length) const {
    if (m_alwaysEditable || programEdit()) return true;
    return !isProtected(pos, length);
}

bool RichText::mayInsertAt(std::size_t pos) const {
    if (m_alwaysEditable || programEdit()) return true;
    if (pos == 0 || pos >= size()) return true;
    return !(formatAt(pos - 1).isProtected && formatAt(pos).isProtected);
}

void RichText::adjustSelectionForInsert(std::size_t pos, std::size_t length) {
    if (pos <= m_selStart) m_selStart += length;
    else if (pos < m_selStart + m_selLength) m_selLength += length;
}

void RichText::adjustSelectionForErase(std::size_t pos, std::size_t length) {
    std::size_t selEnd = m_selStart + m_selLength;
    auto shift = [&](std::size_t p) {
        if (p <= pos) return p;
        if (p >= pos + length) return p - length;
        return pos;
    };
    m_selStart = shift(m_selStart);
    m_selLength = shift(selEnd) - m_selStart;
}

bool RichText::insert(std::size_t pos, std::string_view bytes) {
    // As typing does: text written after a marker is the person's own and stays editable.
    return replace(pos, 0, bytes);
}

bool RichText::insert(std::size_t pos, std::string_view bytes, const CharFormat& format) {
    if (pos > size() || !mayInsertAt(pos)) return false;
    if (bytes.empty()) return true;
    const EditKind kind = classify(pos, 0, bytes);
    beginChange(kind, pos);
    recordInsert(pos, bytes.size());
    insertRaw(pos, bytes, intern(format));
    adjustSelectionForInsert(pos, bytes.size());
    endChange(kind, pos + bytes.size());
    m_modified = true;
    return true;
}

bool RichText::erase(std::size_t pos, std::size_t length) {
    if (pos > size()) return false;
    length = std::min(length, size() - pos);
    if (!mayChange(pos, length)) return false;
    if (length == 0) return true;
    const EditKind kind = classify(pos, length, {});
    beginChange(kind, pos + length);
    recordErase(pos, length);
    eraseRaw(pos, length);
    adjustSelectionForErase(pos, length);
    endChange(kind, pos);
    m_modified = true;
    return true;
}

bool RichText::replace(std::size_t pos, std::size_t length, std::string_view bytes) {
    if (pos > size()) return false;
    // Replaced text takes the format of its first byte, as typing over a selection does.
    CharFormat format = (length > 0 && pos < size()) ? formatAt(pos) : formatForInsertAt(pos);
    if (format.isProtected && !programEdit() && !m_alwaysEditable) format.isProtected = false;
    return replace(pos, length, bytes, format);
}

bool RichText::replace(std::size_t pos, std::size_t length, std::string_view bytes, const CharFormat& format) {
    if (pos > size()) return false;
    length = std::min(length, size() - pos);
    if (!mayChange(pos, length)) return false;
    if (length == 0 && !mayInsertAt(pos)) return false;
    if (length == 0 && bytes.empty()) return true;
    const EditKind kind = classify(pos, length, bytes);
    beginChange(kind, kind == EditKind::Backspace ? pos + length : pos);
    recordErase(pos, length);
    eraseRaw(pos, length);
    adjustSelectionForErase(pos, length);
    recordInsert(pos, bytes.size());
    insertRaw(pos, bytes, intern(format));
    adjustSelectionForInsert(pos, bytes.size());
    endChange(kind, pos + bytes.size());
    if (length || !bytes.empty()) m_modified = true;
    return true;
}

bool RichText::setFormat(std::size_t pos, std::size_t length, const CharFormat& format) {
    if (pos > size()) return false;
    length = std::min(length, size() - pos);
    if (!mayChange(pos, length)) return false;
    if (length == 0) return true;
    const std::uint32_t id = intern(format);
    beginChange(EditKind::Other, pos);
    recordFormat(pos, length);
    setFormatRaw(pos, length, id);
    endChange(EditKind::Other, pos);
    m_modified = true;
    return true;
}

void RichText::clear() {
    m_text.clear();
    m_textStamp = newTextStamp();
    m_runs.clear();
    m_layout.clear();
    m_cacheIndex = m_cacheStart = 0;  // no runs: the next seek starts afresh
    m_selStart = m_selLength = 0;
    m_modified = true;
    clearHistory();
}

void RichText::append(std::string_view bytes, const CharFormat& format) {
    insertRaw(size(), bytes, intern(format), false);
}

void RichText::appendFrom(const RichText& other, std::size_t pos, std::size_t length) {
    const std::size_t at = size();
    for (const Run& run : other.runs(pos, length)) append(other.text(run.start, run.length), *run.format);
    if (m_layout.documentRtf().empty()) m_layout.setDocumentRtf(other.m_layout.documentRtf());
    m_layout.insertAt(at, other.m_layout.copyRange(pos, std::min(length, other.size() - std::min(pos, other.size())),
                                                   other.size()));
}

RichText RichText::copyRange(std::size_t pos, std::size_t length) const {
    RichText copy;
    copy.m_formats[0] = m_formats[0];
    copy.m_formatIds.clear();
    copy.m_formatIds[formatKey(m_formats[0])] = 0;
    copy.appendFrom(*this, pos, length);
    copy.m_modified = false;
    return copy;
}

bool RichText::replaceWith(std::size_t pos, std::size_t length, const RichText& other) {
    if (pos > size()) return false;
    length = std::min(length, size() - pos);
    if (!mayChange(pos, length)) return false;
    beginChange(EditKind::Other, pos);
    recordErase(pos, length);
    eraseRaw(pos, length);
    adjustSelectionForErase(pos, length);
    recordInsert(pos, other.size());
    std::size_t at = pos;
    for (const Run& run : other.runs()) {
        insertRaw(at, other.text(run.start, run.length), intern(*run.format));
        at += run.length;
    }
    m_layout.insertAt(pos, other.m_layout.copyRange(0, other.size(), other.size()));
    adjustSelectionForInsert(pos, other.size());
    endChange(EditKind::Other, at);
    m_modified = true;
    return true;
}

void RichText::select(std::size_t start, std::size_t length) {
    start = std::min(start, size());
    length = std::min(length, size() - start);
    // Moving the selection ends the typing that the next keystroke could continue.
    if (start != m_selStart || length != m_selLength) breakTyping();
    m_selStart = start;
    m_selLength = length;
}

}  // namespace tavricat
