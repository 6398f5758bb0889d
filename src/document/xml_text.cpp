#include "document/xml_text.h"

namespace tavricat {

std::string xmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::optional<InlineTagAt> inlineTagAt(std::string_view text, std::size_t at) {
    if (at >= text.size() || text[at] != '<') return std::nullopt;
    const std::size_t close = text.find('>', at);
    if (close == std::string_view::npos || close - at > 8) return std::nullopt;
    const std::string_view tag = text.substr(at + 1, close - at - 1);
    InlineTagAt found;
    std::string_view id;
    if (tag.size() >= 3 && tag.front() == ':' && tag.back() == ':') {
        found.kind = InlineTagAt::Kind::Isolated;
        id = tag.substr(1, tag.size() - 2);
    } else if (tag.size() >= 2 && tag.back() == ':') {
        found.kind = InlineTagAt::Kind::Opening;
        id = tag.substr(0, tag.size() - 1);
    } else if (tag.size() >= 2 && tag.front() == ':') {
        found.kind = InlineTagAt::Kind::Closing;
        id = tag.substr(1);
    }
    if (id.empty() || id.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    found.id = std::string(id);
    found.length = close - at + 1;
    return found;
}

}  // namespace tavricat
