#pragma once
// Translating an XLIFF 1.2 file of another tool from the current sentence library: each
// translation unit's source is translated as the interactive translation would offer it,
// and the target is written when an example reaches the match rate ("translated" for a 100 %
// example, "needs-review-translation" below), or, when asked, from the machine translation
// ("needs-review-translation" too). A unit translated before keeps its target; everything
// else in the file stays as it was.

#include <cstddef>
#include <string>

#include "base/status.h"

namespace tavricat {

class Workbench;

struct XliffCounts {
    std::size_t units = 0;
    std::size_t exact = 0;      // from a 100 % example
    std::size_t fuzzy = 0;      // from an example at or above the match rate
    std::size_t machine = 0;    // from the machine translation
    std::size_t left = 0;       // no target written
    std::size_t kept = 0;       // translated before: its target stays
    std::size_t skipped = 0;    // translate="no", or text GBK cannot hold
};

// Reads `path`, writes the translated file to `output` (by scratch file and rename).
Result<XliffCounts> translateXliffFile(Workbench& bench, const std::string& path, const std::string& output,
                                       bool machineTranslation);

}  // namespace tavricat
