#include "app/sentence_library_switch.h"

#include "base/library_creation.h"
#include "app/workbench.h"
#include "base/encoding.h"

namespace tavricat {

namespace {

// What the status bar and the messages call a library: its title, or its name without one.
std::string shownTitle(const LibraryInfo& info, const std::string& name) {
    return info.title.empty() ? encoding::utf8ToGbkLossy(name) : info.title;
}

LibraryInfo readInfo(Workbench& workbench, const std::string& name) {
    Result<LineList> lines =
        loadLines(workbench.fs(), workbench.workspace().userDataFile(name + infoExtension(LibraryKind::SentenceLibrary)));
    return lines ? LibraryInfo::fromLines(*lines) : LibraryInfo{};
}

// Saves the current library and puts `next` in its place. When the save fails (saveFiles
// has told the person) the current library stays.
Status install(Workbench& workbench, SentenceLibrary next, const std::string& name, const LibraryInfo& info) {
    if (!workbench.sentenceLibrary.name.empty()) {
        Status saved = workbench.sentenceLibrary.saveFiles(workbench.fs(), workbench.dialogs(),
                                                           workbench.workspace().userDataFolder());
        if (!saved) return saved;
    }
    workbench.installSentenceLibrary(std::move(next), name, info);
    return Status::ok();
}

// Multi-word segment keys of the run's term base and system dictionary, for rebuilding a
// damaged index.
SegmentKeyTest segmentKeysOfTheRun(Workbench& workbench) {
    return [&workbench](std::string_view words) {
        return !workbench.engine.termBase.lookupKey(words).empty() ||
               !workbench.engine.systemDictionary.lookupKey(words).empty();
    };
}

void tellIndexRepair(Workbench& workbench, const SentenceLibrary& library) {
    if (!library.indexRepair().empty()) workbench.dialogs().message(library.indexRepair());
}

}  // namespace

Status useSentenceLibrary(Workbench& workbench, const std::string& name) {
    if (name.empty() || name == workbench.sentenceLibrary.name) return Status::ok();
    if (!isPlainLibraryName(name)) {
        const std::string refused = encoding::utf8ToGbkLossy(name) + " 不是例句库的名称：名称里不能有路径。";
        workbench.dialogs().message(refused);
        return Status::error(ErrorKind::Refused, refused);
    }
    const LibraryInfo info = readInfo(workbench, name);
    const std::string failed = "选用" + shownTitle(info, name) + "例句库时失败，请检查文件是否齐全！";
    for (const char* extension : {".rf2", ".rf1", ".rf0"}) {
        if (!workbench.fs().exists(workbench.workspace().userDataFile(name + extension))) {
            workbench.dialogs().message(failed);
            return Status::error(ErrorKind::NotFound, failed);
        }
    }
    SentenceLibrary next;
    if (!next.load(workbench.fs(), workbench.workspace().userDataFolder(), name, segmentKeysOfTheRun(workbench))) {
        workbench.dialogs().message(failed);
        return Status::error(ErrorKind::Io, failed);
    }
    tellIndexRepair(workbench, next);
    return install(workbench, std::move(next), name, info);
}

Result<std::string> createSentenceLibrary(Workbench& workbench, const LibraryInfo& info) {
    Result<std::string> created = createLibraryFiles(workbench.fs(), workbench.workspace().userDataFolder(),
                                                     LibraryKind::SentenceLibrary, info);
    if (!created) {
        workbench.dialogs().message(created.status().message());
        return created;
    }
    if (workbench.dialogs().askYesNo(kEnableNewSentenceLibrary)) {
        SentenceLibrary next;
        if (Status loaded = next.load(workbench.fs(), workbench.workspace().userDataFolder(), *created); !loaded) {
            workbench.dialogs().message(loaded.message());
            return loaded;
        }
        if (Status installed = install(workbench, std::move(next), *created, info); !installed) return installed;
    }
    return created;
}

Status restoreLibs(Workbench& workbench) {
    if (Status reloaded = workbench.reloadTermBase(); !reloaded) return reloaded;
    Status loaded = workbench.reloadSentenceLibrary(segmentKeysOfTheRun(workbench));
    if (loaded) tellIndexRepair(workbench, workbench.sentenceLibrary);
    return loaded;
}

void clearLibs(Workbench& workbench) {
    workbench.clearTermBase();
    workbench.clearSentenceLibrary();
}

}  // namespace tavricat
