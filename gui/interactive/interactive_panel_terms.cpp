#include "interactive_panel.h"

#include "app/workbench.h"

namespace tavricat::gui {

void InteractivePanel::runTermCommand(PopupCommand) { m_bench.dialogs().beep(); }

}  // namespace tavricat::gui
