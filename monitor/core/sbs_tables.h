// Smart Battery names of the monitor's Smart Battery decoder: device addresses, the
// command tables of each transaction shape and device, and the flag texts of the four
// flag registers. The spellings are the system's own and are matched by stored logs.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace velmora::monitor::sbs {

// How a command's data word is shown.
enum class Value : uint8_t { Digits, Unsigned, Signed, Temperature, Flags };

// Where the texts of the data word go (see the decoder for the positions).
enum class Placement : uint8_t { None, W1, W2, W3, R1, R2, R3 };

// Which flag register a Value::Flags word is.
enum class Register : uint8_t { None, BatteryMode, ChargerStatus, BatteryStatus, AlarmWarning };

struct Command {
    uint8_t code;
    std::string_view name;
    Value value = Value::Digits;
    std::string_view closing = {};  // unit and closing bracket of a numeric value
    Placement placement = Placement::None;
    Register flags = Register::None;
};

// Address names. The write names of address 14 (selector) appear only in word transfers;
// the battery's write address loses its direction in a write word.
inline constexpr std::string_view kHostWr = "[Host](Wr)";
inline constexpr std::string_view kChargerWr = "[SMBChrgr](Wr)";
inline constexpr std::string_view kSelectorWr = "[SMBChrgrSel](Wr)";
inline constexpr std::string_view kBatteryWr = "[SMBBatt](Wr)";
inline constexpr std::string_view kBatteryWriteWord = "[SMBBatt]";
inline constexpr std::string_view kHostRd = "[Host](Rd)";
inline constexpr std::string_view kChargerRd = "[SMBChrgr](Rd)";
inline constexpr std::string_view kBatteryRd = "[SMBBatt](Rd)";

// Write word (14 events) to the charger, address 12.
inline constexpr std::array<Command, 4> kChargerWrite{{
    {0x12, "[ChargerMode]"},
    {0x14, "[ChargingCurrent]", Value::Unsigned, "mA]", Placement::W1},
    {0x15, "[ChargingVoltage]", Value::Unsigned, "mV]", Placement::W1},
    {0x16, "[AlarmWarning]", Value::Flags, {}, Placement::W3, Register::AlarmWarning},
}};

// Write word (14 events) to the charger-selector, address 14: the selector state, which is
// written without brackets, and the charger's commands.
inline constexpr std::array<Command, 1> kSelectorOwnWrite{{
    {0x01, "SelectorState"},
}};

// Write word (14 events) to the battery, address 16.
inline constexpr std::array<Command, 7> kBatteryWrite{{
    {0x00, "[ManufacturerAccess]"},
    {0x01, "[RemainingCapacityAlarm]"},
    {0x02, "[RemainingTimeAlarm]", Value::Unsigned, "min]", Placement::W2},
    {0x03, "[Battery_Mode]"},
    {0x04, "[At_Rate]"},
    {0x14, "[ChargingCurrent]", Value::Unsigned, "mA]", Placement::W2},
    {0x15, "[ChargingVoltage]", Value::Unsigned, "mV]", Placement::W2},
}};

// Read word (18 events) from the charger-selector, address 14. Code 11 is the charger's
// spec-info word (the console names it so); it is named here in the table's style and
// its word stays as digits, as the console shows no value for it either.
inline constexpr std::array<Command, 7> kSelectorRead{{
    {0x01, "[SelectorState]"},
    {0x02, "[SelectorPresets]"},
    {0x04, "[SelectorInfo]"},
    {0x11, "[ChargerSpecInfo]"},
    {0x13, "[ChargerStatus]", Value::Flags, {}, Placement::R3, Register::ChargerStatus},
    {0x14, "[ChargingCurrent]", Value::Unsigned, "mA]", Placement::R1},
    {0x15, "[ChargingVoltage]", Value::Unsigned, "mV]", Placement::R1},
}};

// Read word (18 events) from the battery, address 16. Codes 11 to 15, 17 and 19 close
// with "]" alone, without a unit.
inline constexpr std::array<Command, 29> kBatteryRead{{
    {0x00, "[Manufacturer_Access]"},
    {0x01, "[Remaining_Capacity_Alarm]"},
    {0x02, "[Remaining_Time_Alarm]", Value::Unsigned, "min]", Placement::R1},
    {0x03, "[Battery_Mode]", Value::Flags, {}, Placement::R2, Register::BatteryMode},
    {0x04, "[At_Rate]"},
    {0x05, "[At_Rate_Time_To_Full]", Value::Unsigned, "min]", Placement::R1},
    {0x06, "[At_Rate_Time_To_Empty]", Value::Unsigned, "min]", Placement::R1},
    {0x07, "[At_Rate_OK]"},
    {0x08, "[Temperature]", Value::Temperature, "degC]", Placement::R1},
    {0x09, "[Voltage]", Value::Unsigned, "mV]", Placement::R1},
    {0x0A, "[Current]", Value::Signed, "mA]", Placement::R1},
    {0x0B, "[Average_Current]", Value::Signed, "mA]", Placement::R1},
    {0x0C, "[Max_Error]", Value::Unsigned, "%]", Placement::R1},
    {0x0D, "[Relative_State_of_Charge]", Value::Unsigned, "%]", Placement::R1},
    {0x0E, "[Absolute_State_Of_Charge]", Value::Unsigned, "%]", Placement::R1},
    {0x0F, "[Remaining_Capacity]"},
    {0x10, "[Full_Charge_Capacity]"},
    {0x11, "[Run_Time_To_Empty]", Value::Unsigned, "]", Placement::R1},
    {0x12, "[Average_Time_To_Empty]", Value::Unsigned, "]", Placement::R1},
    {0x13, "[Averate_Time_To_Full]", Value::Unsigned, "]", Placement::R1},
    {0x14, "[ChargingCurrent]", Value::Unsigned, "]", Placement::R1},
    {0x15, "[ChargingVoltage]", Value::Unsigned, "]", Placement::R1},
    {0x16, "[BatteryStatus]", Value::Flags, {}, Placement::R2, Register::BatteryStatus},
    {0x17, "[Cycle_Count]", Value::Unsigned, "]", Placement::R1},
    {0x18, "[Design_Capacity]"},
    {0x19, "[Design_Voltage]", Value::Unsigned, "]", Placement::R1},
    {0x1A, "[Specification_Info]"},
    {0x1B, "[Manufacturer_Date]"},
    {0x1C, "[Serial_Number]"},
}};

// A device by the second digit of its address byte (the first is always "1"), with the
// commands named for it in one shape.
struct Device {
    char digit;
    std::string_view name;
    std::span<const Command> commands = {};
    std::span<const Command> more_commands = {};
};

// Address only, send byte, write byte and read byte (5, 8, 11 and 15 events).
inline constexpr std::array<Device, 3> kByteDevices{{
    {'0', kHostWr},
    {'2', kChargerWr},
    {'6', kBatteryWr},
}};

// Write word (14 events).
inline constexpr std::array<Device, 4> kWriteWordDevices{{
    {'0', kHostWr},
    {'2', kChargerWr, kChargerWrite},
    {'4', kSelectorWr, kSelectorOwnWrite, kChargerWrite},
    {'6', kBatteryWriteWord, kBatteryWrite},
}};

// Read word (18 events): the write address.
inline constexpr std::array<Device, 4> kReadWordDevices{{
    {'0', kHostWr},
    {'2', kChargerWr},
    {'4', kSelectorWr, kSelectorRead},
    {'6', kBatteryWr, kBatteryRead},
}};

// Read word (18 events): the read address after the repeated start.
inline constexpr std::array<Device, 3> kReadAddresses{{
    {'1', kHostRd},
    {'3', kChargerRd},
    {'7', kBatteryRd},
}};

// Flag texts, index 0 = bit 15 down to index 15 = bit 0; empty = the bit is not tested.
using FlagTexts = std::array<std::string_view, 16>;

inline constexpr FlagTexts kBatteryModeBits{
    "(CAPACITY_MODE)",
    "(CHARGER_MODE)",
    "(ALARM_MODE)",
    "(Reserved)",
    "(Reserved)",
    "(Reserved)",
    "(PRIMARY_BATTERY)",
    "(CHARGE_CONTROLLER_ENABLED)",
    "(CONDITION_FLAG)",
    "(Reserved)",
    "(Reserved)",
    "(Reserved)",
    "(Reserved)",
    "(Reserved)",
    "(PRIMARY_BATTERY_SUPPORT)",
    "(INTERNAL_CHARGE_CONTROLLER)",
};

inline constexpr FlagTexts kChargerStatusBits{
    "(AC_PRESENT)",     "(BATTERY_PRESENT)", "(POWER_FAIL)",      "(ALARM_INHIBITED)",
    "(RES_UR)",         "(RES_HOT)",         "(RES_COLD)",        "(RES_OR)",
    "(VOLTAGE_OR)",     "(CURRENT_OR)",      "(LEVEL_3)",         "(LEVEL_2)",
    "(CURRENT_NOTREG)", "(VOLTAGE_NOTREG)",  "(POLLING_ENABLED)", "(CHARGE_INHIBITED)",
};

inline constexpr FlagTexts kBatteryStatusBits{
    "(OVER_CHARGED_ALARM)",
    "(TERMINATE_CHARGE_ALARM)",
    "(Reserved)",
    "(OVER_TEMPERATURE_ALARM)",
    "(TERMINATE_DISCHARGE_ALARM)",
    "(Reserved)",
    "(REMAINING_CAPACITY_ALARM)",
    "(REMAINING_TIME_ALARM)",
    "(INITIALIZED)",
    "(DISCHARGING)",
    "(FULLY_CHARGED)",
    "(FULLY_DISCHARGED)",
    "(ErrCode)",
    "(ErrCode)",
    "(ErrCode)",
    "(ErrCode)",
};

// Bits 3 to 0 of the alarm warning are not tested.
inline constexpr FlagTexts kAlarmWarningBits{
    "(OVER_CHARGED_ALARM)",
    "(TERMINATE_CHARGE_ALARM)",
    "(Reserved)",
    "(OVER_TEMP_ALARM)",
    "(TERMINATE_DISCHARGE_ALARM)",
    "(Reserved)",
    "(REMAINING_CAPACITY_ALARM)",
    "(REMAINING_TIME_ALARM)",
    "(INITIALIZED)",
    "(DISCHARGING)",
    "(FULLY_CHARGED)",
    "(FULLY_DISCHARGED)",
    {},
    {},
    {},
    {},
};

}  // namespace velmora::monitor::sbs
