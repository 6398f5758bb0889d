#include "interactive/popup_commands.h"

namespace tavricat {

const std::array<PopupCommandInfo, 6> kPopupCommands{{
    {PopupCommand::SplitPhrase, 186, "tempDel", "拆分词组: ;"},        // ";"
    {PopupCommand::AdjustMeanings, 188, "btadjuctmean", "修改词义: ,"},  // ","
    {PopupCommand::DeleteEntry, 190, "btdelete", "删除词条: ."},        // "."
    {PopupCommand::DefinePhrase, 191, nullptr, nullptr},                // "/"
    {PopupCommand::ExampleSearch1, 220, nullptr, nullptr},              // "\"
    {PopupCommand::ExampleSearch2, 222, "btfindliju", "显示例句: '"},   // "'"
}};

std::optional<PopupCommand> popupCommandOfKey(int keyCode) {
    for (const PopupCommandInfo& info : kPopupCommands)
        if (info.keyCode == keyCode) return info.command;
    return std::nullopt;
}

}  // namespace tavricat
