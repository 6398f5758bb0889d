#include "app/demo_document.h"

#include "app/workbench.h"

namespace tavricat {

std::string demoDocumentPath(const Workbench& workbench) {
    const std::string name = isCE(workbench.direction()) ? "sample_zh.txt" : "sample_en.txt";
    const std::string path = joinPath(joinPath(workbench.workspace().programFolder(), "demo"), name);
    return workbench.fs().exists(path) ? path : std::string();
}

bool offerDemoDocument(Workbench& workbench) {
    if (!workbench.recentFiles.visibleEntries().empty()) return false;
    const std::string path = demoDocumentPath(workbench);
    if (path.empty()) return false;
    workbench.recentFiles.touch(path);
    return true;
}

}  // namespace tavricat
