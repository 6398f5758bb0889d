#include "app/library_update_setup.h"

#include "app/workbench.h"

namespace tavricat {

LibraryUpdateContext libraryUpdateContextOf(Workbench& bench, bool showProgress) {
    return {bench.sentenceLibrary,
            {bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames},
            bench.fs(),
            bench.dialogs(),
            showProgress ? &bench.progress() : nullptr};
}

}  // namespace tavricat
