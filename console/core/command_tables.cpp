#include "command_tables.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

// Smart Battery: classes 5 for 00-03, 3 for 04-1C, 7 for the block reads 20-23.
constexpr std::array<CommandRow, 33> kMainBattery{{
    {0x00, "MANUFACTURER ACCESS", 5},
    {0x01, "REMAINING CAPACITY ALARM", 5},
    {0x02, "REMAINING TIME ALARM", 5},
    {0x03, "BATTERY MODE", 5},
    {0x04, "AT RATE", 3},
    {0x05, "AT RATE TIME TO FULL", 3},
    {0x06, "AT RATE TIME TO EMPTY", 3},
    {0x07, "AT RATE OK", 3},
    {0x08, "TEMPERATURE (degC)", 3},
    {0x09, "VOLTAGE (mV)", 3},
    {0x0A, "CURRENT (mA)", 3},
    {0x0B, "AVERAGE CURRENT", 3},
    {0x0C, "MAX ERROR", 3},
    {0x0D, "RELATIVE STATE OF CHARGE", 3},
    {0x0E, "ABSOLUTE STATE OF CHARGE", 3},
    {0x0F, "REMAINING CAPACITY", 3},
    {0x10, "FULL CHARGE CAPACITY", 3},
    {0x11, "RUN TIME TO EMPTY", 3},
    {0x12, "AVERAGE TIME TO EMPTY", 3},
    {0x13, "AVERAGE TIME TO FULL", 3},
    {0x14, "CHARGING CURRENT (mA)", 3},
    {0x15, "CHARGING VOLTAGE (mV)", 3},
    {0x16, "BATTERY STATUS", 3},
    {0x17, "CYCLE COUNT", 3},
    {0x18, "DESIGN CAPACITY", 3},
    {0x19, "DESIGN VOLTAGE", 3},
    {0x1A, "SPECIFICATION INFO", 3},
    {0x1B, "MANUFACTURER DATA", 3},
    {0x1C, "SERIAL NUMBER", 3},
    {0x20, "MANUFACTURER NAME", 7},
    {0x21, "DEVICE NAME", 7},
    {0x22, "DEVICE CHEMISTRY", 7},
    {0x23, "MANUFACTURER DATA", 7},
}};

constexpr std::array<CommandRow, 6> kMainCharger{{
    {0x11, "CHARGER SPEC INFO", 3},
    {0x12, "CHARGER MODE", 6},
    {0x13, "CHARGER STATUS", 3},
    {0x14, "CHARGING_CURRENT (mA)", 6},
    {0x15, "CHARGING_VOLTAGE (mV)", 6},
    {0x16, "BATTERY STATUS", 6},
}};

constexpr std::array<CommandRow, 3> kMainSelector{{
    {0x01, "SELECTOR STATE", 5},
    {0x02, "SELECTOR PRESETS", 5},
    {0x04, "SELECTOR INFO", 3},
}};

// "Reserved" (05-0F) and "RESERVED" (the rest) are two different captions.
constexpr std::array<CommandRow, 243> kMainPmbus{{
    {0x00, "PAGE", 4},
    {0x01, "OPERATION", 4},
    {0x02, "ON_OFF_CONFIG", 4},
    {0x03, "CLEAR_FAULTS", 0},
    {0x04, "PHASE", 4},
    {0x05, "Reserved", 10},
    {0x06, "Reserved", 10},
    {0x07, "Reserved", 10},
    {0x08, "Reserved", 10},
    {0x09, "Reserved", 10},
    {0x0A, "Reserved", 10},
    {0x0B, "Reserved", 10},
    {0x0C, "Reserved", 10},
    {0x0D, "Reserved", 10},
    {0x0E, "Reserved", 10},
    {0x0F, "Reserved", 10},
    {0x10, "WRITE_PROTECT", 4},
    {0x11, "STORE_DEFAULT_ALL", 0},
    {0x12, "RESTORE_DEFAULT_ALL", 0},
    {0x13, "STORE_DEFAULT_CODE", 1},
    {0x14, "RESTORE_DEFAULT_CODE", 1},
    {0x15, "STORE_USER_ALL", 0},
    {0x16, "RESTORE_USER_ALL", 0},
    {0x17, "STORE_USER_CODE", 1},
    {0x18, "RESTORE_USER_CODE", 1},
    {0x19, "CAPABILITY", 2},
    {0x20, "VOUT_MODE", 4},
    {0x21, "VOUT_COMMAND", 5},
    {0x22, "VOUT_TRIM", 5},
    {0x23, "VOUT_CAL_OFFSET", 5},
    {0x24, "VOUT_MAX", 5},
    {0x25, "VOUT_MARGIN_HIGH", 5},
    {0x26, "VOUT_MARGIN_LOW", 5},
    {0x27, "VOUT_TRANSITION_RATE", 5},
    {0x28, "VOUT_DROOP", 5},
    {0x29, "VOUT_SCALE_LOOP", 5},
    {0x2A, "VOUT_SCALE_MONITOR", 5},
    {0x30, "COEFFICIENTS", 9},
    {0x31, "POUT_MAX", 5},
    {0x32, "MAX_DUTY", 5},
    {0x33, "FREQUENCY_SWITCH", 5},
    {0x34, "RESERVED", 10},
    {0x35, "VIN_ON", 5},
    {0x36, "VIN_OFF", 5},
    {0x37, "INTERLEAVE", 5},
    {0x38, "IOUT_CAL_GAIN", 5},
    {0x39, "IOUT_CAL_OFFSET", 5},
    {0x3A, "FAN_CONFIG_1_2", 4},
    {0x3B, "FAN_COMMAND_1", 5},
    {0x3C, "FAN_COMMAND_2", 5},
    {0x3D, "FAN_CONFIG_3_4", 4},
    {0x3E, "FAN_COMMAND_3", 5},
    {0x3F, "FAN_COMMAND_4", 5},
    {0x40, "VOUT_OV_FAULT_LIMIT", 5},
    {0x41, "VOUT_OV_FAULT_RESPONSE", 4},
    {0x42, "VOUT_OV_WARN_LIMIT", 5},
    {0x43, "VOUT_UV_WARN_LIMIT", 5},
    {0x44, "VOUT_UV_FAULT_LIMIT", 5},
    {0x45, "VOUT_UV_FAULT_RESPONSE", 4},
    {0x46, "IOUT_OC_FAULT_LIMIT", 5},
    {0x47, "IOUT_OC_FAULT_RESPONSE", 4},
    {0x48, "IOUT_OC_LV_FAULT_LIMIT", 5},
    {0x49, "IOUT_OC_LV_FAULT_RESPONSE", 4},
    {0x4A, "IOUT_OC_WARN_LIMIT", 5},
    {0x4B, "IOUT_UC_FAULT_LIMIT", 5},
    {0x4C, "IOUT_UC_FAULT_RESPONSE", 4},
    {0x4F, "OT_FAULT_LIMIT", 5},
    {0x50, "OT_FAULT_RESPONSE", 4},
    {0x51, "OT_WARN_LIMIT", 5},
    {0x52, "UT_WARN_LIMIT", 5},
    {0x53, "UT_FAULT_LIMIT", 5},
    {0x54, "UT_FAULT_RESPONSE", 4},
    {0x55, "VIN_OV_FAULT_LIMIT", 5},
    {0x56, "VIN_OV_FAULT_RESPONSE", 4},
    {0x57, "VIN_OV_WARN_LIMIT", 5},
    {0x58, "VIN_UV_WARN_LIMIT", 5},
    {0x59, "VIN_UV_FAULT_LIMIT", 5},
    {0x5A, "VIN_UV_FAULT_RESPONSE", 4},
    {0x5B, "IIN_OC_FAULT_LIMIT", 5},
    {0x5C, "IIN_OC_FAULT_RESPONSE", 4},
    {0x5D, "IIN_OC_WARN_LIMIT", 5},
    {0x5E, "POWER_GOOD_ON", 5},
    {0x5F, "POWER_GOOD_OFF", 5},
    {0x60, "TON_DELAY", 5},
    {0x61, "TON_RISE", 5},
    {0x62, "TON_MAX_FAULT_LIMIT", 5},
    {0x63, "TON_MAX_FAULT_RESPONSE", 4},
    {0x64, "TOFF_DELAY", 5},
    {0x65, "TOFF_FALL", 5},
    {0x66, "TOFF_MAX_WARN_LIMIT", 5},
    {0x67, "RESERVED", 10},
    {0x68, "POUT_OP_FAULT_LIMIT", 5},
    {0x69, "POUT_OP_FAULT_RESPONSE", 4},
    {0x6A, "POUT_OP_WARN_LIMIT", 5},
    {0x6B, "PIN_OP_WARN_LIMIT", 5},
    {0x6C, "RESERVED", 10},
    {0x6D, "RESERVED", 10},
    {0x6E, "RESERVED", 10},
    {0x6F, "RESERVED", 10},
    {0x70, "RESERVED", 10},
    {0x71, "RESERVED", 10},
    {0x72, "RESERVED", 10},
    {0x73, "RESERVED", 10},
    {0x74, "RESERVED", 10},
    {0x75, "RESERVED", 10},
    {0x76, "RESERVED", 10},
    {0x77, "RESERVED", 10},
    {0x78, "STATUS_BYTE", 4},
    {0x79, "STATUS_WORD", 5},
    {0x7A, "STATUS_VOUT", 4},
    {0x7B, "STATUS_IOUT", 4},
    {0x7C, "STATUS_INPUT", 4},
    {0x7D, "STATUS_TEMPERATURE", 4},
    {0x7E, "STATUS_CML", 4},
    {0x7F, "STATUS_OTHER", 4},
    {0x80, "STATUS_MFR_SPECIFIC", 4},
    {0x81, "STATUS_FANS_1_2", 4},
    {0x82, "STATUS_FANS_3_4", 4},
    {0x83, "RESERVED", 10},
    {0x84, "RESERVED", 10},
    {0x85, "RESERVED", 10},
    {0x86, "RESERVED", 10},
    {0x87, "RESERVED", 10},
    {0x88, "READ_VIN", 5},
    {0x89, "READ_IIN", 5},
    {0x8A, "READ_VCAP", 5},
    {0x8B, "READ_VOUT", 5},
    {0x8C, "READ_IOUT", 5},
    {0x8D, "READ_TEMPERATURE_1", 5},
    {0x8E, "READ_TEMPERATURE_2", 5},
    {0x8F, "READ_TEMPERATURE_3", 5},
    {0x90, "READ_FAN_SPEED_1", 5},
    {0x91, "READ_FAN_SPEED_2", 5},
    {0x92, "READ_FAN_SPEED_3", 5},
    {0x93, "READ_FAN_SPEED_4", 5},
    {0x94, "READ_DUTY_CYCLE", 5},
    {0x95, "READ_FREQUENCY", 5},
    {0x96, "READ_POUT", 5},
    {0x97, "READ_PIN", 5},
    {0x98, "PMBUS_REVISION", 4},
    {0x99, "MFR_ID", 9},
    {0x9A, "MFR_MODEL", 9},
    {0x9B, "MFR_REVISION", 9},
    {0x9C, "MFR_LOCATION", 9},
    {0x9D, "MFR_DATE", 9},
    {0x9E, "MFR_SERIAL", 9},
    {0x9F, "RESERVED", 10},
    {0xA0, "MFR_VIN_MIN", 3},
    {0xA1, "MFR_VIN_MAX", 3},
    {0xA2, "MFR_IIN_MAX", 3},
    {0xA3, "MFR_PIN_MAX", 3},
    {0xA4, "MFR_VOUT_MIN", 3},
    {0xA5, "MFR_VOUT_MAX", 3},
    {0xA6, "MFR_IOUT_MAX", 3},
    {0xA7, "MFR_POUT_MAX", 3},
    {0xA8, "MFR_TAMBIENT_MAX", 3},
    {0xA9, "MFR_TAMBIENT_MIN", 3},
    {0xAA, "MFR_EFFICIENCY_LL", 9},
    {0xAB, "MFR_EFFICIENCY_HL", 9},
    {0xAC, "RESERVED", 10},
    {0xAD, "RESERVED", 10},
    {0xAE, "RESERVED", 10},
    {0xAF, "RESERVED", 10},
    {0xB0, "USER_DATA_00", 9},
    {0xB1, "USER_DATA_01", 9},
    {0xB2, "USER_DATA_02", 9},
    {0xB3, "USER_DATA_03", 9},
    {0xB4, "USER_DATA_04", 9},
    {0xB5, "USER_DATA_05", 9},
    {0xB6, "USER_DATA_06", 9},
    {0xB7, "USER_DATA_07", 9},
    {0xB8, "USER_DATA_08", 9},
    {0xB9, "USER_DATA_09", 9},
    {0xBA, "USER_DATA_10", 9},
    {0xBB, "USER_DATA_11", 9},
    {0xBC, "USER_DATA_12", 9},
    {0xBD, "USER_DATA_13", 9},
    {0xBE, "USER_DATA_14", 9},
    {0xBF, "USER_DATA_15", 9},
    {0xC0, "RESERVED", 10},
    {0xC1, "RESERVED", 10},
    {0xC2, "RESERVED", 10},
    {0xC3, "RESERVED", 10},
    {0xC4, "RESERVED", 10},
    {0xC5, "RESERVED", 10},
    {0xC6, "RESERVED", 10},
    {0xC7, "RESERVED", 10},
    {0xC8, "RESERVED", 10},
    {0xC9, "RESERVED", 10},
    {0xCA, "RESERVED", 10},
    {0xCB, "RESERVED", 10},
    {0xCC, "RESERVED", 10},
    {0xCD, "RESERVED", 10},
    {0xCE, "RESERVED", 10},
    {0xCF, "RESERVED", 10},
    {0xD0, "MFR_SPECIFIC_00", 10},
    {0xD1, "MFR_SPECIFIC_01", 10},
    {0xD2, "MFR_SPECIFIC_02", 10},
    {0xD3, "MFR_SPECIFIC_03", 10},
    {0xD4, "MFR_SPECIFIC_04", 10},
    {0xD5, "MFR_SPECIFIC_05", 10},
    {0xD6, "MFR_SPECIFIC_06", 10},
    {0xD7, "MFR_SPECIFIC_07", 10},
    {0xD8, "MFR_SPECIFIC_08", 10},
    {0xD9, "MFR_SPECIFIC_09", 10},
    {0xDA, "MFR_SPECIFIC_10", 10},
    {0xDB, "MFR_SPECIFIC_11", 10},
    {0xDC, "MFR_SPECIFIC_12", 10},
    {0xDD, "MFR_SPECIFIC_13", 10},
    {0xDE, "MFR_SPECIFIC_14", 10},
    {0xDF, "MFR_SPECIFIC_15", 10},
    {0xE0, "MFR_SPECIFIC_16", 10},
    {0xE1, "MFR_SPECIFIC_17", 10},
    {0xE2, "MFR_SPECIFIC_18", 10},
    {0xE3, "MFR_SPECIFIC_19", 10},
    {0xE4, "MFR_SPECIFIC_20", 10},
    {0xE5, "MFR_SPECIFIC_21", 10},
    {0xE6, "MFR_SPECIFIC_22", 10},
    {0xE7, "MFR_SPECIFIC_23", 10},
    {0xE8, "MFR_SPECIFIC_24", 10},
    {0xE9, "MFR_SPECIFIC_25", 10},
    {0xEA, "MFR_SPECIFIC_26", 10},
    {0xEB, "MFR_SPECIFIC_27", 10},
    {0xEC, "MFR_SPECIFIC_28", 10},
    {0xED, "MFR_SPECIFIC_29", 10},
    {0xEE, "MFR_SPECIFIC_30", 10},
    {0xEF, "MFR_SPECIFIC_31", 10},
    {0xF0, "MFR_SPECIFIC_32", 10},
    {0xF1, "MFR_SPECIFIC_33", 10},
    {0xF2, "MFR_SPECIFIC_34", 10},
    {0xF3, "MFR_SPECIFIC_35", 10},
    {0xF4, "MFR_SPECIFIC_36", 10},
    {0xF5, "MFR_SPECIFIC_37", 10},
    {0xF6, "MFR_SPECIFIC_38", 10},
    {0xF7, "MFR_SPECIFIC_39", 10},
    {0xF8, "MFR_SPECIFIC_40", 10},
    {0xF9, "MFR_SPECIFIC_41", 10},
    {0xFA, "MFR_SPECIFIC_42", 10},
    {0xFB, "MFR_SPECIFIC_43", 10},
    {0xFC, "MFR_SPECIFIC_44", 10},
    {0xFD, "MFR_SPECIFIC_45", 10},
    {0xFE, "MFR_SPECIFIC_COMMAND_EXT", 10},
    {0xFF, "PMBUS_COMMAND_EXT", 10},
}};

// The panels' battery and charger tables are the main ones with names that carry no unit.
// The charger table is taken for the address "12" and for "14": the panels know no selector.
struct Rename {
    uint8_t code;
    std::string_view name;
};
constexpr std::array<Rename, 5> kPanelBatteryNames{{
    {0x08, "TEMPERATURE"},
    {0x09, "VOLTAGE"},
    {0x0A, "CURRENT"},
    {0x14, "CHARGING CURRENT"},
    {0x15, "CHARGING VOLTAGE"},
}};
constexpr std::array<Rename, 2> kPanelChargerNames{{
    {0x14, "CHARGING_CURRENT"},
    {0x15, "CHARGING_VOLTAGE"},
}};

// The panels name the commands of one PMBus device at address B8: the main table's rows
// for the codes below D0 that the device has, and names of its own from D0 up.
struct CodeRange {
    uint8_t first, last;
};
constexpr std::array<CodeRange, 12> kPanelPmbusFromMain{{
    {0x00, 0x19},
    {0x20, 0x2A},
    {0x30, 0x4C},
    {0x4F, 0x5A},
    {0x5E, 0x64},
    {0x78, 0x7A},
    {0x7C, 0x7E},
    {0x80, 0x80},
    {0x88, 0x88},
    {0x8B, 0x8B},
    {0x8D, 0x8D},
    {0x98, 0x98},
}};
// Several of the panels' rows name a command without giving its class; they take the
// main table's class for the code (class 10, no test, for the device's own D0 up), so that
// a panel checks a command as the main panel does instead of keeping the class of
// whatever code was typed before.
constexpr std::array<CommandRow, 39> kPanelPmbusOwn{{
    {0xD0, "MFR_CONFIG", 10},
    {0xD1, "MFR_CONFIG_ALL", 10},
    {0xD2, "MFR_FAULTBz0_PROPAGATE", 10},
    {0xD3, "MFR_FAULTBz1_PROPAGATE", 10},
    {0xD4, "MFR_PWRGD_EN", 10},
    {0xD5, "MFR_FAULTB00_RESPONSE", 10},
    {0xD6, "MFR_FAULTB01_RESPONSE", 10},
    {0xD7, "MFR_FAULTB10_RESPONSE", 10},
    {0xD8, "MFR_FAULTB11_RESPONSE", 10},
    {0xD9, "MFR_VINEN_OV_FAULT_RESPONSE", 10},
    {0xDA, "MFR_VINEN_UV_FAULT_RESPONSE", 10},
    {0xDB, "MFR_RETRY_DELAY", 10},
    {0xDC, "MFR_RESTART_DELAY", 10},
    {0xDD, "MFR_VOUT_PEAK", 10},
    {0xDE, "MFR_VIN_PEAK", 10},
    {0xDF, "MFR_TEMPERATURE_PEAK", 10},
    {0xE0, "MFR_DAC", 10},
    {0xE1, "MFR_POWERGOOD_ASSERTION_DELAY", 10},
    {0xE2, "MFR_WATCHDOG_T_FIRST", 10},
    {0xE3, "MFR_WATCHDOG_T", 10},
    {0xE4, "MFR_PAGE_FF_MASK", 10},
    {0xE5, "MFR_PADS", 10},
    {0xE6, "MFR_I2C_BASE_ADDRESS", 10},
    {0xE7, "MFR_ID", 10},
    {0xE8, "MFR_SPECIAL_LOT", 10},
    {0xE9, "MFR_K_VOUT_OFF", 10},
    {0xEA, "MFR_DATA_LOG_STORE", 10},
    {0xEB, "MFR_DATA_LOG_RESTORE", 10},
    {0xEC, "MFR_DATA_LOG_CLEAR", 10},
    {0xED, "MFR_DATA_LOG_STATUS", 10},
    {0xEE, "MFR_DATA_LOG", 10},
    {0xEF, "MFR_COMMON", 10},
    {0xF7, "MFR_SPARE_0", 10},
    {0xF8, "MFR_SPARE_1", 10},
    {0xF9, "MFR_SPARE_2", 10},
    {0xFA, "MFR_SPARE_3", 10},
    {0xFB, "MFR_VOUT_MIN", 10},
    {0xFC, "MFR_VIN_MIN", 10},
    {0xFD, "MFR_TEMPERATURE_MIN", 10},
}};

template <size_t N>
constexpr bool sorted_unique(const std::array<CommandRow, N>& rows) {
    for (size_t i = 1; i < N; ++i)
        if (rows[i - 1].code >= rows[i].code) return false;
    return true;
}

template <size_t N>
constexpr const CommandRow& row_of(const std::array<CommandRow, N>& rows, uint8_t code) {
    for (const auto& r : rows)
        if (r.code == code) return r;
    throw "code not in table";  // a compile-time error in a constant expression
}

template <size_t N, size_t R>
constexpr std::array<CommandRow, N> renamed(std::array<CommandRow, N> rows,
                                            const std::array<Rename, R>& names) {
    for (const Rename& r : names) {
        bool found = false;
        for (auto& row : rows) {
            if (row.code != r.code) continue;
            row.name = r.name;
            found = true;
        }
        if (!found) throw "renamed code not in table";  // a compile-time error
    }
    return rows;
}

constexpr std::array<CommandRow, 135> make_panel_pmbus() {
    std::array<CommandRow, 135> out{};
    size_t n = 0;
    for (const auto& range : kPanelPmbusFromMain)
        for (int c = range.first; c <= range.last; ++c)
            out[n++] = row_of(kMainPmbus, static_cast<uint8_t>(c));
    for (const auto& r : kPanelPmbusOwn) out[n++] = r;
    if (n != out.size()) throw "row count";
    return out;
}

constexpr std::array<CommandRow, 33> kPanelBattery = renamed(kMainBattery, kPanelBatteryNames);
constexpr std::array<CommandRow, 6> kPanelCharger = renamed(kMainCharger, kPanelChargerNames);
constexpr std::array<CommandRow, 135> kPanelPmbus = make_panel_pmbus();

static_assert(sorted_unique(kMainBattery) && sorted_unique(kMainCharger) &&
              sorted_unique(kMainSelector) && sorted_unique(kMainPmbus));
static_assert(sorted_unique(kPanelBattery) && sorted_unique(kPanelCharger) &&
              sorted_unique(kPanelPmbus));

constexpr CommandTables kMainSet{kMainBattery, kMainCharger, kMainSelector, kMainPmbus};
constexpr CommandTables kPanelSet{kPanelBattery, kPanelCharger, {}, kPanelPmbus};

}  // namespace

const CommandTables& command_tables(TableSet set) {
    return set == TableSet::Main ? kMainSet : kPanelSet;
}

const CommandRow* find_command(std::span<const CommandRow> table, uint8_t code) {
    auto it = std::lower_bound(table.begin(), table.end(), code,
                               [](const CommandRow& r, uint8_t c) { return r.code < c; });
    return it != table.end() && it->code == code ? &*it : nullptr;
}

}  // namespace velmora
