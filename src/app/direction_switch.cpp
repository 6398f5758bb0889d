#include "app/direction_switch.h"

#include "app/workbench.h"

namespace tavricat {

Status switchDirection(Workbench& workbench, Direction to) {
    if (Status saved = workbench.saveGrammar(); !saved) {
        workbench.dialogs().message(saved.message());
        return saved;
    }
    return workbench.changeDirection(to);
}

std::string directionCaption(Direction direction) {
    return std::string("TavriCAT 2.5[") + directionPanelText(direction) + "]";
}

}  // namespace tavricat
