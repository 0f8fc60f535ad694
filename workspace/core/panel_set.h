// The command panel windows: opening the next one ("&Add Control"), closing the highest
// ("&Delete Control") and putting the console and all eight panels side by side
// ("&Rearrange"). Panels open and close only at the top end: the open panels are always
// Control1..Control`PanelCount`.
#pragma once

#include <array>

#include "workspace_windows.h"

namespace velmora::workspace {

void mainAdd_Click(WorkspaceWindows& w);
void mainDelete_Click(WorkspaceWindows& w);
void mainRearrange_Click(WorkspaceWindows& w);

// Rearrange puts the console at its fixed place and the panels in four columns of two to
// its right, odd panels above and even panels below. Columns and rows step by the windows'
// frame sizes, so no window covers another; sizes are not changed.
inline constexpr Place kConsolePlace{1, 33};  // 15 and 495 twips at 15 twips a pixel
std::array<Place, kPanelWindows + 1> tiled_places(
    const std::array<FrameSize, kPanelWindows + 1>& frames);

}  // namespace velmora::workspace
