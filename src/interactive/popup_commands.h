#pragma once
// The commands of the meaning popup's toolbar and the keys that start them while the popup
// has the focus. The commands themselves edit the term base or search examples; the popup
// only names them.

#include <array>
#include <optional>

namespace tavricat {

enum class PopupCommand {
    SplitPhrase,     // for this sentence only
    AdjustMeanings,  // or define a phrase when words are marked
    DeleteEntry,
    DefinePhrase,
    ExampleSearch1,
    ExampleSearch2,
};

struct PopupCommandInfo {
    PopupCommand command;
    int keyCode;         // the window key code of the key that starts it
    const char* button;  // toolbar button, or null
    const char* hint;    // as the button shows it, or null
};

inline constexpr std::array<PopupCommandInfo, 6> kPopupCommands{{
    {PopupCommand::SplitPhrase, 186, "tempDel", "拆分词组: ;"},        // ";"
    {PopupCommand::AdjustMeanings, 188, "btadjuctmean", "修改词义: ,"},  // ","
    {PopupCommand::DeleteEntry, 190, "btdelete", "删除词条: ."},        // "."
    {PopupCommand::DefinePhrase, 191, nullptr, nullptr},                // "/"
    {PopupCommand::ExampleSearch1, 220, nullptr, nullptr},              // "\"
    {PopupCommand::ExampleSearch2, 222, "btfindliju", "显示例句: '"},   // "'"
}};

inline std::optional<PopupCommand> popupCommandOfKey(int keyCode) {
    for (const PopupCommandInfo& info : kPopupCommands)
        if (info.keyCode == keyCode) return info.command;
    return std::nullopt;
}

}  // namespace tavricat
