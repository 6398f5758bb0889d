#pragma once
// The setup wizard's OK: direction, domains, which dictionaries are consulted, the current
// term base and sentence library, and whether the wizard opens at start-up. Also the rows
// of the wizard's library lists.

#include <optional>
#include <string>
#include <vector>

#include "base/library_info.h"
#include "base/direction.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "base/status.h"

namespace tavricat {

class Workbench;

// One library of userdata: `name` is the native base name of its information file, the
// name its data files share; `info` is what the file holds (its file-name line is the text
// as it was typed, which may differ from `name`).
struct LibraryRow {
    std::string name;
    LibraryInfo info;
};

// Every userdata/*.inf (term bases) or *.irf (sentence libraries), in the order the file
// system lists them. An unreadable information file still gives a row, with empty lines.
std::vector<LibraryRow> listLibraries(FileSystem& fs, const std::string& userDataFolder, LibraryKind kind);
// The row of library `name`, or -1.
int findLibraryRow(const std::vector<LibraryRow>& rows, const std::string& name);

// The wizard's answers. Names are native file names; titles and domains GBK.
struct SetupChoices {
    Direction direction = Direction::EC;
    std::optional<LineList> allDomains;  // the wizard's all-domains list, when it kept one
    LineList selectedDomains;
    bool useSysLib = true;
    bool useUserLib = true;
    std::string termBaseName, termBaseTitle;
    std::string sentenceLibraryName, sentenceLibraryTitle;
    bool popwizard = true;
};

inline constexpr const char* kTermBasePanelPrefix = "用户库: ";

// Makes term base `name` current: its .01 and .02 must exist. Nothing happens for an empty
// name or the current one. The current term base is saved first and stays when that save
// fails. A failure shows "选用" + title + "用户词库失败！请检查文件是否齐全".
Status chooseTermBase(Workbench& workbench, const std::string& name, const std::string& title);

// Applies every answer in the wizard's order; a failed step is told and the later steps
// still run. Returns the first failure.
Status applySetupChoices(Workbench& workbench, const SetupChoices& choices);

}  // namespace tavricat
