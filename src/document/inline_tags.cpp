#include "document/inline_tags.h"

#include <algorithm>

namespace tavricat {

TagInfo classifyTag(std::string_view text) {
    TagInfo info;
    if (text.empty() || text[0] != '<') return info;
    std::size_t firstDigit = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            if (firstDigit == std::string_view::npos) firstDigit = i;
            info.number += text[i];
        }
    }
    if (info.number.empty()) return info;
    const std::size_t digits = info.number.size();
    if (text.size() == digits + 3 && firstDigit == 1) info.kind = TagKind::Opening;
    else if (text.size() == digits + 3 && firstDigit == 2) info.kind = TagKind::Closing;
    else if (text.size() == digits + 4) info.kind = TagKind::Isolated;
    if (info.kind == TagKind::NotATag) info.number.clear();
    return info;
}

std::vector<std::string> extractTags(std::string_view text) {
    std::vector<std::string> tags;
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        std::size_t end = text.find('>', pos + 1);
        if (end == std::string_view::npos) break;
        tags.emplace_back(text.substr(pos, end - pos + 1));
        pos = end + 1;
    }
    return tags;
}

bool hasTag(std::string_view text) {
    return text.find(":>") != std::string_view::npos || text.find("<:") != std::string_view::npos;
}

namespace {

// Removes every "<:" ... ">" run; returns how many were removed.
int removeClosingTags(std::string& text) {
    int count = 0;
    std::size_t pos;
    while ((pos = text.find("<:")) != std::string::npos) {
        std::size_t end = text.find('>', pos + 2);
        // Without a closing ">" only the "<:" goes: the text after it is not a tag.
        text.erase(pos, end == std::string::npos ? 2 : end - pos + 1);
        ++count;
    }
    return count;
}

// Removes every "<" ... ":>" run (back to the nearest "<"); returns how many were removed.
int removeOpeningTags(std::string& text) {
    int count = 0;
    std::size_t pos;
    while ((pos = text.find(":>")) != std::string::npos) {
        std::size_t open = pos == 0 ? std::string::npos : text.rfind('<', pos - 1);
        // Without an opening "<" only the ":>" goes: the text before it is not a tag.
        std::size_t from = open == std::string::npos ? pos : open;
        text.erase(from, pos + 2 - from);
        ++count;
    }
    return count;
}

}  // namespace

int countTags(std::string_view text) {
    std::string rest(text);
    int closing = removeClosingTags(rest);
    return closing + removeOpeningTags(rest);
}

std::string clearTags(std::string_view text) {
    std::string rest(text);
    removeOpeningTags(rest);
    removeClosingTags(rest);
    return rest;
}

bool tagsConsistent(std::string_view source, std::string_view translation) {
    const std::vector<std::string> a = extractTags(source);
    std::vector<std::string> b = extractTags(translation);
    if (a.size() != b.size()) return false;
    auto inSource = [&](const std::string& tag) { return std::find(a.begin(), a.end(), tag) != a.end(); };
    while (!b.empty()) {
        const std::string first = b.front();
        TagInfo info = classifyTag(first);
        if (info.kind == TagKind::NotATag || !inSource(first)) return false;
        if (info.kind == TagKind::Opening) {
            const std::string closing = "<:" + info.number + ">";
            auto it = std::find(b.begin() + 1, b.end(), closing);
            if (it == b.end()) return false;
            b.erase(it);
        }
        b.erase(b.begin());
    }
    return true;
}

}  // namespace tavricat
