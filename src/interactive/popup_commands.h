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

extern const std::array<PopupCommandInfo, 6> kPopupCommands;

std::optional<PopupCommand> popupCommandOfKey(int keyCode);

}  // namespace tavricat
