#include "app/workspace.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/required_files.h"

namespace tavricat {

Workspace::Workspace(FileSystem& fs, std::string programFolder)
    : m_fs(fs), m_programFolder(std::move(programFolder)) {}

std::string Workspace::programFile(const std::string& name) const {
    return findCaseInsensitive(m_fs, m_programFolder, name);
}

std::string Workspace::userDataFile(const std::string& name) const {
    return findCaseInsensitive(m_fs, m_programFolder, "userdata/" + name);
}

namespace {
std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}
}  // namespace

WorkspaceLocations locationsFromEnvironment(std::optional<std::string> homeOption, std::string exeFolder) {
    WorkspaceLocations where;
    where.homeOption = std::move(homeOption);
    where.homeVariable = variable("TAVRICAT_HOME");
    where.executableFolder = std::move(exeFolder);
    where.userHome = variable("HOME").value_or(".");
    where.xdgDataHome = variable("XDG_DATA_HOME");
    return where;
}

std::string chooseProgramFolder(FileSystem& fs, const WorkspaceLocations& where) {
    if (where.homeOption) return *where.homeOption;
    if (where.homeVariable) return *where.homeVariable;
    if (!where.executableFolder.empty()) {
        Workspace portable(fs, where.executableFolder);
        if (missingRequiredFiles(portable).empty()) return where.executableFolder;
    }
    std::string dataHome = where.xdgDataHome.value_or(joinPath(where.userHome, ".local/share"));
    return joinPath(dataHome, "tavricat");
}

std::string settingsStorePath() {
    std::optional<std::string> config = variable("XDG_CONFIG_HOME");
    std::string folder = config.value_or(joinPath(variable("HOME").value_or("."), ".config"));
    return joinPath(folder, "tavricat25cecmini.ini");
}

std::string executableFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string();
}

}  // namespace tavricat
