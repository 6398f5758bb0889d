#include "app/workbench.h"

#include "app/library_files.h"
#include "base/encoding.h"

namespace tavricat {

Workbench::Workbench(FileSystem& fs, Workspace workspace, Dialogs& dialogs, Progress& progress,
                     WorkbenchOptions options)
    : m_fs(fs),
      m_workspace(std::move(workspace)),
      m_dialogs(dialogs),
      m_progress(progress),
      m_options(std::move(options)) {}

void Workbench::tell(const std::string& text) {
    notices.push_back(text);
    m_dialogs.message(text);
}

std::string Workbench::stamp() const { return m_options.stamp ? m_options.stamp() : fileNameStamp(); }

std::string directionPanelText(Direction direction) { return isCE(direction) ? "汉英" : "英汉"; }

Status Workbench::saveUserTem() {
    Status words = replaceLines(m_fs, m_workspace.programFile("temlibw.saw"), newUserWords);
    if (!words) return words;
    // The two names are native file names; the file is GBK like the rest.
    LineList names = {encoding::utf8ToGbkLossy(settings.curZyname), encoding::utf8ToGbkLossy(settings.curLiJuKuname)};
    return replaceLines(m_fs, m_workspace.programFile("lastzyliju.sav"), names);
}

Status Workbench::saveGrammar() {
    const std::string dir = directionTag(direction());
    return saveGrammarLibrary(m_fs, grammar, m_workspace.userDataFile("modes" + dir + ".m1"),
                              m_workspace.userDataFile("modes" + dir + ".m2"));
}

Status Workbench::loadDirectionResources() {
    const Direction d = direction();
    const std::string dir = directionTag(d);
    const std::string dictionary = isCE(d) ? "cedict" : "ecdict";
    // The dictionary's files may be spelled in any case; both must share one base name.
    std::string idx = m_workspace.programFile(dictionary + ".IDX");
    std::string basePath = idx.substr(0, idx.size() - 4);
    bool haveDictionary = engine.systemDictionary.open(m_fs, basePath);
    if (haveDictionary) {
        // A damaged dictionary would answer "not found" for every word it gets wrong.
        if (Status checked = checkDictionaryFiles(m_fs, basePath); !checked) {
            engine.systemDictionary.close();
            if (settings.useSysLib) tell(checked.message());
        }
    } else if (settings.useSysLib) {
        tell(isCE(d) ? "没有找到系统所带的汉英词库" : "没有找到系统所带的英汉词库");
    }

    Result<GrammarLibrary> loaded = loadGrammarLibrary(m_fs, m_workspace.userDataFile("modes" + dir + ".m1"),
                                                       m_workspace.userDataFile("modes" + dir + ".m2"));
    if (!loaded) return loaded.status();
    grammar = std::move(*loaded);
    statusPanels[0] = directionPanelText(d);
    return Status::ok();
}

}  // namespace tavricat
