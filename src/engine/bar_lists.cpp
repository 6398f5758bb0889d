#include "engine/bar_lists.h"

#include <unordered_set>

namespace tavricat {

std::string dedupBar(std::string_view list) {
    std::string out;
    std::unordered_set<std::string_view> seen;
    for (std::string_view rest = list;;) {
        std::size_t bar = rest.find('|');
        std::string_view item = rest.substr(0, bar);
        if (!item.empty() && seen.insert(item).second) {
            if (!out.empty()) out += '|';
            out += item;
        }
        if (bar == std::string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
    return out;
}

std::vector<std::string> splitFields(std::string_view text, char separator, std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        if (maxFields > 0 && fields.size() + 1 == maxFields) {
            fields.emplace_back(text.substr(start));
            break;
        }
        std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            fields.emplace_back(text.substr(start));
            break;
        }
        fields.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    return fields;
}

std::string joinFields(const std::vector<std::string>& fields, char separator) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += separator;
        out += fields[i];
    }
    return out;
}

}  // namespace tavricat
