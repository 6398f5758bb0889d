#pragma once
// Switching the translation direction (英译汉 / 汉译英): every direction-bound resource of the
// workbench is exchanged for the other direction's.

#include <string>

#include "base/direction.h"
#include "base/status.h"

namespace tavricat {

class Workbench;

// Saves the grammar library of the direction that is ending, then, unless `to` is already
// current, sets `ctoe` and loads the resources of `to`. When the grammar cannot be saved the
// direction stays, so that grammar changes held only in memory are not replaced; when the
// new direction's resources cannot be loaded the old direction is restored.
Status switchDirection(Workbench& workbench, Direction to);
inline Status switchToEC(Workbench& workbench) { return switchDirection(workbench, Direction::EC); }
inline Status switchToCE(Workbench& workbench) { return switchDirection(workbench, Direction::CE); }

// The window caption of a direction (GBK): "TavriCAT 2.5[英汉]" or "TavriCAT 2.5[汉英]".
std::string directionCaption(Direction direction);

}  // namespace tavricat
