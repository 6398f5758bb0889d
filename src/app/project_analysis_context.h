#pragma once
// A project analysis over the workbench's engine, current sentence library and grammar.

#include "batch/project_analysis.h"

namespace tavricat {

class Workbench;

// The options are read from the workbench's settings at each run. While the word-processor
// link is connected, office documents are read through it.
ProjectAnalysisContext projectAnalysisContext(Workbench& bench);

}  // namespace tavricat
