#pragma once
// The form of a domain line in allzy.ini and userSelZy.ini: "专业名[简称]", the label in
// half-width brackets. The lists themselves are the workbench's (allDomains,
// selectedDomains); the labels of the selected ones order the translations.

#include <optional>
#include <string_view>

#include "base/status.h"

namespace tavricat {

inline constexpr const char* kDomainNeedsLabel = "必须有简称并用半角\"[\"和\"]\"括起来！";

// The text between the first "[" and the next "]" of a domain line (GBK), found character
// by character: the second byte of a double-byte character may equal either bracket.
// nullopt when the line has no such pair.
std::optional<std::string_view> domainLabel(std::string_view line);

// A domain the person adds must carry its label: Refused with kDomainNeedsLabel otherwise.
Status checkNewDomain(std::string_view line);

}  // namespace tavricat
