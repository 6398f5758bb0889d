#pragma once
// Creating or completing a program folder from the delivered files (data/home), without
// ever overwriting a file that is already there in any spelling of its name.

#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"

namespace tavricat {

struct ProgramFolderSetup {
    std::vector<std::string> copied;   // files added, as paths in the program folder
    std::vector<std::string> kept;     // files already there, left alone
};

// Copies every file below `deliveredFolder` to the same relative place in `programFolder`
// when no file of that name (any case) exists there yet.
Result<ProgramFolderSetup> completeProgramFolder(FileSystem& fs, const std::string& deliveredFolder,
                                                 const std::string& programFolder);

// The folder of delivered files: $TAVRICAT_DATA/home, then <exe>/../share/tavricat/home,
// then the source tree's data/home. Nothing when none exists.
std::optional<std::string> findDeliveredFolder(FileSystem& fs, const std::string& executableFolder);

}  // namespace tavricat
