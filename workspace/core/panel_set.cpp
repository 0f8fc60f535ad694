#include "panel_set.h"

#include <algorithm>

#include "bus_mode_switch.h"
#include "mod_Miscellaneous_Subroutines.h"

namespace velmora::workspace {

void mainAdd_Click(WorkspaceWindows& w) {
    SharedState& s = shared();
    s.PanelCount = static_cast<int16_t>(std::min<int>(s.PanelCount + 1, kPanelWindows));
    const int k = s.PanelCount;
    if (k < 1) return;  // a count below 0 climbs back to 1 first
    w.show_panel(k);
    PanelControls& p = w.panel(k);
    if (w.bus_mode() == BusMode::PMBus) Add_Ext_Types(p);
    Cmdlsb_Follows_Type(p);
}

void mainDelete_Click(WorkspaceWindows& w) {
    SharedState& s = shared();
    if (s.PanelCount >= 1 && s.PanelCount <= kPanelWindows) w.unload_panel(s.PanelCount);
    s.PanelCount = static_cast<int16_t>(std::max(s.PanelCount - 1, 0));
}

std::array<Place, kPanelWindows + 1> tiled_places(
    const std::array<FrameSize, kPanelWindows + 1>& frames) {
    std::array<Place, kPanelWindows + 1> places{};
    places[0] = kConsolePlace;
    int lower_top = kConsolePlace.top;
    for (int k = 1; k <= kPanelWindows; k += 2)
        lower_top = std::max(lower_top, kConsolePlace.top + frames[static_cast<size_t>(k)].height);
    int left = kConsolePlace.left + frames[0].width;
    for (size_t upper = 1; upper < places.size(); upper += 2) {
        const size_t lower = upper + 1;
        places[upper] = {left, kConsolePlace.top};
        places[lower] = {left, lower_top};
        left += std::max(frames[upper].width, frames[lower].width);
    }
    return places;
}

void mainRearrange_Click(WorkspaceWindows& w) {
    std::array<FrameSize, kPanelWindows + 1> frames{};
    // The first touch of a closed panel loads it hidden.
    for (int k = 0; k <= kPanelWindows; ++k) frames[static_cast<size_t>(k)] = w.frame_size(k);
    const std::array<Place, kPanelWindows + 1> places = tiled_places(frames);
    // Lefts before tops, in window order.
    for (int k = 0; k <= kPanelWindows; ++k) w.set_left(k, places[static_cast<size_t>(k)].left);
    for (int k = 0; k <= kPanelWindows; ++k) w.set_top(k, places[static_cast<size_t>(k)].top);
}

}  // namespace velmora::workspace
