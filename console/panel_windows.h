// The nine command panels: the main panel of the console window and the panel windows
// Control1..Control8. A panel window that code touches while it is not loaded is loaded
// hidden first (its start-up runs then); the workspace shows, tiles and closes them.
#pragma once

#include "formats/bus_mode.h"
#include "shared_state.h"

namespace velmora {

class CommandPanel;

// Panel window `Control`n (n = 1..8, a number outside is taken as the nearest one),
// loaded hidden on first touch.
CommandPanel& Control(int n);
// The panel window n if it is loaded, else nullptr (does not load it).
CommandPanel* Loaded_Control(int n);
// Unloads panel window n: it goes, and with it every value of its fields.
void Unload_Control(int n);

// Panel n: 0 the console's main panel (nullptr while the console is not loaded),
// 1..8 as Control(n).
CommandPanel* Panel(int n);

// Send handlers of the panel windows.
void Send1_Click();
void Send2_Click();
void Send3_Click();
void Send4_Click();
void Send5_Click();
void Send6_Click();
void Send7_Click();
void Send8_Click();

// The console's bus mode: its selected option button; Smart Battery, the window's design
// state, while it is not loaded.
BusMode current_bus_mode();

}  // namespace velmora
