// Programming templates (*.ept): every setting of the main window in an INI file, one
// key per control, written in the order of kTemplateRows whatever the device type.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "form_values.h"
#include "jcl_ini_files.h"

namespace pelmo {

enum class TemplateValue {
    Integer,    // list entry
    Boolean,    // check box or radio button
    Text,       // field
    DualDrive,  // drive word of groups AL..BH
    QuadDrive,  // drive word of groups A..D
    Zero,       // always written as 0, ignored on reading
};

struct TemplateRow {
    std::string_view section;
    std::string_view key;
    TemplateValue value;
    std::string_view control;  // the control the value belongs to ("" for drive and zero rows)
    std::string_view paired;   // the button set to the opposite on reading ("" for none)
};

inline constexpr std::string_view kSectionBasic = "Basic Details";
inline constexpr std::string_view kSectionPower = "USB Power Options";
inline constexpr std::string_view kSectionSerial = "USB Serial Number Control";
inline constexpr std::string_view kSectionT2 = "T2 Device Specific Options";
inline constexpr std::string_view kSectionDualA = "Dual Device Specific Options A";
inline constexpr std::string_view kSectionDualB = "Dual Device Specific Options B";
inline constexpr std::string_view kSectionDriverA = "Dual Device Driver Options A";
inline constexpr std::string_view kSectionDriverB = "Dual Device Driver Options B";
inline constexpr std::string_view kSectionT4 = "T4 Device Specific Options";
inline constexpr std::string_view kSectionDualHs = "DualHS Device Specific Options";
inline constexpr std::string_view kSectionQuadHs = "QuadHS Device Specific Options";

constexpr TemplateRow IntRow(std::string_view section, std::string_view key,
                             std::string_view control) {
    return {section, key, TemplateValue::Integer, control, ""};
}
constexpr TemplateRow BoolRow(std::string_view section, std::string_view key,
                              std::string_view control, std::string_view paired = "") {
    return {section, key, TemplateValue::Boolean, control, paired};
}
constexpr TemplateRow TextRow(std::string_view section, std::string_view key,
                              std::string_view control) {
    return {section, key, TemplateValue::Text, control, ""};
}
constexpr TemplateRow WordRow(std::string_view section, std::string_view key, TemplateValue value) {
    return {section, key, value, "", ""};
}

inline constexpr auto kTemplateRows = std::to_array<TemplateRow>({
    IntRow(kSectionBasic, "Device Type", "CB1"),
    IntRow(kSectionBasic, "VID PID Type", "CB2"),
    TextRow(kSectionBasic, "USB VID", "Edit1"),
    TextRow(kSectionBasic, "USB PID", "Edit2"),
    BoolRow(kSectionPower, "Bus Powered", "RB1"),
    BoolRow(kSectionPower, "Self Powered", "RB2"),
    TextRow(kSectionPower, "Max Bus Power", "Edit9"),
    TextRow(kSectionSerial, "Prefix", "Edit5"),
    BoolRow(kSectionSerial, "Use Fixed Serial Number", "CheckBox5"),
    TextRow(kSectionSerial, "Fixed Serial Number", "Edit6"),
    BoolRow("USB Remote WakeUp", "Enable Remote WakeUp", "CheckBox1"),
    BoolRow("Windows Plug and Play", "Enable Plug and Play", "CheckBox3"),
    TextRow("USB String Descriptors", "Manufacturer", "Edit10"),
    TextRow("USB String Descriptors", "Product", "Edit11"),
    BoolRow("Programming Options", "Only Program Blank Devices", "CheckBox6"),
    IntRow(kSectionT2, "USB Version Number", "CB3"),
    BoolRow(kSectionT2, "Disable Serial Number", "CheckBox8"),
    BoolRow(kSectionT2, "IO Pin Pull Down in Suspend", "CheckBox11"),
    BoolRow(kSectionDualA, "RS 232 mode", "RB3"),
    BoolRow(kSectionDualA, "245 FIFO mode", "RB4"),
    BoolRow(kSectionDualA, "245 CPU FIFO mode", "RB5"),
    BoolRow(kSectionDualA, "OPTO Isolate mode", "RB6"),
    BoolRow(kSectionDualA, "High Current Drive", "CB4"),
    BoolRow(kSectionDualB, "RS 232 mode", "RB9"),
    BoolRow(kSectionDualB, "245 FIFO mode", "RB10"),
    BoolRow(kSectionDualB, "245 CPU FIFO mode", "RB11"),
    BoolRow(kSectionDualB, "OPTO Isolate mode", "RB12"),
    BoolRow(kSectionDualB, "High Current Drive", "CB5"),
    BoolRow(kSectionDriverA, "Virtual Com Port Driver", "RB7"),
    BoolRow(kSectionDriverA, "Rawlink Driver", "RB8"),
    BoolRow(kSectionDriverB, "Virtual Com Port Driver", "RB13"),
    BoolRow(kSectionDriverB, "Rawlink Driver", "RB14"),
    BoolRow(kSectionT4, "Invert TXD", "CB6"),
    BoolRow(kSectionT4, "Invert RXD", "CB7"),
    BoolRow(kSectionT4, "Invert RTS#", "CB8"),
    BoolRow(kSectionT4, "Invert CTS#", "CB9"),
    BoolRow(kSectionT4, "Invert DTR#", "CB10"),
    BoolRow(kSectionT4, "Invert DSR#", "CB11"),
    BoolRow(kSectionT4, "Invert DCD#", "CB12"),
    BoolRow(kSectionT4, "Invert RI#", "CB13"),
    IntRow(kSectionT4, "C0 Signal", "CBX1"),
    IntRow(kSectionT4, "C1 Signal", "CBX2"),
    IntRow(kSectionT4, "C2 Signal", "CBX3"),
    IntRow(kSectionT4, "C3 Signal", "CBX4"),
    IntRow(kSectionT4, "C4 Signal", "CBX5"),
    BoolRow(kSectionT4, "Enable Ext Osc", "CB15"),
    BoolRow(kSectionT4, "High Current I/O", "CB16"),
    BoolRow(kSectionT4, "Load Rawlink Driver", "CB17"),
    IntRow(kSectionT4, "In EndPoint Size", "CBX6"),
    BoolRow(kSectionDualHs, "IFAIsFifo7", "RadioButton2"),
    BoolRow(kSectionDualHs, "IFAIsFifoTar7", "RadioButton3"),
    BoolRow(kSectionDualHs, "IFAIsFastSer7", "RadioButton4"),
    BoolRow(kSectionDualHs, "AIsVCP7", "RadioButton5", "RadioButton6"),
    BoolRow(kSectionDualHs, "IFBIsFifo7", "RadioButton8"),
    BoolRow(kSectionDualHs, "IFBIsFifoTar7", "RadioButton9"),
    BoolRow(kSectionDualHs, "IFBIsFastSer7", "RadioButton10"),
    BoolRow(kSectionDualHs, "BIsVCP7", "RadioButton11", "RadioButton12"),
    WordRow(kSectionDualHs, "IOPinDriveDual", TemplateValue::DualDrive),
    WordRow(kSectionDualHs, "UTMIDrive", TemplateValue::Zero),
    WordRow(kSectionDualHs, "UTMIVendor", TemplateValue::Zero),
    BoolRow(kSectionDualHs, "SuspendOnD7Low", "CheckBox27"),
    BoolRow(kSectionQuadHs, "AIsVCP8", "RadioButton13", "RadioButton14"),
    BoolRow(kSectionQuadHs, "BIsVCP8", "RadioButton15", "RadioButton16"),
    BoolRow(kSectionQuadHs, "CIsVCP8", "RadioButton17", "RadioButton18"),
    BoolRow(kSectionQuadHs, "DIsVCP8", "RadioButton19", "RadioButton20"),
    BoolRow(kSectionQuadHs, "ARIisTXDEN", "CheckBox23"),
    BoolRow(kSectionQuadHs, "BRIisTXDEN", "CheckBox24"),
    BoolRow(kSectionQuadHs, "CRIisTXDEN", "CheckBox25"),
    BoolRow(kSectionQuadHs, "DRIisTXDEN", "CheckBox26"),
    WordRow(kSectionQuadHs, "IOPinDriveQuad", TemplateValue::QuadDrive),
});

// Sets every key in the lines of the existing template (or of a new one), writes them
// into a new file beside `file` and then puts it in place, so that a template that cannot
// be written completely leaves the old file as it was. False when anything could not be
// written, when an existing file could not be read whole, or when the result would be
// longer than Open reads; `why` then receives the reason in a few words.
bool WriteTemplate(const std::string& file, const FormValues& v, std::string* why = nullptr);

// The values read from `doc` over `v`: every key of the table (missing keys are false,
// 0 or empty; a list entry out of its list's range is -1, no selection), each paired
// button the opposite of its partner, the high-speed "RS232 UART" buttons (which have no
// key) as their side's modes say, and the IDs that the VID/PID type forces, as Program
// uses them. Other controls keep their values.
FormValues ReadTemplate(const IniDocument& doc, FormValues v);
// The same from `file`, read once; a file that cannot be read reads as an empty one.
FormValues ReadTemplate(const std::string& file, FormValues v);

// The "ERROR : " lines of the settings that may not be saved; none when they may. The
// strings too long for Program close the list, unless left out.
enum class StringCheck { Include, Leave };
std::vector<std::string> ValidateTemplate(const FormValues& v,
                                          StringCheck strings = StringCheck::Include);
// Whether Program would write the template's descriptor strings.
bool TemplateStringsFit(const FormValues& v);

// The number of entries of a list control (0 for any other control).
int ListEntries(std::string_view control);

}  // namespace pelmo
