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

void mainRearrange_Click(WorkspaceWindows& w) {
    // Lefts before tops, in window order: the first touch of a closed panel loads it.
    w.set_left(0, twips_to_pixels(kFixedPlaces[0].left));
    w.set_top(0, twips_to_pixels(kFixedPlaces[0].top));
    for (int k = 1; k <= kPanelWindows; ++k)
        w.set_left(k, twips_to_pixels(kFixedPlaces[static_cast<size_t>(k)].left));
    for (int k = 1; k <= kPanelWindows; ++k)
        w.set_top(k, twips_to_pixels(kFixedPlaces[static_cast<size_t>(k)].top));
}

}  // namespace velmora::workspace
