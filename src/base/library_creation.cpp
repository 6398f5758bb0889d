#include "base/library_creation.h"

#include <vector>

#include "base/encoding.h"
#include "base/gbk.h"
#include "base/line_list.h"

namespace tavricat {

std::string libraryBaseName(std::string_view typed) {
    std::string_view name = gbk::trim(typed);
    // The last path component: after the last "\" or "/" that is a character of its own.
    std::size_t componentStart = 0;
    for (std::size_t pos = 0; pos < name.size(); pos += gbk::charLength(name, pos)) {
        if (name[pos] == '\\' || name[pos] == '/') componentStart = pos + 1;
    }
    name = name.substr(componentStart);
    name = name.substr(0, name.find('.'));
    return std::string(gbk::trim(name));
}

Result<std::string> createLibraryFiles(FileSystem& fs, const std::string& userDataFolder, LibraryKind kind,
                                       const LibraryInfo& info) {
    const std::string base = libraryBaseName(info.fileName);
    if (base.empty()) return Status::error(ErrorKind::Refused, kEmptyLibraryFileName);
    Result<std::string> name = encoding::gbkToUtf8(base);
    if (!name) return name.status();
    if (!isPlainLibraryName(*name)) return Status::error(ErrorKind::Refused, kNotPlainLibraryName);

    std::vector<std::string> extensions = {infoExtension(kind)};
    if (kind == LibraryKind::TermBase) {
        extensions.insert(extensions.end(), {".01", ".02"});
    } else {
        extensions.insert(extensions.end(), {".rf0", ".rf1", ".rf2"});
    }
    for (const std::string& extension : extensions)
        if (fs.exists(findCaseInsensitive(fs, userDataFolder, *name + extension)))
            return Status::error(ErrorKind::Refused, kLibraryNameExists);

    for (const std::string& extension : extensions) {
        const std::string path = joinPath(userDataFolder, *name + extension);
        Status written = replaceFile(fs, path, extension == extensions.front() ? joinLines(info.toLines()) : "");
        if (!written) {
            // Clearing up what this call made; the write failure is what the caller needs.
            for (const std::string& made : extensions) (void)fs.remove(joinPath(userDataFolder, *name + made));
            return written;
        }
    }
    return *name;
}

}  // namespace tavricat
