#include "base/line_list.h"

#include "base/encoding.h"

namespace tavricat {

LineList splitLines(std::string_view text) {
    LineList lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
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

Result<LineList> loadLines(FileSystem& fs, const std::string& path) {
    Result<std::string> data = fs.readFile(path);
    if (!data) return data.status();
    std::string_view text = *data;
    // Every mark, not only the first: a second one would otherwise be read as the start of
    // the first line, written back at the start of the file and dropped at the next load.
    while (text.starts_with(encoding::kUtf8Bom)) text.remove_prefix(encoding::kUtf8Bom.size());
    return splitLines(text);
}

Result<LineList> loadInputLines(FileSystem& fs, const std::string& path) {
    Result<std::string> data = fs.readFile(path);
    if (!data) return data.status();
    Result<std::string> text = encoding::inputTextToGbk(*data);
    if (!text) return Status::error(ErrorKind::BadInput, encoding::utf8ToGbkLossy(path) + ": " + text.status().message());
    return splitLines(*text);
}

Status saveLines(FileSystem& fs, const std::string& path, const LineList& lines) {
    return fs.writeFile(path, joinLines(lines));
}

Status replaceLines(FileSystem& fs, const std::string& path, const LineList& lines) {
    return replaceFile(fs, path, joinLines(lines));
}

}  // namespace tavricat
