#include "app/project_analysis_context.h"

#include "app/workbench.h"

namespace tavricat {

ProjectAnalysisContext projectAnalysisContext(Workbench& bench) {
    ProjectAnalysisContext context{bench.engine,
            bench.sentenceLibrary,
            bench.grammar,
            bench.selectedDomainNames,
            bench.fs(),
            bench.dialogs(),
            bench.progress(),
            bench.workspace().userDataFolder(),
            [&bench] {
                const Settings& s = bench.settings;
                return ProjectAnalysisOptions{bench.analysisOptions(), BreakOptions{s.TABkeyStop, s.CLStop, s.tagStop},
                                              s.matchrate};
            },
            bench.linkedOfficeText};
    return context;
}

}  // namespace tavricat
