// The shutdown sequence: every list and library written back in its fixed order.

#include <algorithm>
#include <functional>
#include <utility>

#include "app/workbench.h"
#include "base/encoding.h"

namespace tavricat {

Status Workbench::writeDomainAndDeletedLists() {
    // Each list goes back to the file it came from, whatever the case of its name on disk;
    // a list as it is on disk is not written. Every list is tried; the failures are named.
    std::string failures;
    const std::pair<const char*, const LineList*> lists[] = {
        {"allzy.ini", &allDomains}, {"userSelZy.ini", &selectedDomains}, {"DeletedWords.ini", &engine.deletedWords}};
    for (const auto& [name, list] : lists) {
        const std::string path = m_workspace.userDataFile(name);
        const std::string text = joinLines(*list);
        if (fileHolds(m_fs, path, text)) continue;
        if (Status s = replaceFile(m_fs, path, text); !s) failures += (failures.empty() ? "" : "\r\n") + s.message();
    }
    if (failures.empty()) return Status::ok();
    return Status::error(ErrorKind::Io, failures);
}

Status Workbench::writeSettingsStore() {
    Result<SettingsStore> store = SettingsStore::open(m_fs, m_options.settingsPath);
    if (!store) return store.status();
    const std::vector<SettingsStore::Entry> before = store->entries();
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
    const std::vector<SettingsStore::Entry> after = store->entries();
    const bool unchanged = m_fs.exists(m_options.settingsPath) && before.size() == after.size() &&
                           std::equal(before.begin(), before.end(), after.begin(), [](const auto& a, const auto& b) {
                               return a.section == b.section && a.key == b.key && a.value == b.value;
                           });
    if (unchanged) return Status::ok();
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
    // A phrase split for the sentence under translation is not a deletion: it goes back
    // before the term base and the deleted words are written.
    restoreSplitPhrases(sentenceState, engine.termBase, engine.deletedWords);
    struct Step {
        std::function<Status()> run;
        int barAfter;  // bar position once the step is done; 0 leaves it
    };
    const std::string userData = m_workspace.userDataFolder();
    // The files a library save writes, for the report of a failed one.
    auto named = [](const std::string& files, const Status& s) {
        return s ? s : Status::error(s.kind(), files + ": " + s.message());
    };
    // Later owners (term base, sentence library, engine) take their places in this order.
    const Step steps[] = {
        {[&] { return writeDomainAndDeletedLists(); }, 0},
        // The library saves tell the person about their own failures as they happen.
        {[&] {
             return named(joinPath(userData, engine.termBase.name) + ".01/.02",
                          engine.termBase.saveTermBase(m_fs, m_dialogs, userData));
         },
         60},
        {[&] {
             if (settings.curLiJuKuname.empty()) return Status::ok();
             return named(joinPath(userData, sentenceLibrary.name) + ".rf0/.rf1/.rf2",
                          sentenceLibrary.saveFiles(m_fs, m_dialogs, userData));
         },
         0},
        {[&] { return saveGrammar(); }, 70},
        {[&] { return saveTeamFiles(*this); }, 0},
        {[&] { return writeSettingsStore(); }, 0},
        {[&] { return appendRunList("userlibw.saw", newUserWords); }, 80},
        {[&] { return appendRunList("userlibg.sag", newGrammarEntries); }, 0},
        {[&] { return removeIfPresent(m_workspace.programFile("temlibw.saw")); }, 0},
        {[&] { return removeIfPresent(m_workspace.programFile("temlibs.sas")); }, 100},
    };

    m_progress.show("正在保存系统文件，请等待...", 100, 50);
    // Every step runs whatever an earlier one did: a list that cannot be written must not
    // cost the run's examples. The failures are reported together.
    Status firstFailure;
    std::string report;
    for (const Step& step : steps) {
        Status s = step.run();
        if (!s) {
            if (firstFailure) firstFailure = s;
            report += "\r\n" + s.message();
        }
        if (step.barAfter) m_progress.setPosition(step.barAfter);
    }
    m_progress.hide();
    m_started = false;

    if (firstFailure) return Status::ok();
    const std::string message = "退出时出错!" + report;
    m_dialogs.message(message);
    return Status::error(firstFailure.kind(), message);
}

Status Workbench::removeIfPresent(const std::string& path) {
    // Nothing is written when there is nothing to remove.
    return m_fs.exists(path) ? m_fs.remove(path) : Status::ok();
}

}  // namespace tavricat
