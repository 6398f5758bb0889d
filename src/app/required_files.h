#pragma once
// The files without which the workbench does not start. The pinyin table takes the place of
// a pinyin library, and no word-processor template is needed.

#include <string>
#include <vector>

namespace tavricat {

class Workspace;

// Full paths of the required files that are missing, in the order they are checked.
std::vector<std::string> missingRequiredFiles(const Workspace& workspace);

// The message that names them (GBK), each path after a blank.
std::string missingFilesMessage(const std::vector<std::string>& missing);

}  // namespace tavricat
