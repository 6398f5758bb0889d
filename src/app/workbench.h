#pragma once
// The one owner of the running system's state: settings, the lists of this run, the
// libraries of the current term base and sentence library, the grammar library, and the
// ports through which the core speaks to the person. Created by start(), taken down by
// shutdown(); everything else receives it by reference.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/direction.h"
#include "base/library_info.h"
#include "app/recent_files.h"
#include "app/settings.h"
#include "app/team_library.h"
#include "app/workspace.h"
#include "base/line_list.h"
#include "base/ports.h"
#include "base/status.h"
#include "engine/analyser.h"
#include "engine/engine.h"
#include "memory/sentence_library.h"
#include "grammar/grammar_library.h"
#include "interactive/sentence_state.h"

namespace tavricat {

struct WorkbenchOptions {
    std::string settingsPath;               // the settings store file
    std::optional<Direction> direction;     // this run only; the stored direction is kept
    std::function<std::string()> stamp;     // date-time text for files moved aside (tests fix it)
};

// The five status-bar panels: direction, term base, sentence library, shared library, right.
using StatusPanels = std::array<std::string, 5>;

struct TermImportCounts;

// What a front end hears from the workbench: each callback comes once per change, after the
// change is complete, so that a view refreshes from the workbench instead of after each call
// it makes. A callback must not register or unregister observers.
class WorkbenchObserver {
public:
    virtual ~WorkbenchObserver() = default;
    virtual void directionChanged() {}
    virtual void termBaseChanged() {}        // another term base, or its entries changed
    virtual void sentenceLibraryChanged() {} // another sentence library, reloaded or emptied
    virtual void settingsChanged() {}
    virtual void domainsChanged() {}         // the all-domains or the selected-domains list
};

class Workbench {
public:
    Workbench(FileSystem& fs, Workspace workspace, Dialogs& dialogs, Progress& progress, WorkbenchOptions options);

    // Runs the start-up sequence. Fails (after telling the person) when a required file is
    // missing, in which case no file has been touched, or when a list cannot be read.
    Status start();
    // Runs the shutdown sequence: saves every list and library that changed, in its order.
    // A failed step does not stop the later ones; when any failed, "退出时出错!" is shown
    // with every failure under it (each naming its file) and returned.
    Status shutdown();
    bool started() const { return m_started; }

    // Writes the crash-recovery files: this run's new user words to temlibw.saw and the
    // current term base and sentence library names to lastzyliju.sav.
    Status saveUserTem();
    // The grammar save of the current direction.
    Status saveGrammar();
    // Loads the resources bound to the current direction (grammar library, system
    // dictionary check).
    Status loadDirectionResources();

    Direction direction() const { return directionFromCtoe(settings.ctoe); }
    // Makes `to` the direction and loads its resources. When they cannot be loaded the
    // person is told, the direction stays as it was (its resources loaded again) and the
    // failure is returned. Nothing happens when `to` is the direction already.
    Status changeDirection(Direction to);
    // Replaces the selected domains and rebuilds their labels (what the setup wizard stores).
    void setSelectedDomains(LineList domains);
    // Replaces both domain lists at once (one notification).
    void setDomains(LineList all, LineList selected);
    // Takes the settings a dialog or command edited. The direction and the two library
    // names are kept: they change only with their resources (changeDirection,
    // installTermBase, installSentenceLibrary).
    void changeSettings(const Settings& edited);

    // Puts an already loaded term base in place of the current one (which the caller has
    // saved), with its information; `shownTitle` goes to the status bar.
    void installTermBase(TermBase next, LibraryInfo info, const std::string& shownTitle);
    // Runs `edit` over the term base and tells the observers once. The edit keeps the two
    // lists parallel and the keys in list order.
    void editTermBase(const std::function<void(TermBase&)>& edit);
    // Merges one journal line (a term or a "dddit " deletion) into the term base.
    void applyTermEdit(std::string_view line, TermImportCounts* counts = nullptr);
    // Replaces the entry of term line `index` (its key stays). False (nothing changed) when
    // there is no such line.
    bool replaceTermEntry(std::size_t index, std::string entry);
    // Inserts `key` (taken as it is, no analysis) with `entry` at its sorted place. False
    // (nothing changed) when the term base holds the key already.
    bool insertTermEntry(const std::string& key, std::string entry);
    // Removes `key` (ASCII case ignored) and returns "key^entry" as the term base held it;
    // nothing when the key is not there.
    std::optional<std::string> removeTermEntry(std::string_view key);
    // The term base read again from its files; fails (keeping it) when they cannot be read.
    Status reloadTermBase();
    // Both term lists emptied, in memory only.
    void clearTermBase();
    // Puts an already loaded library in place of the current one (which the caller has
    // saved) under `name`, with its information.
    void installSentenceLibrary(SentenceLibrary next, const std::string& name, LibraryInfo info);
    // The sentence library read again from its files (`isKey` as for SentenceLibrary::load).
    Status reloadSentenceLibrary(const SegmentKeyTest& isKey);
    // The sentence library emptied, in memory only.
    void clearSentenceLibrary();
    // What the status bar and the messages call the current term base or sentence library:
    // its title, or its name when it has none (GBK).
    std::string libraryTitle(LibraryKind kind) const;

    // Observers are not owned; each must be removed before it is destroyed.
    void addObserver(WorkbenchObserver& observer);
    void removeObserver(WorkbenchObserver& observer);
    // What the analysis of a sentence reads from the settings.
    AnalysisOptions analysisOptions() const { return {direction(), settings.useSysLib, settings.useUserLib}; }
    FileSystem& fs() const { return m_fs; }
    const Workspace& workspace() const { return m_workspace; }
    Dialogs& dialogs() const { return m_dialogs; }
    Progress& progress() const { return m_progress; }

    // State of the run (the process-wide lists of the workbench). Read freely; where a
    // method above changes a part, change it through that method, so that observers hear it.
    Settings settings;
    RecentFiles recentFiles;
    LineList allDomains;         // userdata/allzy.ini
    LineList selectedDomains;    // userdata/userSelZy.ini, in priority order
    LineList selectedDomainNames;  // the bracketed labels of the selected domains
    std::string selectedDomainText;  // the labels joined by line breaks
    LineList abbreviations;      // slAbv.ini, sorted
    LineList newUserWords;       // this run's term changes, appended to userlibw.saw
    LineList newGrammarEntries;  // this run's grammar changes, appended to userlibg.sag
    LineList toBeSent;           // queue for the shared library ("kind^content" lines)
    TeamConnection team;         // the shared library connected, with its read mark
    LibraryInfo termBaseInfo;
    LibraryInfo sentenceLibraryInfo;
    GrammarLibrary grammar;
    StatusPanels statusPanels;
    Engine engine;               // term base, system dictionary, deleted words, morphology tables
    SentenceLibrary sentenceLibrary;  // the current translation memory
    SentenceState sentenceState;      // the sentence under interactive translation
    std::vector<std::string> notices;  // what start-up told the person, in order
    // The word-processor link's plain text of a document (getpuretext), set while the link is
    // connected: project analysis then reads office documents through it.
    std::function<Result<std::string>(const std::string& path)> linkedOfficeText;

private:
    Status loadRequiredList(const std::string& path, LineList& list);
    Status initEngine();
    Status openTermBaseFiles();
    Status openSentenceLibraryFiles();
    Status openLibraryInfo(LibraryKind kind);
    Status recoverUnsavedTermEdits();
    Status writeDomainAndDeletedLists();
    Status writeSettingsStore();
    Status appendRunList(const std::string& name, const LineList& list);
    Status removeIfPresent(const std::string& path);
    void tell(const std::string& text);
    std::string stamp() const;
    void notify(void (WorkbenchObserver::*callback)());

    FileSystem& m_fs;
    Workspace m_workspace;
    Dialogs& m_dialogs;
    Progress& m_progress;
    WorkbenchOptions m_options;
    // What the store held, and what start-up chose from it, for a run whose direction was
    // given for this run only: its choices are not written back.
    Settings m_stored;
    std::string m_startZyname, m_startLiJuKuname;
    bool m_started = false;
    std::vector<WorkbenchObserver*> m_observers;
};

// Text of the first status-bar panel for a direction.
std::string directionPanelText(Direction direction);

}  // namespace tavricat
