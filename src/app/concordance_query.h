#pragma once
// What the concordance looks for: a source phrase analysed as the library's keys are
// (lower-case base forms: "checked" is "check"), or a translation text as typed (Chinese
// without the blanks the display may put between characters).

#include <string>

namespace tavricat {

class Workbench;

// `text` is GBK.
std::string concordanceQuery(Workbench& bench, const std::string& text, bool inTranslation);

}  // namespace tavricat
