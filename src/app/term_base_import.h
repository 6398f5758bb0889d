#pragma once
// "更新词库": merging term files (change logs, term lists, key files of another term base)
// into the current term base, then saving it. The person sees the file's name in the caption
// and the lines moving on the progress bar, and is told the counts at the end.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/workbench.h"
#include "base/ports.h"
#include "base/status.h"
#include "engine/term_file_import.h"

namespace tavricat {

inline constexpr const char* kTermImportCaption = "导入词库";

struct TermImportTotals {
    std::size_t processed = 0;  // lines of every file read
    std::size_t added = 0;      // new entries
    std::size_t termBaseSize = 0;
    std::vector<std::string> failedFiles;  // could not be read (the person was told)
    Status saved;
};

// Told after each file: its index in the list, and its counts (null when it failed).
using TermFileObserver = std::function<void(std::size_t index, const TermMergeCounts* counts)>;

// The closing message: "导入完成！" with the term base's size, the processed lines and the new
// entries.
std::string termImportMessage(std::size_t termBaseSize, std::size_t processed, std::size_t added);

// Every file in order (`replace`: "替换", else "合并"); a file that cannot be read is told and
// the others go on. `lines` shows each file's caption and its lines (every 50). Then the caption "导入词库", the closing message, and the term base is saved.
TermImportTotals importTermFiles(Workbench& bench, const std::vector<std::string>& files, bool replace,
                                 Progress& lines, const TermFileObserver& onFile = {});

}  // namespace tavricat
