#pragma once
// The one owner of the running system's state: settings, the lists of this run, the
// libraries of the current term base and sentence library, the grammar library, and the
// ports through which the core speaks to the person. Created by start(), taken down by
// shutdown(); everything else receives it by reference.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/direction.h"
#include "base/library_info.h"
#include "app/recent_files.h"
#include "app/settings.h"
#include "app/workspace.h"
#include "base/line_list.h"
#include "base/ports.h"
#include "base/status.h"
#include "engine/analyser.h"
#include "engine/engine.h"
#include "memory/sentence_library.h"
#include "grammar/grammar_library.h"

namespace tavricat {

struct WorkbenchOptions {
    std::string settingsPath;               // the settings store file
    std::optional<Direction> direction;     // this run only; the stored direction is kept
    std::function<std::string()> stamp;     // date-time text for files moved aside (tests fix it)
};

// The five status-bar panels: direction, term base, sentence library, shared library, right.
using StatusPanels = std::array<std::string, 5>;

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
    // Replaces the selected domains and rebuilds their labels (what the setup wizard stores).
    void setSelectedDomains(LineList domains);
    // What the analysis of a sentence reads from the settings.
    AnalysisOptions analysisOptions() const { return {direction(), settings.useSysLib, settings.useUserLib}; }
    FileSystem& fs() const { return m_fs; }
    const Workspace& workspace() const { return m_workspace; }
    Dialogs& dialogs() const { return m_dialogs; }
    Progress& progress() const { return m_progress; }

    // State of the run (the process-wide lists of the workbench).
    Settings settings;
    RecentFiles recentFiles;
    LineList allDomains;         // userdata/allzy.ini
    LineList selectedDomains;    // userdata/userSelZy.ini, in priority order
    LineList selectedDomainNames;  // the bracketed labels of the selected domains
    std::string selectedDomainText;  // the labels joined by line breaks
    LineList abbreviations;      // slAbv.ini, sorted
    LineList newUserWords;       // this run's term changes, appended to userlibw.saw
    LineList newGrammarEntries;  // this run's grammar changes, appended to userlibg.sag
    LineList toBeSent;           // queue for the shared library
    LibraryInfo termBaseInfo;
    LibraryInfo sentenceLibraryInfo;
    GrammarLibrary grammar;
    StatusPanels statusPanels;
    Engine engine;               // term base, system dictionary, deleted words, morphology tables
    SentenceLibrary sentenceLibrary;  // the current translation memory
    std::vector<std::string> notices;  // what start-up told the person, in order

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
};

// Text of the first status-bar panel for a direction.
std::string directionPanelText(Direction direction);

}  // namespace tavricat
