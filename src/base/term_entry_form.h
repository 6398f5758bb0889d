#pragma once
// The term entry dialog as data: the five fields of a term entry, the caption and how the
// dialog opens. The core fills it, a front end shows it and writes the person's answers back
// into it (GBK throughout).

#include <string>
#include <utility>

namespace tavricat {

// The dialog's captions, one per command that opens it.
inline constexpr const char* kAddTermCaption = "添加新词条";
inline constexpr const char* kAdjustMeaningsCaption = "调整词义";
inline constexpr const char* kDefinePhraseCaption = "定义词组";

enum class TermEntryField { Key, Meanings, Association, PartOfSpeech, Attribute };

struct TermEntryForm {
    std::string caption;
    std::string key;           // "原文"
    std::string meanings;      // "译文": "|"-separated
    std::string association;   // "联想": "|"-separated
    std::string partOfSpeech;  // "词性"
    std::string attribute;     // "属性"
    bool keyEditable = true;
    // Where the focus starts, with the caret at the start of that field: the meanings when
    // the key is given already, else the key.
    TermEntryField focus = TermEntryField::Key;
};

// A form with `caption`, `key` and the meanings; the focus follows the key.
inline TermEntryForm termEntryForm(std::string caption, std::string key = {}, std::string meanings = {}) {
    TermEntryForm form;
    form.caption = std::move(caption);
    form.key = std::move(key);
    form.meanings = std::move(meanings);
    form.focus = form.key.empty() ? TermEntryField::Key : TermEntryField::Meanings;
    return form;
}

}  // namespace tavricat
