#pragma once
// Library information files: a term base's <name>.inf and a sentence library's <name>.irf.
// Lines, in order: title, author, file name (as it was typed), then the description, which
// may continue over several lines. GBK, CR LF.

#include <string>
#include <string_view>
#include <vector>

#include "base/direction.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "base/status.h"

namespace tavricat {

enum class LibraryKind { TermBase, SentenceLibrary };

struct LibraryInfo {
    std::string title;
    std::string author;
    std::string fileName;
    LineList description;

    LineList toLines() const;
    static LibraryInfo fromLines(const LineList& lines);
};

// True when `name` can name a library, term base or shared library: the stem of files kept
// directly in the user-data folder. Empty names, "." and "..", and names holding a path
// separator, a drive colon or a control character would reach files elsewhere.
bool isPlainLibraryName(std::string_view name);

// ".inf" or ".irf".
const char* infoExtension(LibraryKind kind);
// The default library of a direction: MyDictEC/MyDictCE or MySentsEC/MySentsCE.
std::string defaultLibraryName(LibraryKind kind, Direction direction);
// The four lines written when a library has no information file. Line 3 names the library
// itself (`name`), so that choosing it later by that line opens this library and not the
// default one.
LibraryInfo defaultLibraryInfo(LibraryKind kind, Direction direction, const std::string& name);

// Loads the information file of library `name` at `path`, creating it with the default lines
// when it does not exist. An empty title is shown as the library name.
struct LoadedLibraryInfo {
    LibraryInfo info;
    std::string shownTitle;
    bool created = false;
};
Result<LoadedLibraryInfo> loadOrCreateLibraryInfo(FileSystem& fs, const std::string& path, LibraryKind kind,
                                                  Direction direction, const std::string& name);

}  // namespace tavricat
