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

// One message (GBK) for each system dictionary of the program folder whose files are damaged
// (checkDictionaryFiles); a missing dictionary is no damage.
std::vector<std::string> damagedDictionaryMessages(const Workspace& workspace);

}  // namespace tavricat
