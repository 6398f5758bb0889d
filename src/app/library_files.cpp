#include "app/library_files.h"

#include <ctime>

#include "base/bak_save.h"
#include "base/encoding.h"

namespace tavricat {

namespace {

Status moveAside(FileSystem& fs, const std::string& path, const std::string& stamp, std::vector<std::string>& moved) {
    std::string target = path + ".orphan-" + stamp;
    for (int n = 2; fs.exists(target); ++n) target = path + ".orphan-" + stamp + "-" + std::to_string(n);
    Status renamed = fs.rename(path, target);
    if (renamed) moved.push_back(target);
    return renamed;
}

std::string restoredNotice(const std::string& kindName, const std::string& name) {
    return kindName + " " + encoding::utf8ToGbkLossy(name) + " 上次保存未完成，已用备份文件恢复。";
}

}  // namespace

Result<LibraryFilesOpening> openLibraryFiles(const Workspace& workspace, const std::string& name,
                                             const std::vector<std::string>& extensions,
                                             const std::vector<std::string>& infoExtensions,
                                             const std::string& kindName, const std::string& stamp) {
    FileSystem& fs = workspace.fs();
    LibraryFilesOpening opening;

    Result<bool> restored = finishInterruptedSave(workspace, name, extensions, infoExtensions);
    if (!restored) return restored.status();
    opening.restoredFromBak = *restored;

    std::vector<std::string> paths;
    std::size_t present = 0;
    for (const std::string& ext : extensions) {
        paths.push_back(workspace.userDataFile(name + ext));
        if (fs.exists(paths.back())) ++present;
    }
    opening.wasComplete = present == paths.size();

    // Leftovers of a failed save: the bak files and the renamed information file.
    std::vector<std::string> endangered;
    for (const std::string& ext : extensions) {
        std::string bak = workspace.userDataFile(bakPathOf(name + ext));
        if (fs.exists(bak)) endangered.push_back(bak);
    }
    for (const std::string& ext : infoExtensions) {
        std::string bak = workspace.userDataFile(bakPathOf(name + ext));
        if (fs.exists(bak)) endangered.push_back(bak);
    }
    if (!opening.wasComplete && present > 0)
        for (const std::string& path : paths)
            if (fs.exists(path)) endangered.push_back(path);

    for (const std::string& path : endangered) {
        Status moved = moveAside(fs, path, stamp, opening.movedAside);
        if (!moved) return moved;  // nothing is created over a file we could not keep
    }

    if (!opening.wasComplete) {
        for (const std::string& path : paths) {
            if (fs.exists(path)) continue;
            Status written = fs.writeFile(path, "");
            if (!written) return written;
            opening.created.push_back(path);
        }
    }

    if (opening.restoredFromBak) {
        opening.notice = restoredNotice(kindName, name);
    }
    if (!opening.movedAside.empty()) {
        if (!opening.notice.empty()) opening.notice += "\r\n";
        std::string list;
        for (const std::string& path : opening.movedAside) list += "\r\n" + encoding::utf8ToGbkLossy(path);
        opening.notice += kindName + " " + encoding::utf8ToGbkLossy(name) +
                          " 的文件不全或上次保存未完成。为了不丢失数据，以下文件已移到一旁：" + list;
    }
    return opening;
}

// A complete set of bak files means a save wrote all of them (each is written whole or not
// at all) and then stopped while copying them over the real files, or found a copy failing:
// the bak set holds the newest complete library, the real files may be a mix. The copies
// are done again, and only when all of them succeeded are the bak files removed, so an
// interruption here leaves the same situation for the next start.
Result<bool> finishInterruptedSave(const Workspace& workspace, const std::string& name,
                                   const std::vector<std::string>& extensions,
                                   const std::vector<std::string>& infoExtensions) {
    FileSystem& fs = workspace.fs();
    if (name.empty()) return false;
    for (const std::string& ext : extensions)
        if (!fs.exists(workspace.userDataFile(bakPathOf(name + ext)))) return false;
    for (const std::string& ext : extensions) {
        Status copied = fs.copyFile(workspace.userDataFile(bakPathOf(name + ext)), workspace.userDataFile(name + ext));
        if (!copied) return copied;
    }
    // A bak left behind holds what the real file now holds: the next start copies it again.
    for (const std::string& ext : extensions) (void)fs.remove(workspace.userDataFile(bakPathOf(name + ext)));
    // A failed save renamed the information file; it belongs to the restored library.
    for (const std::string& ext : infoExtensions) {
        const std::string info = workspace.userDataFile(name + ext);
        if (fs.exists(bakPathOf(info)) && !fs.exists(info)) {
            if (Status renamed = fs.rename(bakPathOf(info), info); !renamed) return renamed;
        }
    }
    return true;
}

std::string fileNameStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

std::string libraryNameInUse(const Workspace& workspace, LibraryKind kind, Direction direction,
                             const std::string& configured) {
    const char* keyFile = kind == LibraryKind::TermBase ? ".01" : ".rf1";
    if (isPlainLibraryName(configured) && workspace.fs().exists(workspace.userDataFile(configured + keyFile))) return configured;
    return defaultLibraryName(kind, direction);
}

Result<LibraryChoice> chooseLibraryAtStart(const Workspace& workspace, LibraryKind kind, Direction direction,
                                           const std::string& configured, const std::vector<std::string>& extensions,
                                           const std::vector<std::string>& infoExtensions,
                                           const std::string& kindName) {
    LibraryChoice choice;
    Result<bool> restored = finishInterruptedSave(workspace, configured, extensions, infoExtensions);
    if (!restored) {
        return Status::error(restored.status().kind(),
                             kindName + " " + encoding::utf8ToGbkLossy(configured) +
                                 " 上次保存未完成，但备份文件无法复制回原文件（" +
                                 encoding::utf8ToGbkLossy(restored.status().message()) +
                                 "）。备份文件保留在原处；请检查文件权限和硬盘空间后再启动。");
    }
    if (*restored) choice.notice = restoredNotice(kindName, configured);
    choice.name = libraryNameInUse(workspace, kind, direction, configured);
    if (!configured.empty() && choice.name != configured) {
        if (!choice.notice.empty()) choice.notice += "\r\n";
        choice.notice += "没有找到" + kindName + " " + encoding::utf8ToGbkLossy(configured) + " 的文件，改用" +
                         kindName + " " + encoding::utf8ToGbkLossy(choice.name) + "。";
    }
    return choice;
}

}  // namespace tavricat
