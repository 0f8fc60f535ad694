// IO pin drive word of the high-speed chips: four groups of 4 bits, group 1 in bits 0-3
// up to group 4 in bits 12-15. Bits 0-1 of a group: drive entry (4, 8, 12, 16 mA);
// bit 2: slow slew; bit 3: Schmitt input.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "form_values.h"

namespace pelmo {

// The three controls of one group, by name.
struct DriveGroupControls {
    std::string_view drive;      // drive list
    std::string_view slow_slew;  // box in the "Slow" / "Slew" column
    std::string_view schmitt;    // box in the "Schmitt" / "Input" column
};
using DriveGroups = std::array<DriveGroupControls, 4>;

// Groups AL, AH, BL, BH of the high-speed dual page.
inline constexpr DriveGroups kDualDriveGroups = {{
    {"ComboBox1", "CheckBox2", "CheckBox10"},
    {"ComboBox2", "CheckBox4", "CheckBox12"},
    {"ComboBox3", "CheckBox7", "CheckBox13"},
    {"ComboBox4", "CheckBox9", "CheckBox14"},
}};
// Groups A..D of the high-speed quad page.
inline constexpr DriveGroups kQuadDriveGroups = {{
    {"ComboBox5", "CheckBox15", "CheckBox19"},
    {"ComboBox6", "CheckBox16", "CheckBox20"},
    {"ComboBox7", "CheckBox17", "CheckBox21"},
    {"ComboBox8", "CheckBox18", "CheckBox22"},
}};

// A list without a selection drives 4 mA, as any text but the four drive texts does.
uint16_t PackDrive(const FormValues& v, const DriveGroups& groups);
void UnpackDrive(uint16_t word, FormValues& v, const DriveGroups& groups);

inline uint16_t PackDualDrive(const FormValues& v) {
    return PackDrive(v, kDualDriveGroups);
}
inline uint16_t PackQuadDrive(const FormValues& v) {
    return PackDrive(v, kQuadDriveGroups);
}
inline void UnpackDualDrive(uint16_t word, FormValues& v) {
    UnpackDrive(word, v, kDualDriveGroups);
}
inline void UnpackQuadDrive(uint16_t word, FormValues& v) {
    UnpackDrive(word, v, kQuadDriveGroups);
}

}  // namespace pelmo
