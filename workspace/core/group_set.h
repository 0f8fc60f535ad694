// "Group Set Send": the writes of the main panel and of every open command panel in one
// grouped "S" request, sent by the main panel. It neither waits for nor takes BusBusy and
// leaves no result for the timer.
#pragma once

#include "workspace_windows.h"

namespace velmora::workspace {

void Groupsetbut_Click(WorkspaceWindows& w);

}  // namespace velmora::workspace
