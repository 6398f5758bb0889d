#pragma once
// A sequence with a movable gap: insertions and deletions cost the distance from the last
// edit plus their own size, so a pass that edits a long text from front to back (automatic
// translation writing thousands of segments) stays linear.

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

namespace tavricat {

template <typename T>
class GapBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    std::size_t size() const { return m_data.size() - gapLength(); }
    bool empty() const { return size() == 0; }

    const T& operator[](std::size_t i) const { return i < m_gapStart ? m_data[i] : m_data[i + gapLength()]; }
    T& operator[](std::size_t i) { return i < m_gapStart ? m_data[i] : m_data[i + gapLength()]; }

    // REQUIRES: pos <= size()
    void insert(std::size_t pos, const T* items, std::size_t count) {
        assert(pos <= size());
        if (count == 0) return;
        reserveGap(count);
        moveGap(pos);
        std::memcpy(m_data.data() + m_gapStart, items, count * sizeof(T));
        m_gapStart += count;
    }
    void insert(std::size_t pos, const T& item) { insert(pos, &item, 1); }

    // REQUIRES: pos + count <= size()
    void erase(std::size_t pos, std::size_t count) {
        assert(pos + count <= size());
        if (count == 0) return;
        moveGap(pos);
        m_gapEnd += count;
    }

    void clear() {
        m_data.clear();
        m_gapStart = m_gapEnd = 0;
    }

    // Copies [pos, pos + count) into `out` (appending).
    template <typename Out>
    void copyTo(std::size_t pos, std::size_t count, Out& out) const {
        const std::size_t end = pos + count;
        if (pos < m_gapStart) {
            std::size_t stop = std::min(end, m_gapStart);
            out.insert(out.end(), m_data.begin() + pos, m_data.begin() + stop);
            pos = stop;
        }
        if (pos < end) out.insert(out.end(), m_data.begin() + pos + gapLength(), m_data.begin() + end + gapLength());
    }

    // The two contiguous halves: [0, gapStart) and the rest.
    const T* front() const { return m_data.data(); }
    std::size_t frontSize() const { return m_gapStart; }
    const T* back() const { return m_data.data() + m_gapEnd; }
    std::size_t backSize() const { return m_data.size() - m_gapEnd; }
    std::size_t gapPosition() const { return m_gapStart; }

private:
    std::size_t gapLength() const { return m_gapEnd - m_gapStart; }

    void moveGap(std::size_t pos) {
        if (pos < m_gapStart) {
            std::size_t n = m_gapStart - pos;
            std::memmove(m_data.data() + m_gapEnd - n, m_data.data() + pos, n * sizeof(T));
            m_gapStart -= n;
            m_gapEnd -= n;
        } else if (pos > m_gapStart) {
            std::size_t n = pos - m_gapStart;
            std::memmove(m_data.data() + m_gapStart, m_data.data() + m_gapEnd, n * sizeof(T));
            m_gapStart += n;
            m_gapEnd += n;
        }
    }

    void reserveGap(std::size_t needed) {
        if (gapLength() >= needed) return;
        const std::size_t oldSize = m_data.size();
        const std::size_t tail = oldSize - m_gapEnd;
        std::size_t newSize = std::max(oldSize * 2, oldSize + needed + 64);
        m_data.resize(newSize);
        // Move the part after the gap to the new end.
        std::memmove(m_data.data() + newSize - tail, m_data.data() + m_gapEnd, tail * sizeof(T));
        m_gapEnd = newSize - tail;
    }

    std::vector<T> m_data;
    std::size_t m_gapStart = 0;
    std::size_t m_gapEnd = 0;
};

}  // namespace tavricat
