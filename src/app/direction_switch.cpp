#include "app/direction_switch.h"

#include "app/workbench.h"

namespace tavricat {

Status switchDirection(Workbench& workbench, Direction to) {
    if (Status saved = workbench.saveGrammar(); !saved) {
        workbench.dialogs().message(saved.message());
        return saved;
    }
    const Direction from = workbench.direction();
    if (from == to) return Status::ok();
    workbench.settings.ctoe = isCE(to);
    Status loaded = workbench.loadDirectionResources();
    if (!loaded) {
        // The grammar in memory still belongs to `from`: a later save under `to` would write
        // it over the other direction's files.
        workbench.dialogs().message(loaded.message());
        workbench.settings.ctoe = isCE(from);
        // The grammar of `from` was never replaced; the person still hears why its
        // dictionary or grammar could not be read again.
        if (Status back = workbench.loadDirectionResources(); !back) workbench.dialogs().message(back.message());
    }
    return loaded;
}

std::string directionCaption(Direction direction) {
    return std::string("TavriCAT 2.5[") + directionPanelText(direction) + "]";
}

}  // namespace tavricat
