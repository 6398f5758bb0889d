#include "interactive/translation_box_edits.h"

#include <algorithm>

#include "base/gbk.h"
#include "document/han_spacing.h"
#include "memory/sentence_library.h"

namespace tavricat {

namespace {

// A selection clamped to the text and widened so that it never cuts a double-byte character.
void clampSelection(std::string_view text, std::size_t& start, std::size_t& length) {
    start = std::min(start, text.size());
    length = std::min(length, text.size() - start);
    if (start > 0 && gbk::isTrailByte(text, start)) {
        --start;
        ++length;
    }
    const std::size_t end = start + length;
    if (end > 0 && end < text.size() && gbk::isTrailByte(text, end)) ++length;
}

BoxText withReplaced(std::string_view text, std::size_t start, std::size_t length, std::string_view by) {
    BoxText result;
    result.text.reserve(text.size() - length + by.size());
    result.text.append(text.substr(0, start));
    result.text.append(by);
    result.text.append(text.substr(start + length));
    result.caret = start + by.size();
    return result;
}

// The whole text when nothing is selected.
void selectAllWhenEmpty(std::string_view text, std::size_t& start, std::size_t& length) {
    if (length == 0) {
        start = 0;
        length = text.size();
    }
}

}  // namespace

BoxText eraseLeft(std::string_view text, std::size_t selStart, std::size_t selLength) {
    clampSelection(text, selStart, selLength);
    if (selLength == 0 && selStart > 0) {
        const std::size_t width = gbk::isTrailByte(text, selStart - 1) ? 2 : 1;
        selStart -= width;
        selLength = width;
    }
    return withReplaced(text, selStart, selLength, {});
}

BoxText eraseRight(std::string_view text, std::size_t selStart, std::size_t selLength) {
    clampSelection(text, selStart, selLength);
    if (text.empty()) return {std::string(), 0};
    if (selLength == 0 && selStart < text.size()) selLength = gbk::charLength(text, selStart);
    return withReplaced(text, selStart, selLength, {});
}

BoxText toAllCapitals(std::string_view text, std::size_t selStart, std::size_t selLength) {
    clampSelection(text, selStart, selLength);
    selectAllWhenEmpty(text, selStart, selLength);
    return withReplaced(text, selStart, selLength, gbk::asciiUpper(text.substr(selStart, selLength)));
}

BoxText toCapitalInitials(std::string_view text, std::size_t selStart, std::size_t selLength) {
    clampSelection(text, selStart, selLength);
    selectAllWhenEmpty(text, selStart, selLength);
    const std::string lower = gbk::asciiLower(text.substr(selStart, selLength));
    std::string titled;
    titled.reserve(lower.size());
    std::size_t pos = 0;
    while (pos < lower.size()) {
        while (pos < lower.size() && lower[pos] == ' ') ++pos;
        if (pos >= lower.size()) break;
        std::size_t end = lower.find(' ', pos);
        end = end == std::string::npos ? lower.size() : end + 1;
        const std::size_t first = titled.size();
        titled.append(lower, pos, end - pos);
        if (!gbk::isLeadByte(static_cast<unsigned char>(titled[first]))) {
            titled[first] = gbk::asciiUpper(std::string_view(&titled[first], 1))[0];
        }
        pos = end;
    }
    return withReplaced(text, selStart, selLength, titled);
}

std::optional<std::string> exampleForBox(std::string_view storedTranslation, bool spaceInHanChar) {
    if (storedTranslation.empty()) return std::nullopt;
    return spaceInHanChar ? AddSpaceInCChars(storedTranslation) : std::string(storedTranslation);
}

bool updateExampleFromBox(SentenceLibrary& library, std::size_t index, std::string_view exampleBox) {
    const std::size_t label = exampleBox.substr(0, 2000).find("%]");
    if (label == std::string_view::npos) return false;
    std::string translation(exampleBox.substr(label + 2));
    std::replace(translation.begin(), translation.end(), '\r', ' ');
    std::replace(translation.begin(), translation.end(), '\n', ' ');
    return library.replaceTranslation(index, ClearSpaceInCChars(translation));
}

}  // namespace tavricat
