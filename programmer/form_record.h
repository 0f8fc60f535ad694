// Between the window's setting controls and the programming record ProgramData.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "form_values.h"
#include "programmer_state.h"

namespace pelmo {

// Whether a box is enabled by itself (not by its group box): a box that the device-type
// page disabled counts as 0 in the record.
struct OwnEnabled {
    bool CheckBox1 = false;   // remote wake-up
    bool CheckBox3 = false;   // Plug and Play
    bool CheckBox8 = false;   // disable serial number
    bool CheckBox11 = false;  // pull-down in suspend
};

// Fills ProgramData, its string buffers and SerialDisabled from the controls for the
// selected kind; `counter` is added to the character code of the fixed serial's last
// character (no carry into the others).
void FormToProgramData(const FormValues& v, const OwnEnabled& enabled, int counter);

// Shows the decoded ProgramData in `v`. Also sets what the display implies in the
// state: the prefix buffer, SerialDisabled, KindT4Fifo, and the C-pin fields of a FIFO
// model (0). Returns whether the "Suspend on DBUS7 Low" box is to be shown.
bool ProgramDataToForm(FormValues& v);

// The settings of New: device type "None", the default vendor and strings, bus powered
// at 100 mA, a clock serial with the prefix "RL", Plug and Play on, blank devices only.
// The option pages keep their values.
void ApplyNewDefaults(FormValues& v);

// The packet size the IN packet size list shows; a list without a selection gives 64.
int PacketSizeOfEntry(int entry);
int EntryOfPacketSize(int size);

// Max Bus Power: the text that replaces what was typed, when it asks for more than
// 500 mA. Text that is not a whole number is judged by the number the record will be
// given (DecTextToInt), so the record never asks for more than 500 mA either.
std::optional<std::string> MaxPowerReplacement(std::string_view text);
inline constexpr int kMaxBusPower = 500;

// Vendor ID: "0000" is set back to the default vendor.
std::optional<std::string> VendorIdReplacement(std::string_view text);
// The Vendor and Product ID fields hold four hex digits; longer text is cut to them.
inline constexpr int kIdFieldDigits = 4;

}  // namespace pelmo
