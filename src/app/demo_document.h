#pragma once
// A newcomer's first document: while nothing has been opened yet, the recent-files list
// offers the delivered demo document of the current direction.

#include <string>

namespace tavricat {

class Workbench;

// The demo document of the direction (demo/sample_en.txt or demo/sample_zh.txt in the program
// folder), when it exists; empty otherwise.
std::string demoDocumentPath(const Workbench& workbench);

// Adds the demo document to the recent files when they are empty. True when it did.
bool offerDemoDocument(Workbench& workbench);

}  // namespace tavricat
