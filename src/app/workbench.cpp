#include "app/workbench.h"

#include <algorithm>

#include "app/library_files.h"
#include "app/setup_choices.h"
#include "base/encoding.h"
#include "engine/term_import.h"

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

void Workbench::addObserver(WorkbenchObserver& observer) {
    if (std::find(m_observers.begin(), m_observers.end(), &observer) == m_observers.end()) m_observers.push_back(&observer);
}

void Workbench::removeObserver(WorkbenchObserver& observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), &observer), m_observers.end());
}

void Workbench::notify(void (WorkbenchObserver::*callback)()) {
    for (WorkbenchObserver* observer : m_observers) (observer->*callback)();
}

Status Workbench::changeDirection(Direction to) {
    const Direction from = direction();
    if (from == to) return Status::ok();
    settings.ctoe = isCE(to);
    Status loaded = loadDirectionResources();
    if (!loaded) {
        // The grammar in memory still belongs to `from`: a later save under `to` would write
        // it over the other direction's files.
        m_dialogs.message(loaded.message());
        settings.ctoe = isCE(from);
        // The grammar of `from` was never replaced; the person still hears why its
        // dictionary or grammar could not be read again.
        if (Status back = loadDirectionResources(); !back) m_dialogs.message(back.message());
        return loaded;
    }
    notify(&WorkbenchObserver::directionChanged);
    return Status::ok();
}

void Workbench::setDomains(LineList all, LineList selected) {
    allDomains = std::move(all);
    setSelectedDomains(std::move(selected));
}

void Workbench::changeSettings(const Settings& edited) {
    Settings next = edited;
    next.ctoe = settings.ctoe;
    next.curZyname = settings.curZyname;
    next.curLiJuKuname = settings.curLiJuKuname;
    if (next == settings) return;
    settings = std::move(next);
    notify(&WorkbenchObserver::settingsChanged);
}

void Workbench::installTermBase(TermBase next, LibraryInfo info, const std::string& shownTitle) {
    engine.termBase = std::move(next);
    settings.curZyname = engine.termBase.name;
    termBaseInfo = std::move(info);
    statusPanels[1] = kTermBasePanelPrefix + shownTitle;
    notify(&WorkbenchObserver::termBaseChanged);
}

void Workbench::editTermBase(const std::function<void(TermBase&)>& edit) {
    edit(engine.termBase);
    notify(&WorkbenchObserver::termBaseChanged);
}

void Workbench::applyTermEdit(std::string_view line, TermImportCounts* counts) {
    importTermLine(engine, analysisOptions(), line, counts);
    notify(&WorkbenchObserver::termBaseChanged);
}

bool Workbench::replaceTermEntry(std::size_t index, std::string entry) {
    if (!engine.termBase.replaceEntryAt(index, std::move(entry))) return false;
    notify(&WorkbenchObserver::termBaseChanged);
    return true;
}

bool Workbench::insertTermEntry(const std::string& key, std::string entry) {
    const SortedFind at = engine.termBase.find(key);
    if (at.found || !engine.termBase.insertAt(at.index, key, std::move(entry))) return false;
    notify(&WorkbenchObserver::termBaseChanged);
    return true;
}

std::optional<std::string> Workbench::removeTermEntry(std::string_view key) {
    const SortedFind at = engine.termBase.find(key);
    if (!at.found) return std::nullopt;
    std::string removed = engine.termBase.termKeys[at.index] + "^" + engine.termBase.termEntries[at.index];
    if (!engine.termBase.removeAt(at.index)) return std::nullopt;
    notify(&WorkbenchObserver::termBaseChanged);
    return removed;
}

Status Workbench::reloadTermBase() {
    Status reloaded = engine.termBase.reload(m_fs, m_workspace.userDataFolder());
    if (reloaded) notify(&WorkbenchObserver::termBaseChanged);
    return reloaded;
}

void Workbench::clearTermBase() {
    engine.termBase.clear();
    notify(&WorkbenchObserver::termBaseChanged);
}

void Workbench::installSentenceLibrary(SentenceLibrary next, const std::string& name, LibraryInfo info) {
    sentenceLibrary = std::move(next);
    settings.curLiJuKuname = name;
    sentenceLibraryInfo = std::move(info);
    statusPanels[2] = "例句库: " + libraryTitle(LibraryKind::SentenceLibrary);
    notify(&WorkbenchObserver::sentenceLibraryChanged);
}

Status Workbench::reloadSentenceLibrary(const SegmentKeyTest& isKey) {
    Status loaded = sentenceLibrary.load(m_fs, m_workspace.userDataFolder(), sentenceLibrary.name, isKey);
    if (loaded) notify(&WorkbenchObserver::sentenceLibraryChanged);
    return loaded;
}

void Workbench::clearSentenceLibrary() {
    sentenceLibrary.clear();
    notify(&WorkbenchObserver::sentenceLibraryChanged);
}

std::string Workbench::libraryTitle(LibraryKind kind) const {
    const bool termBase = kind == LibraryKind::TermBase;
    const LibraryInfo& info = termBase ? termBaseInfo : sentenceLibraryInfo;
    const std::string& name = termBase ? settings.curZyname : settings.curLiJuKuname;
    return info.title.empty() ? encoding::utf8ToGbkLossy(name) : info.title;
}

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
