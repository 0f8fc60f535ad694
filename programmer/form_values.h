// The values of the main window's setting controls, one member per control and named
// as the control, so that the rules of the window (templates, the programming record,
// the device-type page) are plain C++ and the window only copies values in and out.
//
// Lists hold their entry index (-1: no selection). Texts hold one byte per character,
// as the chip's string descriptors and the template files do.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pelmo {

struct FormValues {
    // Basic details
    int CB1 = 0;  // device type
    int CB2 = 0;  // VID / PID type
    std::string Edit1, Edit2;
    // Power
    bool RB1 = true, RB2 = false;
    std::string Edit9;
    // Serial number
    std::string Edit5;
    bool CheckBox5 = false;
    std::string Edit6;
    bool CheckBox1 = false;  // remote wake-up
    bool CheckBox3 = false;  // Plug and Play
    std::string Edit10, Edit11;
    bool CheckBox6 = true;  // only program blank devices
    // Second generation
    int CB3 = 1;
    bool CheckBox8 = false, CheckBox11 = false;
    // Dual: side A mode, driver, high current; side B the same
    bool RB3 = true, RB4 = false, RB5 = false, RB6 = false, RB7 = true, RB8 = false;
    bool RB9 = true, RB10 = false, RB11 = false, RB12 = false, RB13 = true, RB14 = false;
    bool CB4 = false, CB5 = false;
    // Fourth generation
    bool CB6 = false, CB7 = false, CB8 = false, CB9 = false;
    bool CB10 = false, CB11 = false, CB12 = false, CB13 = false;
    int CBX1 = 0, CBX2 = 3, CBX3 = 2, CBX4 = 1, CBX5 = 5, CBX6 = 0;
    bool CB14 = false, CB15 = false, CB16 = false, CB17 = false;
    // High-speed dual: side A mode and driver, side B the same
    bool RadioButton1 = true, RadioButton2 = false, RadioButton3 = false, RadioButton4 = false;
    bool RadioButton5 = true, RadioButton6 = false;
    bool RadioButton7 = true, RadioButton8 = false, RadioButton9 = false, RadioButton10 = false;
    bool RadioButton11 = true, RadioButton12 = false;
    bool CheckBox27 = false;
    // IO pin groups AL, AH, BL, BH: drive list, slow slew, Schmitt input
    int ComboBox1 = 0, ComboBox2 = 0, ComboBox3 = 0, ComboBox4 = 0;
    bool CheckBox2 = false, CheckBox4 = false, CheckBox7 = false, CheckBox9 = false;
    bool CheckBox10 = false, CheckBox12 = false, CheckBox13 = false, CheckBox14 = false;
    // High-speed quad: driver per port, RI as RS485 enable, IO pin groups A..D
    bool RadioButton13 = true, RadioButton14 = false, RadioButton15 = true, RadioButton16 = false;
    bool RadioButton17 = true, RadioButton18 = false, RadioButton19 = true, RadioButton20 = false;
    bool CheckBox23 = false, CheckBox24 = false, CheckBox25 = false, CheckBox26 = false;
    int ComboBox5 = 0, ComboBox6 = 0, ComboBox7 = 0, ComboBox8 = 0;
    bool CheckBox15 = false, CheckBox16 = false, CheckBox17 = false, CheckBox18 = false;
    bool CheckBox19 = false, CheckBox20 = false, CheckBox21 = false, CheckBox22 = false;

    bool operator==(const FormValues&) const = default;
};

// List entries, in order.
inline constexpr std::array<std::string_view, 2> kUsbVersionNames = {"USB 1.1", "USB 2.0"};
inline constexpr std::array<std::string_view, 4> kDriveNames = {"4mA", "8mA", "12mA", "16mA"};
inline constexpr std::array<int, 5> kPacketSizes = {64, 32, 16, 8, 4};
inline constexpr std::array<std::string_view, 5> kPacketSizeNames = {"64", "32", "16", "8", "4"};
inline constexpr std::array<std::string_view, 13> kCPinCommonNames = {
    "TXDEN", "PWRON#", "RXLED#", "TXLED#",   "TX & RXLED#", "SLEEP#",     "CLK48",
    "CLK24", "CLK12",  "CLK6",   "I/O Mode", "BitBang WRn", "BitBang RDn"};
// The 14th entry of CBX1..CBX4.
inline constexpr std::array<std::string_view, 4> kCPinOwnNames = {"RXF#", "TXE#", "RD#", "WR#"};
// CBX5: entries 2 and 3 swapped against the other lists, and no I/O or bit-bang entries.
inline constexpr std::array<std::string_view, 10> kC4PinNames = {
    "TXDEN",  "PWRON#", "TXLED#", "RXLED#", "TX & RXLED#",
    "SLEEP#", "CLK48",  "CLK24",  "CLK12",  "CLK6"};
inline constexpr int kCPinFifoEntry = 13;  // the list's own entry, forced for the FIFO model
inline constexpr int kC4PinFifoEntry = 1;

// The option buttons of one side of a dual chip: "RS232 UART", the three other modes,
// "Virtual COM Port" and "Rawlink Direct". Of the modes the first ticked one counts.
struct SideButtons {
    std::string_view uart;
    std::array<std::string_view, 3> modes;
    std::string_view vcp;
    std::string_view direct;
};
inline constexpr std::array<SideButtons, 2> kDualSides = {{
    {"RB3", {"RB4", "RB5", "RB6"}, "RB7", "RB8"},
    {"RB9", {"RB10", "RB11", "RB12"}, "RB13", "RB14"},
}};
inline constexpr std::array<SideButtons, 2> kHsDualSides = {{
    {"RadioButton1",
     {"RadioButton2", "RadioButton3", "RadioButton4"},
     "RadioButton5",
     "RadioButton6"},
    {"RadioButton7",
     {"RadioButton8", "RadioButton9", "RadioButton10"},
     "RadioButton11",
     "RadioButton12"},
}};

// One control and the member that holds its value.
using FormMember = std::variant<int FormValues::*, bool FormValues::*, std::string FormValues::*>;
struct FormBinding {
    std::string_view control;
    FormMember member;
};

// Every setting control, in the order in which the window shows a set of values: the
// power buttons come before Max Bus Power, whose text they overwrite when clicked.
inline constexpr auto kFormBindings = std::to_array<FormBinding>({
    {"CB1", &FormValues::CB1},
    {"CB2", &FormValues::CB2},
    {"Edit1", &FormValues::Edit1},
    {"Edit2", &FormValues::Edit2},
    {"RB1", &FormValues::RB1},
    {"RB2", &FormValues::RB2},
    {"Edit9", &FormValues::Edit9},
    {"Edit5", &FormValues::Edit5},
    {"CheckBox5", &FormValues::CheckBox5},
    {"Edit6", &FormValues::Edit6},
    {"CheckBox1", &FormValues::CheckBox1},
    {"CheckBox3", &FormValues::CheckBox3},
    {"Edit10", &FormValues::Edit10},
    {"Edit11", &FormValues::Edit11},
    {"CheckBox6", &FormValues::CheckBox6},
    {"CB3", &FormValues::CB3},
    {"CheckBox8", &FormValues::CheckBox8},
    {"CheckBox11", &FormValues::CheckBox11},
    {"RB3", &FormValues::RB3},
    {"RB4", &FormValues::RB4},
    {"RB5", &FormValues::RB5},
    {"RB6", &FormValues::RB6},
    {"CB4", &FormValues::CB4},
    {"RB9", &FormValues::RB9},
    {"RB10", &FormValues::RB10},
    {"RB11", &FormValues::RB11},
    {"RB12", &FormValues::RB12},
    {"CB5", &FormValues::CB5},
    {"RB7", &FormValues::RB7},
    {"RB8", &FormValues::RB8},
    {"RB13", &FormValues::RB13},
    {"RB14", &FormValues::RB14},
    {"CB6", &FormValues::CB6},
    {"CB7", &FormValues::CB7},
    {"CB8", &FormValues::CB8},
    {"CB9", &FormValues::CB9},
    {"CB10", &FormValues::CB10},
    {"CB11", &FormValues::CB11},
    {"CB12", &FormValues::CB12},
    {"CB13", &FormValues::CB13},
    {"CBX1", &FormValues::CBX1},
    {"CBX2", &FormValues::CBX2},
    {"CBX3", &FormValues::CBX3},
    {"CBX4", &FormValues::CBX4},
    {"CBX5", &FormValues::CBX5},
    {"CB15", &FormValues::CB15},
    {"CB16", &FormValues::CB16},
    {"CB17", &FormValues::CB17},
    {"CBX6", &FormValues::CBX6},
    {"CB14", &FormValues::CB14},
    {"RadioButton1", &FormValues::RadioButton1},
    {"RadioButton2", &FormValues::RadioButton2},
    {"RadioButton3", &FormValues::RadioButton3},
    {"RadioButton4", &FormValues::RadioButton4},
    {"RadioButton5", &FormValues::RadioButton5},
    {"RadioButton6", &FormValues::RadioButton6},
    {"RadioButton7", &FormValues::RadioButton7},
    {"RadioButton8", &FormValues::RadioButton8},
    {"RadioButton9", &FormValues::RadioButton9},
    {"RadioButton10", &FormValues::RadioButton10},
    {"RadioButton11", &FormValues::RadioButton11},
    {"RadioButton12", &FormValues::RadioButton12},
    {"ComboBox1", &FormValues::ComboBox1},
    {"CheckBox2", &FormValues::CheckBox2},
    {"CheckBox10", &FormValues::CheckBox10},
    {"ComboBox2", &FormValues::ComboBox2},
    {"CheckBox4", &FormValues::CheckBox4},
    {"CheckBox12", &FormValues::CheckBox12},
    {"ComboBox3", &FormValues::ComboBox3},
    {"CheckBox7", &FormValues::CheckBox7},
    {"CheckBox13", &FormValues::CheckBox13},
    {"ComboBox4", &FormValues::ComboBox4},
    {"CheckBox9", &FormValues::CheckBox9},
    {"CheckBox14", &FormValues::CheckBox14},
    {"CheckBox27", &FormValues::CheckBox27},
    {"RadioButton13", &FormValues::RadioButton13},
    {"RadioButton14", &FormValues::RadioButton14},
    {"RadioButton15", &FormValues::RadioButton15},
    {"RadioButton16", &FormValues::RadioButton16},
    {"RadioButton17", &FormValues::RadioButton17},
    {"RadioButton18", &FormValues::RadioButton18},
    {"RadioButton19", &FormValues::RadioButton19},
    {"RadioButton20", &FormValues::RadioButton20},
    {"CheckBox23", &FormValues::CheckBox23},
    {"CheckBox24", &FormValues::CheckBox24},
    {"CheckBox25", &FormValues::CheckBox25},
    {"CheckBox26", &FormValues::CheckBox26},
    {"ComboBox5", &FormValues::ComboBox5},
    {"CheckBox15", &FormValues::CheckBox15},
    {"CheckBox19", &FormValues::CheckBox19},
    {"ComboBox6", &FormValues::ComboBox6},
    {"CheckBox16", &FormValues::CheckBox16},
    {"CheckBox20", &FormValues::CheckBox20},
    {"ComboBox7", &FormValues::ComboBox7},
    {"CheckBox17", &FormValues::CheckBox17},
    {"CheckBox21", &FormValues::CheckBox21},
    {"ComboBox8", &FormValues::ComboBox8},
    {"CheckBox18", &FormValues::CheckBox18},
    {"CheckBox22", &FormValues::CheckBox22},
});

// The binding of a control name, or nullptr.
const FormBinding* FindBinding(std::string_view control);

// The member that holds the value of a control of type T (the control must be bound).
template <typename T>
T& Member(FormValues& v, std::string_view control) {
    return v.*std::get<T FormValues::*>(FindBinding(control)->member);
}
template <typename T>
const T& Member(const FormValues& v, std::string_view control) {
    return v.*std::get<T FormValues::*>(FindBinding(control)->member);
}

// The entries of a list control in order (none for any other control).
std::vector<std::string_view> ListItems(std::string_view control);

}  // namespace pelmo
