// The start-up sequence of the workbench, step by step in its fixed order.

#include "app/domain_names.h"
#include "app/library_files.h"
#include "app/required_files.h"
#include "app/workbench.h"
#include "base/encoding.h"
#include "base/list_order.h"
#include "engine/term_import.h"

namespace tavricat {

namespace {

// The bracketed labels of the selected domains: for each line holding a "[" before a "]",
// the text between them.
LineList domainNamesOf(const LineList& selected) {
    LineList names;
    for (const std::string& line : selected)
        if (std::optional<std::string_view> label = domainLabel(line)) names.emplace_back(*label);
    return names;
}

std::string joinWithLineBreaks(const LineList& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}

}  // namespace

void Workbench::setSelectedDomains(LineList domains) {
    selectedDomains = std::move(domains);
    selectedDomainNames = domainNamesOf(selectedDomains);
    selectedDomainText = joinWithLineBreaks(selectedDomainNames);
    notify(&WorkbenchObserver::domainsChanged);
}

Status Workbench::loadRequiredList(const std::string& path, LineList& list) {
    Result<LineList> lines = loadLines(m_fs, path);
    if (!lines) {
        // Starting without the list would write an empty one over it at shutdown.
        std::string text = "无法读取文件 " + encoding::utf8ToGbkLossy(path) + "，系统将退出。";
        tell(text);
        return Status::error(lines.status().kind(), text);
    }
    list = std::move(*lines);
    return Status::ok();
}

Status Workbench::start() {
    // Required files: nothing is read or written when one is missing.
    std::vector<std::string> missing = missingRequiredFiles(m_workspace);
    if (!missing.empty()) {
        std::string text = missingFilesMessage(missing);
        tell(text);
        return Status::error(ErrorKind::NotFound, text);
    }

    // Settings and the recent-files list.
    Result<SettingsStore> store = SettingsStore::open(m_fs, m_options.settingsPath);
    if (!store) {
        tell(store.status().message());
        return store.status();
    }
    settings = readSettings(*store);
    recentFiles = RecentFiles::read(*store);
    m_stored = settings;
    if (m_options.direction && isCE(*m_options.direction) != settings.ctoe) {
        settings.ctoe = isCE(*m_options.direction);
        // A run in the other direction uses that direction's default libraries in place of
        // the stored direction's defaults; libraries the person chose stay.
        const Direction stored = directionFromCtoe(m_stored.ctoe);
        for (auto [kind, name] : {std::pair{LibraryKind::TermBase, &settings.curZyname},
                                  std::pair{LibraryKind::SentenceLibrary, &settings.curLiJuKuname}}) {
            if (*name == defaultLibraryName(kind, stored)) *name = defaultLibraryName(kind, direction());
        }
    }

    // The lists of the user-data folder and the abbreviations.
    if (Status s = loadRequiredList(m_workspace.userDataFile("allzy.ini"), allDomains); !s) return s;
    if (Status s = loadRequiredList(m_workspace.userDataFile("userselzy.ini"), selectedDomains); !s) return s;
    if (Status s = initEngine(); !s) return s;
    if (Status s = loadRequiredList(m_workspace.userDataFile("DeletedWords.ini"), engine.deletedWords); !s) return s;
    if (!isListOrdered(engine.deletedWords)) sortWithParallel(engine.deletedWords, {});
    if (Status s = loadRequiredList(m_workspace.programFile("slAbv.ini"), abbreviations); !s) return s;
    if (!isListOrdered(abbreviations)) sortWithParallel(abbreviations, {});

    setSelectedDomains(std::move(selectedDomains));

    if (Status s = openTermBaseFiles(); !s) return s;
    if (Status s = openSentenceLibraryFiles(); !s) return s;
    m_startZyname = settings.curZyname;
    m_startLiJuKuname = settings.curLiJuKuname;
    if (Status s = openLibraryInfo(LibraryKind::TermBase); !s) return s;
    if (Result<VerbForms> verbs = loadVerbForms(m_fs, m_workspace.programFile("verb.dat"))) {
        engine.verbForms = std::move(*verbs);
    } else {
        tell(verbs.status().message());  // the engine works on without irregular forms
    }
    if (Status s = loadDirectionResources(); !s) return s;
    if (Status s = openLibraryInfo(LibraryKind::SentenceLibrary); !s) return s;

    newUserWords.clear();
    newGrammarEntries.clear();
    if (Status s = loadTeamQueue(*this); !s) return s;

    if (Status s = recoverUnsavedTermEdits(); !s) return s;
    m_started = true;
    return Status::ok();
}

Status Workbench::openTermBaseFiles() {
    Result<LibraryChoice> chosen = chooseLibraryAtStart(m_workspace, LibraryKind::TermBase, direction(),
                                                        settings.curZyname, {".01", ".02"}, {".inf"}, "词库");
    if (!chosen) {
        tell(chosen.status().message());
        return chosen.status();
    }
    if (!chosen->notice.empty()) tell(chosen->notice);
    settings.curZyname = chosen->name;
    Result<LibraryFilesOpening> opened = openLibraryFiles(m_workspace, settings.curZyname, {".01", ".02"},
                                                          {".inf"}, "词库", stamp());
    if (!opened) {
        tell(opened.status().message());
        return opened.status();
    }
    if (!opened->notice.empty()) tell(opened->notice);
    Status loaded = engine.termBase.load(m_fs, m_workspace.userDataFolder(), settings.curZyname);
    if (!loaded) tell(loaded.message());
    return loaded;
}

Status Workbench::initEngine() {
    Result<MeasureWords> measures =
        loadMeasureWords(m_fs, m_workspace.programFile("art.01"), m_workspace.programFile("art.02"));
    if (!measures) {
        tell(measures.status().message());
        return measures.status();
    }
    engine.measureWords = std::move(*measures);
    engine.workSent.reset(1);
    engine.refSent.reset(1);
    return Status::ok();
}

Status Workbench::openSentenceLibraryFiles() {
    Result<LibraryChoice> chosen =
        chooseLibraryAtStart(m_workspace, LibraryKind::SentenceLibrary, direction(), settings.curLiJuKuname,
                             {".rf0", ".rf1", ".rf2"}, {".irf"}, "例句库");
    if (!chosen) {
        tell(chosen.status().message());
        return chosen.status();
    }
    if (!chosen->notice.empty()) tell(chosen->notice);
    settings.curLiJuKuname = chosen->name;
    Result<LibraryFilesOpening> opened = openLibraryFiles(m_workspace, settings.curLiJuKuname,
                                                          {".rf0", ".rf1", ".rf2"}, {".irf"}, "例句库", stamp());
    if (!opened) {
        tell(opened.status().message());
        return opened.status();
    }
    if (!opened->notice.empty()) tell(opened->notice);
    // Should the index need building again, the examples' multi-word segments are told
    // apart by the term base and the system dictionary (opened here only for that).
    const std::string dictionaryFile = m_workspace.programFile(isCE(direction()) ? "cedict.IDX" : "ecdict.IDX");
    SystemDictionary dictionary;
    bool dictionaryTried = false;
    auto isKey = [&](std::string_view words) {
        if (!engine.termBase.lookupKey(words).empty()) return true;
        if (!dictionaryTried) {
            dictionaryTried = true;
            dictionary.open(m_fs, dictionaryFile.substr(0, dictionaryFile.size() - 4));
        }
        return dictionary.isOpen() && !dictionary.lookupKey(words).empty();
    };
    Status loaded = sentenceLibrary.load(m_fs, m_workspace.userDataFolder(), settings.curLiJuKuname, isKey);
    if (!loaded) tell(loaded.message());
    else if (!sentenceLibrary.indexRepair().empty()) tell(sentenceLibrary.indexRepair());
    return loaded;
}

Status Workbench::openLibraryInfo(LibraryKind kind) {
    const bool termBase = kind == LibraryKind::TermBase;
    const std::string& name = termBase ? settings.curZyname : settings.curLiJuKuname;
    Result<LoadedLibraryInfo> loaded = loadOrCreateLibraryInfo(
        m_fs, m_workspace.userDataFile(name + infoExtension(kind)), kind, direction(), name);
    if (!loaded) {
        tell(loaded.status().message());
        return loaded.status();
    }
    (termBase ? termBaseInfo : sentenceLibraryInfo) = loaded->info;
    statusPanels[termBase ? 1 : 2] = std::string(termBase ? "用户库:" : "例句库:") + loaded->shownTitle;
    return Status::ok();
}

Status Workbench::recoverUnsavedTermEdits() {
    const std::string journal = m_workspace.programFile("temlibw.saw");
    if (!m_fs.exists(journal)) return Status::ok();
    Result<TermImportCounts> replayed = impAtemfileWord(engine, analysisOptions(), m_fs, journal);
    if (!replayed) {
        // Kept where it is: the next start tries again.
        tell(replayed.status().message());
        return Status::ok();
    }
    // The replayed edits belong to this run's journal now, so that they reach userlibw.saw
    // and survive a second abnormal end.
    if (Result<LineList> lines = loadLines(m_fs, journal)) newUserWords = std::move(*lines);
    // A journal that stays is removed again at shutdown, which reports a failure then.
    (void)m_fs.remove(journal);
    tell("由于您的系统上次运行时非正常退出,未保存的自定义词汇现在已经自动恢复.最好先退出TavriCAT再启动!");
    return Status::ok();
}

}  // namespace tavricat
