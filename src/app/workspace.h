#pragma once
// The program folder (where every library and data file lives) and its userdata/ folder.
// All paths of the system are formed from these two; file names are matched without regard
// to case, so a program folder copied from another machine works as it is.

#include <optional>
#include <string>

#include "base/file_system.h"
#include "base/status.h"

namespace tavricat {

class Workspace {
public:
    Workspace(FileSystem& fs, std::string programFolder);

    const std::string& programFolder() const { return m_programFolder; }
    std::string userDataFolder() const { return joinPath(m_programFolder, "userdata"); }

    // Path of a file of the program folder / of userdata/, using the spelling found on disk
    // when one exists (any case), else the name as given.
    std::string programFile(const std::string& name) const;
    std::string userDataFile(const std::string& name) const;
    FileSystem& fs() const { return m_fs; }

private:
    FileSystem& m_fs;
    std::string m_programFolder;
};

struct WorkspaceLocations {
    std::optional<std::string> homeOption;   // --home DIR
    std::optional<std::string> homeVariable; // TAVRICAT_HOME
    std::string executableFolder;            // may be empty when unknown
    std::string userHome;                    // $HOME
    std::optional<std::string> xdgDataHome;  // XDG_DATA_HOME
};

// Takes the locations from the process environment (all but homeOption and executableFolder).
WorkspaceLocations locationsFromEnvironment(std::optional<std::string> homeOption, std::string executableFolder);

// The program folder, in this order: --home, TAVRICAT_HOME, the executable's folder when it
// holds the required files (a portable install), else $XDG_DATA_HOME/tavricat
// (~/.local/share/tavricat).
std::string chooseProgramFolder(FileSystem& fs, const WorkspaceLocations& where);

// Where the settings store lives: $XDG_CONFIG_HOME/tavricat25cecmini.ini (~/.config/...).
std::string settingsStorePath();

// Folder of the running executable ("" when it cannot be told).
std::string executableFolder();

}  // namespace tavricat
