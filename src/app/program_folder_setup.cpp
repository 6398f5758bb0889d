#include "app/program_folder_setup.h"

#include <cstdlib>

namespace tavricat {

namespace {

Status completeFolder(FileSystem& fs, const std::string& from, const std::string& to, ProgramFolderSetup& setup) {
    if (Status made = fs.makeDirectories(to); !made) return made;
    Result<std::vector<std::string>> names = fs.listDirectory(from);
    if (!names) return names.status();
    for (const std::string& name : *names) {
        const std::string source = joinPath(from, name);
        const std::string target = findCaseInsensitive(fs, to, name);
        if (fs.isDirectory(source)) {
            if (Status s = completeFolder(fs, source, target, setup); !s) return s;
            continue;
        }
        if (fs.exists(target)) {
            setup.kept.push_back(target);
            continue;
        }
        if (Status copied = fs.copyFile(source, target); !copied) return copied;
        setup.copied.push_back(target);
    }
    return Status::ok();
}

}  // namespace

Result<ProgramFolderSetup> completeProgramFolder(FileSystem& fs, const std::string& deliveredFolder,
                                                 const std::string& programFolder) {
    ProgramFolderSetup setup;
    if (Status s = completeFolder(fs, deliveredFolder, programFolder, setup); !s) return s;
    return setup;
}

std::optional<std::string> findDeliveredFolder(FileSystem& fs, const std::string& executableFolder) {
    std::vector<std::string> candidates;
    if (const char* data = std::getenv("TAVRICAT_DATA"); data && *data) candidates.push_back(joinPath(data, "home"));
    if (!executableFolder.empty()) candidates.push_back(joinPath(executableFolder, "../share/tavricat/home"));
#ifdef TAVRICAT_SOURCE_DATA_DIR
    candidates.push_back(joinPath(TAVRICAT_SOURCE_DATA_DIR, "home"));
#endif
    for (const std::string& folder : candidates)
        if (fs.isDirectory(folder)) return folder;
    return std::nullopt;
}

}  // namespace tavricat
