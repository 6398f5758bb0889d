#pragma once
// Changing which sentence library is current: choosing another one, creating a new one,
// reloading the libraries from disk and emptying them. The current library is always saved
// before another one takes its place; when that save fails the current library stays, so
// that the examples held only in memory are not dropped.

#include <string>

#include "base/library_info.h"
#include "base/status.h"

namespace tavricat {

class Workbench;

inline constexpr const char* kEnableNewSentenceLibrary = "启用新例句库吗?";

// Makes library `name` (native file name, no extension) current: its .rf0, .rf1 and .rf2
// must all exist. Nothing happens for an empty name or the current one. A failure shows
// "选用" + title + "例句库时失败，请检查文件是否齐全！" and keeps the current library.
Status useSentenceLibrary(Workbench& workbench, const std::string& name);

// Creates an empty library from the library-information answers and, when the person says
// yes to kEnableNewSentenceLibrary, makes it current. Returns the new library's name; a
// refusal (empty or taken name) is shown and returned.
Result<std::string> createSentenceLibrary(Workbench& workbench, const LibraryInfo& info);

// `restoreLibs`: the term base and the sentence library read again from their files,
// dropping changes not yet saved.
Status restoreLibs(Workbench& workbench);

// `clearLibs`: the term base and sentence library lists emptied (in memory only).
void clearLibs(Workbench& workbench);

}  // namespace tavricat
