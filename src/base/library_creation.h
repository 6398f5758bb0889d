#pragma once
// Creating a new, empty library from the answers of the library-information dialog: its
// information file (title, author, the file name as typed, description) and its empty data
// files, .01/.02 for a term base, .rf0/.rf1/.rf2 for a sentence library.

#include <string>
#include <string_view>

#include "base/library_info.h"
#include "base/file_system.h"
#include "base/status.h"

namespace tavricat {

inline constexpr const char* kEmptyLibraryFileName = "文件名不能为空！请重新输入。";
inline constexpr const char* kLibraryNameExists = "文件名称已存在，请重新命名！";
inline constexpr const char* kNotPlainLibraryName = "文件名不能含有路径或控制字符！请重新输入。";

// The base name of a typed file name (GBK): trimmed, its last path component, cut before
// the first ".". "  d:\\libs\\Report.rf0 " -> "Report".
std::string libraryBaseName(std::string_view typed);

// Writes the new library's files in `userDataFolder` and returns its native (UTF-8) name.
// Refused with kEmptyLibraryFileName when no name is left and with kLibraryNameExists when
// any file of the set already exists in any case of its name (nothing is overwritten). A
// failed write leaves no partial set behind.
Result<std::string> createLibraryFiles(FileSystem& fs, const std::string& userDataFolder, LibraryKind kind,
                                       const LibraryInfo& info);

}  // namespace tavricat
