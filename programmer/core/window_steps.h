// What the device operations need of the main window: its log `Memo1`, the settings
// fields they read, and the steps they ask of it. The window implements this; tests use
// a recording double. Until one is installed a silent default stands in.
#pragma once

#include <string>

namespace pelmo {

// Texts of the string fields, one byte per character as the string buffers hold them.
struct StringFields {
    std::string manufacturer;       // Edit10
    std::string prefix;             // Edit5
    std::string description;        // Edit11
    std::string fixed_serial;       // Edit6
    bool use_fixed_serial = false;  // CheckBox5
};

// The basic details that Read and Parse sets from a decoded device.
struct BasicDetails {
    int device_type_entry = 0;     // entry of CB1
    std::string device_type_text;  // its model name, also set as CB1's text
    int vid_pid_entry = 0;         // entry of CB2
    bool set_id_fields = false;    // Edit1 and Edit2 receive the texts below
    std::string vendor_id_text;    // four upper-case hex digits
    std::string product_id_text;
};

class WindowSteps {
  public:
    virtual ~WindowSteps() = default;

    // Memo1
    virtual void clear_log() = 0;
    virtual void add_log_line(const std::string& line) = 0;

    // Settings read while operating
    virtual StringFields string_fields() = 0;
    virtual bool ignore_upper_type() = 0;  // CB14 ticked
    // Fills ProgramData (and SerialDisabled) from the controls; `counter` is added to the
    // last character of a fixed serial.
    virtual void FormToProgramData(int counter) = 0;

    // Steps
    virtual void LockBasicDetails() = 0;
    virtual void UpdateDeviceTypePage() = 0;
    // Shows the decoded ProgramData in the controls.
    virtual void ProgramDataToForm() = 0;
    // Enables CB1, CB2, Edit1 and Edit2, sets them from `details`, repaints them and
    // disables them again.
    virtual void ShowBasicDetails(const BasicDetails& details) = 0;
};

WindowSteps& window();
void install_window(WindowSteps* w);  // nullptr restores the silent default

}  // namespace pelmo
