#pragma once
// The library update over the workbench: its current sentence library, engine, grammar and
// selected domains, its ports.

#include "memory/library_update.h"

namespace tavricat {

class Workbench;

// With `showProgress` the workbench's progress window moves with the pairs.
LibraryUpdateContext libraryUpdateContextOf(Workbench& bench, bool showProgress);

}  // namespace tavricat
