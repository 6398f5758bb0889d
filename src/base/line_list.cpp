#include "base/line_list.h"

#include <algorithm>
#include <cstring>

#include "base/encoding.h"

namespace tavricat {

void LineSplitter::add(std::string_view piece) {
    std::size_t at = 0;
    if (m_afterCarriageReturn && !piece.empty()) {
        m_afterCarriageReturn = false;
        if (piece[0] == '\n') at = 1;
    }
    while (at < piece.size()) {
        std::size_t end = at;
        while (end < piece.size() && piece[end] != '\r' && piece[end] != '\n') ++end;
        if (end == piece.size()) {
            m_partial.append(piece.substr(at));
            return;
        }
        if (m_partial.empty()) {
            m_lines.emplace_back(piece.substr(at, end - at));
        } else {
            m_partial.append(piece.substr(at, end - at));
            m_lines.push_back(std::move(m_partial));
            m_partial.clear();
        }
        at = end + 1;
        if (piece[end] == '\r') {
            if (at == piece.size()) m_afterCarriageReturn = true;
            else if (piece[at] == '\n') ++at;
        }
    }
}

LineList LineSplitter::finish() {
    if (!m_partial.empty()) m_lines.push_back(std::move(m_partial));
    m_partial.clear();
    m_afterCarriageReturn = false;
    return std::move(m_lines);
}

LineList splitLines(std::string_view text) {
    LineSplitter splitter;
    splitter.add(text);
    return splitter.finish();
}

std::string joinLines(const LineList& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

namespace {
// Walks joinLines(lines) without building it, matching it against the pieces of a file.
class JoinedLinesMatcher {
public:
    explicit JoinedLinesMatcher(const LineList& lines) : m_lines(lines) {}

    void take(std::string_view piece) {
        while (m_matches && !piece.empty()) {
            if (m_line == m_lines.size()) {
                m_matches = false;  // the file goes on after the last line
                return;
            }
            const std::string& line = m_lines[m_line];
            const std::size_t lineSize = line.size() + 2;
            const std::size_t n = std::min(piece.size(), lineSize - m_offset);
            std::size_t i = 0;
            if (m_offset < line.size()) {
                i = std::min(n, line.size() - m_offset);
                m_matches = std::memcmp(piece.data(), line.data() + m_offset, i) == 0;
            }
            for (; i < n && m_matches; ++i) m_matches = piece[i] == (m_offset + i == line.size() ? '\r' : '\n');
            piece.remove_prefix(n);
            m_offset += n;
            if (m_offset == lineSize) {
                ++m_line;
                m_offset = 0;
            }
        }
    }

    bool matchedAll() const { return m_matches && m_line == m_lines.size() && m_offset == 0; }

private:
    const LineList& m_lines;
    std::size_t m_line = 0;
    std::size_t m_offset = 0;  // bytes of the current line (and its CR LF) matched so far
    bool m_matches = true;
};
}  // namespace

bool fileHoldsLines(FileSystem& fs, const std::string& path, const LineList& lines) {
    if (!fs.exists(path)) return false;
    JoinedLinesMatcher matcher(lines);
    const Status read = fs.readPieces(path, [&](std::string_view piece) { matcher.take(piece); });
    return read && matcher.matchedAll();
}

Result<LineList> loadLines(FileSystem& fs, const std::string& path) {
    // Split as it is read, so that a library file of a hundred megabytes is never held whole
    // beside its lines.
    LineSplitter splitter;
    // The start of the file, until it is known to begin with no more marks. Every mark, not
    // only the first: a second one would otherwise be read as the start of the first line,
    // written back at the start of the file and dropped at the next load.
    std::string head;
    bool inHead = true;
    auto take = [&](std::string_view piece) {
        if (!inHead) {
            splitter.add(piece);
            return;
        }
        head.append(piece);
        std::string_view rest = head;
        while (rest.starts_with(encoding::kUtf8Bom)) rest.remove_prefix(encoding::kUtf8Bom.size());
        // A part of a mark may be the rest of it still to come.
        if (encoding::kUtf8Bom.starts_with(rest)) {
            head.erase(0, head.size() - rest.size());
            return;
        }
        inHead = false;
        splitter.add(rest);
        head.clear();
    };
    if (Status read = fs.readPieces(path, take); !read) return read;
    if (inHead) splitter.add(head);
    return splitter.finish();
}

Result<LineList> loadInputLines(FileSystem& fs, const std::string& path) {
    Result<std::string> data = fs.readFile(path);
    if (!data) return data.status();
    Result<std::string> text = encoding::inputTextToGbk(*data);
    if (!text) return Status::error(ErrorKind::BadInput, encoding::utf8ToGbkLossy(path) + ": " + text.status().message());
    return splitLines(*text);
}

Status saveLines(FileSystem& fs, const std::string& path, const LineList& lines) {
    return fs.writeLines(path, lines);
}

Status replaceLines(FileSystem& fs, const std::string& path, const LineList& lines) {
    return replaceThrough(fs, path, [&](const std::string& scratch) { return fs.writeLines(scratch, lines); });
}

}  // namespace tavricat
