#include "base/library_info.h"

#include "base/encoding.h"

namespace tavricat {

LineList LibraryInfo::toLines() const {
    LineList lines = {title, author, fileName};
    lines.insert(lines.end(), description.begin(), description.end());
    return lines;
}

LibraryInfo LibraryInfo::fromLines(const LineList& lines) {
    LibraryInfo info;
    if (lines.size() > 0) info.title = lines[0];
    if (lines.size() > 1) info.author = lines[1];
    if (lines.size() > 2) info.fileName = lines[2];
    if (lines.size() > 3) info.description.assign(lines.begin() + 3, lines.end());
    return info;
}

bool isPlainLibraryName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ':' || byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

const char* infoExtension(LibraryKind kind) { return kind == LibraryKind::TermBase ? ".inf" : ".irf"; }

std::string defaultLibraryName(LibraryKind kind, Direction direction) {
    std::string base = kind == LibraryKind::TermBase ? "MyDict" : "MySents";
    return base + directionTag(direction);
}

LibraryInfo defaultLibraryInfo(LibraryKind kind, Direction direction, const std::string& name) {
    const bool ce = isCE(direction);
    LibraryInfo info;
    info.author = "我自己";
    info.fileName = encoding::utf8ToGbkLossy(name);
    if (kind == LibraryKind::TermBase) {
        info.title = ce ? "我的汉-英词库" : "我的英-汉词库";
        info.description = {ce ? "存放我翻译过的汉译英句子。" : "存放我翻译过的英译汉句子。"};
    } else {
        info.title = ce ? "我的汉-英例句库" : "我的英-汉例句库";
        info.description = {ce ? "我自己翻译的汉译英句子。" : "我自己翻译的英译汉句子。"};
    }
    return info;
}

Result<LoadedLibraryInfo> loadOrCreateLibraryInfo(FileSystem& fs, const std::string& path, LibraryKind kind,
                                                  Direction direction, const std::string& name) {
    LoadedLibraryInfo loaded;
    if (fs.exists(path)) {
        Result<LineList> lines = loadLines(fs, path);
        if (!lines) return lines.status();
        loaded.info = LibraryInfo::fromLines(*lines);
    } else {
        loaded.info = defaultLibraryInfo(kind, direction, name);
        Status written = replaceLines(fs, path, loaded.info.toLines());
        if (!written) return written;
        loaded.created = true;
    }
    loaded.shownTitle = loaded.info.title.empty() ? encoding::utf8ToGbkLossy(name) : loaded.info.title;
    return loaded;
}

}  // namespace tavricat
