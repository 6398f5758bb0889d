#pragma once
// The line protocol between the workbench and the Writer bridge (writer_bridge.py): one
// request line, one answer line; fields separated by TAB; in a field a backslash, TAB, LF and
// CR are written \\, \t, \n and \r. Lines are UTF-8. docs/wordlink.md describes the requests.

#include <string>
#include <string_view>
#include <vector>

namespace tavricat::wordlink {

std::string escapeField(std::string_view field);
std::string unescapeField(std::string_view field);

// The fields joined into one line, without its line end.
std::string requestLine(const std::vector<std::string>& fields);
// The fields of a line (its line end already taken off).
std::vector<std::string> fieldsOf(std::string_view line);

}  // namespace tavricat::wordlink
