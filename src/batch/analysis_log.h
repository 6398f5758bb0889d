#pragma once
// The log file of project analyses, and the clock its start and end lines read.

#include <functional>
#include <optional>
#include <string>

#include "base/file_system.h"

namespace tavricat {

inline constexpr const char* kDefaultAnalysisLog = "DaDurLog.txt";

// The text after "开始时间:" / "结束时间:": date + "   " + time (GBK). Tests pass a fixed one.
using AnalysisClock = std::function<std::string()>;
// The local date and time: "2026-03-01   14:05:09".
std::string localDateTime();

// `name` with the extension "txt": everything after the first "." of the file name (not of
// its folders) replaced, or ".txt" added.
std::string withTxtExtension(const std::string& name, const std::string& extension = "txt");

// The log file check before an analysis (native paths). An empty name means
// kDefaultAnalysisLog; a relative one is taken from the current folder. An existing file is
// used as it is. Otherwise its folder is created when missing, the name gets the extension
// "txt", and the file is created empty unless a file of that name exists already (an earlier
// log is never emptied). Returns the log's path, or nothing when the folder cannot be made
// or the file cannot be created.
std::optional<std::string> checkLogFile(FileSystem& fs, const std::string& name);

}  // namespace tavricat
