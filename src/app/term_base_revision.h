#pragma once
// "校订词库": a user term base file loaded for the editor, and saved after it with the two
// questions that close the command (save? then import into the current term base?).

#include <cstddef>
#include <string>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/ports.h"
#include "base/status.h"

namespace tavricat {

inline constexpr std::size_t kRevisionSizeWarning = 25000;
inline constexpr const char* kRevisionOpenTitle = "打开用户词库文件";
inline constexpr const char* kRevisionOpenFilter = "用户词库文件 (*.01)|*.01";

struct TermBaseFile {
    std::string keysPath;    // the chosen .01
    std::string valuesPath;  // its last character replaced by "2"
    LineList keys;           // in list order
    LineList values;         // as many as the keys
    LineList extraValues;    // lines of the values file beyond the keys, written back after them
};

// Loads both files. Over kRevisionSizeWarning keys the person is asked whether to go on;
// no gives Refused. Keys out of list order are sorted with their values; a short values file
// gives empty values.
Result<TermBaseFile> loadTermBaseForRevision(FileSystem& fs, Dialogs& dialogs, const std::string& keysPath);

// "保存校订结果吗?": on yes both lists are written back to the files they were loaded from,
// then "要用校订后的结果（文件：….01）更新当前词库吗?". True when the person wants that import;
// false when either answer is no; a failed write is told and returned.
Result<bool> saveRevisedTermBase(FileSystem& fs, Dialogs& dialogs, const TermBaseFile& file, const LineList& keys,
                                 const LineList& values);

}  // namespace tavricat
