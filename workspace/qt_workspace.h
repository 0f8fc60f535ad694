// The workspace on the console's windows: the handlers of the bus mode buttons, the
// panel menu items, the settings menu items and "Group Set Send", installed into the
// console's hooks.
#pragma once

#include "core/workspace_windows.h"

namespace velmora {

// Installs the workspace's handlers into console_hooks(); the program does it once
// before it loads the console.
void install_workspace_hooks();

namespace workspace {
// The console's windows as the workspace rules see them.
WorkspaceWindows& console_workspace();
}  // namespace workspace

}  // namespace velmora
