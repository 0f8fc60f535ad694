// What the workspace reaches of the console: the controls of each command panel, the bus
// mode buttons, the panel windows' states and places. The console's windows implement it
// (qt_workspace.h); the rules in this folder see nothing else of them, so they build and
// run without a window system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/bus_mode.h"
#include "panel_field.h"
#include "shared_state.h"

namespace velmora::workspace {

// Pixels on the screen: a window's frame size and the place of its frame's top left.
struct FrameSize {
    int width;
    int height;
};
struct Place {
    int left;
    int top;
};

class PanelControls {
  public:
    virtual ~PanelControls() = default;
    virtual int number() const = 0;  // 0: the main panel, 1..8: Control1..Control8
    // Text of a box or caption of a label.
    virtual std::string text(PanelField f) const = 0;
    // Writes a box as typing does: its change handling runs, and is complete on return,
    // even when the box held that text already. `CmdProtocol`: the text only, with no
    // click handling. A label gets the caption.
    virtual void set_text(PanelField f, const std::string& text) = 0;
    // Writes a box's text alone: no change handling runs.
    virtual void set_text_only(PanelField f, const std::string& text) = 0;
    virtual void set_visible(PanelField f, bool shown) = 0;
    virtual bool ticked(PanelField check_box) const = 0;
    virtual void set_ticked(PanelField check_box, bool on) = 0;
    // The list of `CmdProtocol`; adding and removing items leaves its text alone.
    virtual int CmdProtocol_ListCount() const = 0;
    virtual void CmdProtocol_AddItem(std::string_view item) = 0;
    virtual void CmdProtocol_RemoveItem(int index) = 0;
    // The type layout, as picking the type text from the list runs it.
    virtual void CmdProtocol_Click() = 0;
};

class WorkspaceWindows {
  public:
    virtual ~WorkspaceWindows() = default;
    // The selected bus mode button.
    virtual BusMode bus_mode() const = 0;
    // Selects a bus mode button; its switch runs when it was not selected before.
    virtual void select_bus_mode(BusMode mode) = 0;
    virtual PanelControls& main_panel() = 0;
    // Panel window k (1..8); one that is not loaded is loaded hidden first.
    virtual PanelControls& panel(int k) = 0;
    // Loads panel window k if needed and shows it as a modeless window.
    virtual void show_panel(int k) = 0;
    // Closes panel window k if it is loaded: it goes with every value of its fields.
    virtual void unload_panel(int k) = 0;
    // Enables the main window's `SendBlock`.
    virtual void enable_SendBlock() = 0;
    // Window 0 is the console, 1..8 the panel windows (touching one loads it hidden).
    // Pixels on the screen.
    virtual FrameSize frame_size(int window) = 0;
    virtual void set_left(int window, int pixels) = 0;
    virtual void set_top(int window, int pixels) = 0;
};

}  // namespace velmora::workspace
