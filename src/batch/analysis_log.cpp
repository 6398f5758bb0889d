#include "batch/analysis_log.h"

#include <ctime>
#include <filesystem>

namespace tavricat {

std::string localDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32], time[32];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return std::string(date) + "   " + time;
}

std::string withTxtExtension(const std::string& name, const std::string& extension) {
    const std::size_t slash = name.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.find('.', nameStart);
    return (dot == std::string::npos ? name : name.substr(0, dot)) + "." + extension;
}

std::optional<std::string> checkLogFile(FileSystem& fs, const std::string& name) {
    std::string path = name.empty() ? std::string(kDefaultAnalysisLog) : name;
    if (fs.exists(path) && !fs.isDirectory(path)) return path;

    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    if (error || !full.has_filename()) return std::nullopt;
    const std::string folder = full.parent_path().string();
    if (!fs.isDirectory(folder) && !fs.makeDirectories(folder)) return std::nullopt;
    path = withTxtExtension(full.string());
    if (fs.exists(path)) return fs.isDirectory(path) ? std::nullopt : std::optional(path);
    if (!fs.writeFile(path, "")) return std::nullopt;
    return path;
}

}  // namespace tavricat
