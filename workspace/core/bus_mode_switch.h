// The bus mode switches: what choosing "Gen. SMBus/I2C", "PMBus" or "Smart Battery" does
// to the main panel and to the open command panels 1..PanelCount. Each switch runs its
// steps on the main panel, then on each open panel in increasing order; every text write
// runs the box's change handling on the spot, so the order of the writes decides which
// data bytes the value box handling leaves behind. Running a switch twice in a row leaves
// what one run leaves. Panels loaded but hidden beyond PanelCount are not touched.
#pragma once

#include "workspace_windows.h"

namespace velmora::workspace {

void I2C_Click(WorkspaceWindows& w);
void PMBus_sel_Click(WorkspaceWindows& w);
void SBS_Click(WorkspaceWindows& w);
// The switch of `mode`.
void run_bus_mode_switch(WorkspaceWindows& w, BusMode mode);

// Shows `txt_Device_Cmdlsb` exactly when the type text is an Ext type.
void Cmdlsb_Follows_Type(PanelControls& p);
// Appends the four Ext types when the list holds fewer than 10 items.
void Add_Ext_Types(PanelControls& p);

}  // namespace velmora::workspace
