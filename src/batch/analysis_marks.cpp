#include "batch/analysis_marks.h"

#include <cstdlib>

#include "base/gbk.h"
#include "memory/sentence_library.h"

namespace tavricat {

std::optional<std::size_t> findEndMark(std::string_view line, std::string_view mark) {
    const std::size_t separator = findKeySeparator(line);
    if (separator == std::string_view::npos) return std::nullopt;
    std::optional<std::size_t> last;
    // Step whole characters so a trail byte 0x5E is never read as "^".
    for (std::size_t pos = separator + 1; pos < line.size(); pos += gbk::charLength(line, pos)) {
        if (line[pos] == '^' && line.compare(pos, mark.size(), mark) == 0) last = pos;
    }
    if (!last) return std::nullopt;
    const std::size_t digits = *last + mark.size();
    if (digits >= line.size() || digits + 9 < line.size()) return std::nullopt;
    for (std::size_t i = digits; i < line.size(); ++i)
        if (line[i] < '0' || line[i] > '9') return std::nullopt;
    return last;
}

namespace {

std::optional<long> markNumber(std::string_view line, std::string_view mark) {
    const std::optional<std::size_t> at = findEndMark(line, mark);
    if (!at) return std::nullopt;
    return std::strtol(std::string(line.substr(*at + mark.size())).c_str(), nullptr, 10);
}

}  // namespace

std::optional<long> temporaryCount(std::string_view line) { return markNumber(line, kTemporaryMark); }
std::optional<long> useRate(std::string_view line) { return markNumber(line, kUseMark); }

std::string temporarySentence(std::string_view line) {
    const std::size_t separator = findKeySeparator(line);
    if (separator == std::string_view::npos) return {};
    const std::size_t end = findEndMark(line, kTemporaryMark).value_or(line.size());
    return std::string(line.substr(separator + 1, end - separator - 1));
}

}  // namespace tavricat
