#include "app/setup_choices.h"

#include <cctype>

#include "app/direction_switch.h"
#include "app/sentence_library_switch.h"
#include "app/workbench.h"
#include "base/encoding.h"

namespace tavricat {

namespace {

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() <= suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const unsigned char a = static_cast<unsigned char>(text[text.size() - suffix.size() + i]);
        if (std::tolower(a) != std::tolower(static_cast<unsigned char>(suffix[i]))) return false;
    }
    return true;
}

}  // namespace

std::vector<LibraryRow> listLibraries(FileSystem& fs, const std::string& userDataFolder, LibraryKind kind) {
    std::vector<LibraryRow> rows;
    const std::string extension = infoExtension(kind);
    Result<std::vector<std::string>> names = fs.listDirectory(userDataFolder);
    if (!names) return rows;
    for (const std::string& file : *names) {
        if (!endsWithNoCase(file, extension)) continue;
        LibraryRow row;
        row.name = file.substr(0, file.size() - extension.size());
        if (Result<LineList> lines = loadLines(fs, joinPath(userDataFolder, file))) row.info = LibraryInfo::fromLines(*lines);
        rows.push_back(std::move(row));
    }
    return rows;
}

int findLibraryRow(const std::vector<LibraryRow>& rows, const std::string& name) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return static_cast<int>(i);
    return -1;
}

Status chooseTermBase(Workbench& workbench, const std::string& name, const std::string& title) {
    if (name.empty() || name == workbench.settings.curZyname) return Status::ok();
    if (!isPlainLibraryName(name)) {
        const std::string refused = encoding::utf8ToGbkLossy(name) + " 不是用户词库的名称：名称里不能有路径。";
        workbench.dialogs().message(refused);
        return Status::error(ErrorKind::Refused, refused);
    }
    const std::string shown = title.empty() ? encoding::utf8ToGbkLossy(name) : title;
    const std::string failed = "选用" + shown + "用户词库失败！请检查文件是否齐全";
    const std::string folder = workbench.workspace().userDataFolder();
    for (const char* extension : {".01", ".02"}) {
        if (!workbench.fs().exists(workbench.workspace().userDataFile(name + extension))) {
            workbench.dialogs().message(failed);
            return Status::error(ErrorKind::NotFound, failed);
        }
    }
    TermBase next;
    if (!next.load(workbench.fs(), folder, name)) {
        workbench.dialogs().message(failed);
        return Status::error(ErrorKind::Io, failed);
    }
    TermBase& current = workbench.engine.termBase;
    // A phrase split for the current sentence belongs to the term base being left.
    restoreSplitPhrases(workbench.sentenceState, current, workbench.engine.deletedWords);
    if (!current.name.empty()) {
        // saveTermBase has told the person; the unsaved terms must stay in memory.
        if (Status saved = current.saveTermBase(workbench.fs(), workbench.dialogs(), folder); !saved) return saved;
    }
    Result<LineList> info = loadLines(workbench.fs(), workbench.workspace().userDataFile(name + ".inf"));
    workbench.installTermBase(std::move(next), info ? LibraryInfo::fromLines(*info) : LibraryInfo{}, shown);
    return Status::ok();
}

Status applySetupChoices(Workbench& workbench, const SetupChoices& choices) {
    Status first = Status::ok();
    auto keep = [&first](Status s) {
        if (!s && first) first = std::move(s);
    };
    keep(switchDirection(workbench, choices.direction));
    if (choices.allDomains) workbench.setDomains(*choices.allDomains, choices.selectedDomains);
    else workbench.setSelectedDomains(choices.selectedDomains);
    Settings edited = workbench.settings;
    edited.useSysLib = choices.useSysLib;
    edited.useUserLib = choices.useUserLib;
    workbench.changeSettings(edited);
    keep(chooseTermBase(workbench, choices.termBaseName, choices.termBaseTitle));
    keep(useSentenceLibrary(workbench, choices.sentenceLibraryName));
    edited = workbench.settings;
    edited.popwizard = choices.popwizard;
    workbench.changeSettings(edited);
    return first;
}

}  // namespace tavricat
