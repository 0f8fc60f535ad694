// Which options the main window offers for the selected device type: the kind flags,
// the enabled and visible control groups, the option page and the default IDs.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "device_operations.h"
#include "programmer_state.h"

namespace pelmo {

// The page for one selection. Control groups that it disables stay disabled, and pages
// that it hides stay hidden, whatever was shown before.
struct PageState {
    KindFlags kinds;
    bool device_type_enabled = false;   // "Device Type" label and CB1
    bool only_blank_enabled = false;    // CheckBox6
    bool untick_only_blank = false;     // the fourth generation is never checked for blank
    bool vid_pid_type_enabled = false;  // "USB VID / PID" label and CB2
    bool vendor_id_enabled = false;     // "Vendor ID" label and Edit1
    bool product_id_enabled = false;    // "Product ID" label and Edit2
    std::optional<std::string_view> vendor_id_text;
    std::optional<std::string_view> product_id_text;
    bool power_enabled = false;
    bool fixed_serial_check_enabled = false;  // CheckBox5
    bool prefix_enabled = false;
    bool fixed_serial_enabled = false;
    bool wake_up_enabled = false;
    bool plug_and_play_enabled = false;
    bool untick_plug_and_play = false;
    bool strings_enabled = false;
    bool usb_version_enabled = false;                    // label and CB3
    bool serial_disable_enabled = false;                 // CheckBox8
    bool pull_down_enabled = false;                      // CheckBox11
    bool dual_visible = false;                           // GB10
    bool cpu_fifo_visible = false;                       // RB5, RB11
    bool fourth_gen_visible = false;                     // GB11
    bool invert_visible = true;                          // GB12
    bool c_pins_enabled = true;                          // CBX1..CBX5
    std::optional<std::string_view> fourth_gen_caption;  // tab 1
    bool hs_dual_visible = false;  // GroupBox1, GroupBox10, GroupBox13, CheckBox27
    bool hs_quad_visible = false;  // GroupBox14..GroupBox18
    int tab = 0;
};

// Everything off and hidden: the window at start-up, before New or Open.
PageState ClearedPage();
PageState DeviceTypePage(int device_entry, int vid_pid_entry, bool use_fixed_serial);

// Erase is offered in program mode for every device type but the fourth generation.
bool EraseAllowed(int device_entry);

}  // namespace pelmo
