// How velmora's windows reach one another: the console's menus and option buttons call the
// workspace and the monitor, and the monitor's Return and About call back into the console.
#pragma once

namespace velmora {

// Fills the console's and the monitor's hooks; the program calls it once before the
// console loads.
void install_velmora_hooks();

}  // namespace velmora
