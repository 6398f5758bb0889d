// The word-class list of a translation field, read from the brackets that open its items.

#include "base/gbk.h"
#include "engine/bar_lists.h"
#include "engine/morphology.h"

namespace tavricat {

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The class text of an item that opens with a bracket whose next character is a letter:
// its letters and dots up to the "]", ending with "."; empty for any other item.
std::string bracketClasses(std::string_view item) {
    if (item.size() < 2 || item[0] != '[' || !isAsciiLetter(item[1])) return {};
    const std::size_t close = item.find(']');
    if (close == std::string_view::npos) return {};
    std::string piece;
    for (std::size_t i = 1; i < close; i += gbk::charLength(item, i)) {
        if (gbk::charLength(item, i) == 2) continue;
        if (isAsciiLetter(item[i]) || item[i] == '.') piece += item[i];
    }
    if (piece.empty()) return {};
    if (piece.back() != '.') piece += '.';
    return piece;
}

// Pieces of "n.v.a." as a list "n|v|adj", each once.
std::string classListOf(std::string_view classText) {
    std::string text = gbk::asciiLower(classText);
    std::string out;
    for (std::string& piece : splitFields(text, '.')) {
        if (piece == "a") piece = "adj";
        if (piece.empty()) continue;
        if (("|" + out + "|").find("|" + piece + "|") != std::string::npos) continue;
        if (!out.empty()) out += '|';
        out += piece;
    }
    return out;
}

// The position of ".:]" when the translation has the header form "[classes.:]items": the
// header must be the first bracket, closed by this ":]".
std::size_t headerEnd(std::string_view translation) {
    if (translation.empty() || translation[0] != '[') return std::string_view::npos;
    const std::size_t at = translation.find(".:]");
    if (at == std::string_view::npos || at < 2) return std::string_view::npos;
    if (translation.find(']') != at + 2 || translation.find('|') < at) return std::string_view::npos;
    return at;
}

}  // namespace

WordClasses wordClassesOf(std::string_view translation) {
    WordClasses result;
    std::string body(translation);

    const std::size_t at = headerEnd(translation);
    if (at != std::string_view::npos) {
        const std::string header = gbk::asciiLower(translation.substr(1, at));  // "n.v."
        body.clear();
        for (const std::string& item : splitFields(translation.substr(at + 3), '|')) {
            if (item.empty()) continue;
            if (item[0] == '[')
                body += "[" + header + item.substr(1);
            else
                body += "[" + header + "]" + item;
            body += '|';
        }
        result.translation = body;
    } else {
        result.translation = std::string(translation);
    }

    std::string classText;
    for (const std::string& item : splitFields(body, '|')) classText += bracketClasses(item);
    result.classList = classListOf(classText);
    return result;
}

std::string meaningOf(std::string_view translations) {
    std::string_view item = translations.substr(0, translations.find('|'));
    while (!item.empty() && item[0] == '[') {
        // The "]" is looked for character by character: a second byte can be 0x5D too.
        std::size_t close = 1;
        while (close < item.size() && !(item[close] == ']' && gbk::charLength(item, close) == 1))
            close += gbk::charLength(item, close);
        if (close >= item.size()) break;
        item.remove_prefix(close + 1);
    }
    return std::string(item);
}

}  // namespace tavricat
