#include "interactive/area_insertion.h"

#include "base/gbk.h"
#include "document/han_spacing.h"
#include "interactive/interactive_area.h"

namespace tavricat {

const std::array<PunctuationButton, 7> kPunctuationButtons{{
    {"SpeedButton30", ", ", " ，", "，"},
    {"SpeedButton31", ", ", " 、", "、"},
    {"SpeedButton32", ".", " 。", "。"},
    {"SpeedButton33", ": ", " ：", "："},
    {"SpeedButton35", "; ", " ；", "；"},
    {"SpeedButton34", "...", " …", "…"},
    {"SpeedButton37", "()", "（）", "（）"},
}};

namespace {

bool isAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isRunBreak(char c) { return c == ' ' || c == '\r' || c == '\n'; }

}  // namespace

std::string wordClickText(const AreaToken& token) { return std::string(gbk::trim(token.text)); }

std::string meaningClickText(const AreaToken& token, bool spaceInHanChar) {
    std::string text = token.meaning.empty() ? token.text : token.meaning;
    if (!text.empty() && text.back() == '\'') text.pop_back();
    return spaceInHanChar ? AddSpaceInCChars(text) : text;
}

std::string withSeparatingBlank(std::string_view box, std::size_t caret, std::string text) {
    if (caret == 0 || caret > box.size() || text.empty()) return text;
    // The byte left of the caret may be the second half of a Chinese character, which can
    // look like a Latin letter.
    const bool leftIsWord = isAsciiAlnum(static_cast<unsigned char>(box[caret - 1])) && !gbk::isTrailByte(box, caret - 1);
    if (leftIsWord && isAsciiAlnum(static_cast<unsigned char>(text.front()))) text.insert(0, 1, ' ');
    return text;
}

std::optional<TextRun> findFromCaret(std::string_view box, std::size_t caret, std::string_view text) {
    if (text.empty()) return std::nullopt;
    auto findFrom = [&](std::size_t from) -> std::optional<TextRun> {
        for (std::size_t at = box.find(text, from); at != std::string_view::npos; at = box.find(text, at + 1))
            if (!gbk::isTrailByte(box, at)) return TextRun{at, text.size()};
        return std::nullopt;
    };
    if (caret < box.size())
        if (std::optional<TextRun> found = findFrom(caret)) return found;
    return findFrom(0);
}

BoxInsertion punctuationInsertion(const PunctuationButton& button, Direction direction, bool spaceInHanChar) {
    BoxInsertion insertion;
    insertion.text = isCE(direction) ? button.ce : (spaceInHanChar ? button.ecSpaced : button.ec);
    if (insertion.text == "()" || insertion.text == "（）") insertion.caretBack = 1;
    return insertion;
}

std::optional<TextRun> commonCharacterRunAt(std::string_view box, std::size_t pos) {
    // On a blank or a line break there is nothing to select.
    if (pos >= box.size() || isRunBreak(box[pos])) return std::nullopt;
    if (gbk::isTrailByte(box, pos)) --pos;
    std::size_t start = pos;
    while (start > 0 && !isRunBreak(box[start - 1])) --start;
    std::size_t end = pos;
    // Step whole characters: a second byte is never a blank or a line break, but stepping
    // by characters keeps that true for any text.
    while (end < box.size() && !isRunBreak(box[end])) end += gbk::charLength(box, end);
    if (end > box.size()) end = box.size();
    return TextRun{start, end - start};
}

std::string commonCharacterInsertText(std::string_view run, Direction direction, bool spaceInHanChar) {
    std::string text;
    for (char c : gbk::trim(run))
        if (c != '\r' && c != '\n') text += c;
    if (spaceInHanChar) text = AddSpaceInCChars(text);
    if (isCE(direction)) text.insert(0, 1, ' ');
    return text;
}

}  // namespace tavricat
