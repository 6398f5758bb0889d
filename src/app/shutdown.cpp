// The shutdown sequence: every list and library written back in its fixed order.

#include <functional>

#include "app/workbench.h"
#include "base/encoding.h"

namespace tavricat {

Status Workbench::writeDomainAndDeletedLists() {
    // Each list goes back to the file it came from, whatever the case of its name on disk.
    if (Status s = replaceLines(m_fs, m_workspace.userDataFile("allzy.ini"), allDomains); !s) return s;
    if (Status s = replaceLines(m_fs, m_workspace.userDataFile("userSelZy.ini"), selectedDomains); !s) return s;
    return replaceLines(m_fs, m_workspace.userDataFile("DeletedWords.ini"), engine.deletedWords);
}

Status Workbench::writeSettingsStore() {
    Result<SettingsStore> store = SettingsStore::open(m_fs, m_options.settingsPath);
    if (!store) return store.status();
    Settings toWrite = settings;
    // A direction given for this run only leaves the stored one as it was, and so do the
    // default libraries start-up chose for that direction; a switch the person agreed to
    // during the run is stored.
    if (m_options.direction && direction() == *m_options.direction) {
        toWrite.ctoe = m_stored.ctoe;
        if (toWrite.curZyname == m_startZyname) toWrite.curZyname = m_stored.curZyname;
        if (toWrite.curLiJuKuname == m_startLiJuKuname) toWrite.curLiJuKuname = m_stored.curLiJuKuname;
    }
    writeSettings(*store, toWrite);
    recentFiles.write(*store);
    return store->save(m_fs);
}

Status Workbench::appendRunList(const std::string& name, const LineList& list) {
    if (list.empty()) return Status::ok();
    const std::string path = m_workspace.userDataFile(name);
    std::string text;
    if (m_fs.exists(path)) {
        // An unreadable history is not taken for an empty one: writing it back would erase it.
        Result<std::string> old = m_fs.readFile(path);
        if (!old) return old.status();
        text = std::move(*old);
        if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
    }
    text += joinLines(list);
    return replaceFile(m_fs, path, text);
}

Status Workbench::shutdown() {
    // A start that did not finish loaded nothing worth writing; writing would erase files.
    if (!m_started) return Status::ok();
    struct Step {
        std::function<Status()> run;
        int barAfter;  // bar position once the step is done; 0 leaves it
    };
    // Later owners (term base, sentence library, engine) take their places in this order.
    const Step steps[] = {
        {[&] { return writeDomainAndDeletedLists(); }, 0},
        // The term base save tells the person about its own failures and shutdown goes on.
        {[&] {
             engine.termBase.saveTermBase(m_fs, m_dialogs, m_workspace.userDataFolder());
             return Status::ok();
         },
         60},
        // The sentence library tells the person about its own failures too.
        {[&] {
             if (!settings.curLiJuKuname.empty())
                 sentenceLibrary.savelijuku(m_fs, m_dialogs, m_workspace.userDataFolder());
             return Status::ok();
         },
         0},
        {[&] { return saveGrammar(); }, 70},
        {[&] { return writeSettingsStore(); }, 0},
        {[&] { return appendRunList("userlibw.saw", newUserWords); }, 80},
        {[&] { return appendRunList("userlibg.sag", newGrammarEntries); }, 0},
        {[&] { return m_fs.remove(m_workspace.programFile("temlibw.saw")); }, 0},
        {[&] { return m_fs.remove(m_workspace.programFile("temlibs.sas")); }, 100},
    };

    m_progress.show("正在保存系统文件，请等待...", 100, 50);
    Status failure;
    for (const Step& step : steps) {
        failure = step.run();
        if (!failure) break;
        if (step.barAfter) m_progress.setPosition(step.barAfter);
    }
    m_progress.hide();
    m_started = false;

    if (!failure) m_dialogs.message("退出时出错!");
    return failure;
}

}  // namespace tavricat
