#include "app/domain_names.h"

#include "base/gbk.h"

namespace tavricat {

std::optional<std::string_view> domainLabel(std::string_view line) {
    std::size_t open = std::string_view::npos;
    for (std::size_t pos = 0; pos < line.size(); pos += gbk::charLength(line, pos)) {
        if (gbk::charLength(line, pos) != 1) continue;
        if (open == std::string_view::npos && line[pos] == '[') open = pos;
        else if (open != std::string_view::npos && line[pos] == ']') return line.substr(open + 1, pos - open - 1);
    }
    return std::nullopt;
}

Status checkNewDomain(std::string_view line) {
    if (domainLabel(line)) return Status::ok();
    return Status::error(ErrorKind::Refused, kDomainNeedsLabel);
}

}  // namespace tavricat
