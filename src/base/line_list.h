#pragma once
// Line lists: most of the system's data is a list of GBK text lines stored one per line.
// Written with CR LF after every line (the last one too); read with CR LF, LF or CR as line
// ends; an empty file is an empty list, and a final line without a line end still counts.

#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"

namespace tavricat {

using LineList = std::vector<std::string>;

LineList splitLines(std::string_view text);

// Splits text handed over in pieces into lines as splitLines splits the whole of it: a line
// end may fall between two pieces, even a CR at the end of one and its LF at the start of the
// next.
class LineSplitter {
public:
    void add(std::string_view piece);
    // The lines, a last one without a line end included; the splitter is empty again.
    LineList finish();

private:
    LineList m_lines;
    std::string m_partial;  // the start of a line whose end has not come yet
    bool m_afterCarriageReturn = false;
};
// Every line followed by CR LF.
std::string joinLines(const LineList& lines);
// Whether `path` exists and holds exactly joinLines(lines) (an unreadable file does not). The
// file is compared as it is read, and the lines are never joined, so checking a library of a
// hundred megabytes costs no copy of it.
bool fileHoldsLines(FileSystem& fs, const std::string& path, const LineList& lines);

// UTF-8 byte-order marks at the start of the file are dropped.
Result<LineList> loadLines(FileSystem& fs, const std::string& path);
// The lines of a file a person brings, converted to GBK (encoding::inputTextToGbk); a file
// GBK cannot hold fails with a message naming the file.
Result<LineList> loadInputLines(FileSystem& fs, const std::string& path);
// Writes the list in place (used for the bak files of the safe-save protocol).
Status saveLines(FileSystem& fs, const std::string& path, const LineList& lines);
// Writes the list through a scratch file, so a failed write keeps the old file.
Status replaceLines(FileSystem& fs, const std::string& path, const LineList& lines);

}  // namespace tavricat
