#pragma once
// A project analysis over the workbench's engine, current sentence library and grammar.

#include "batch/project_analysis.h"

namespace tavricat {

class Workbench;

// The options are read from the workbench's settings at each run.
ProjectAnalysisContext projectAnalysisContext(Workbench& bench);

}  // namespace tavricat
