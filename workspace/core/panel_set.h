// The command panel windows: opening the next one ("&Add Control"), closing the highest
// ("&Delete Control") and putting the console and all eight panels in their fixed places
// ("&Rearrange"). Panels open and close only at the top end: the open panels are always
// Control1..Control`PanelCount`.
#pragma once

#include <array>

#include "workspace_windows.h"

namespace velmora::workspace {

void mainAdd_Click(WorkspaceWindows& w);
void mainDelete_Click(WorkspaceWindows& w);
void mainRearrange_Click(WorkspaceWindows& w);

// Fixed places in twips: the console, then Control1..Control8 in four columns of two to
// its right, odd panels above and even panels below.
struct Place {
    int left;
    int top;
};
inline constexpr std::array<Place, kPanelWindows + 1> kFixedPlaces{{
    {15, 495},
    {4995, 495},
    {4995, 4605},
    {7605, 495},
    {7605, 4605},
    {10230, 495},
    {10230, 4605},
    {12855, 495},
    {12855, 4605},
}};
// Screen pixels of a twip measure, at 15 twips a pixel (96 dots an inch).
inline constexpr int kTwipsPerPixel = 15;
constexpr int twips_to_pixels(int twips) {
    return twips / kTwipsPerPixel;
}

}  // namespace velmora::workspace
