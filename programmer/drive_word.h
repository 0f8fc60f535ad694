// IO pin drive word of the high-speed chips: four groups of 4 bits, group 1 in bits 0-3
// up to group 4 in bits 12-15. Bits 0-1 of a group: drive entry (4, 8, 12, 16 mA);
// bit 2: slow slew; bit 3: Schmitt input.
#pragma once

#include <array>
#include <cstdint>

#include "form_values.h"

namespace pelmo {

struct DriveGroupControls {
    int FormValues::*drive;
    bool FormValues::*slow_slew;
    bool FormValues::*schmitt;
    std::array<std::string_view, 3> names;  // the three controls, in this order
};

// Groups AL, AH, BL, BH of the high-speed dual page.
inline constexpr std::array<DriveGroupControls, 4> kDualDriveGroups = {{
    {&FormValues::ComboBox1,
     &FormValues::CheckBox2,
     &FormValues::CheckBox10,
     {"ComboBox1", "CheckBox2", "CheckBox10"}},
    {&FormValues::ComboBox2,
     &FormValues::CheckBox4,
     &FormValues::CheckBox12,
     {"ComboBox2", "CheckBox4", "CheckBox12"}},
    {&FormValues::ComboBox3,
     &FormValues::CheckBox7,
     &FormValues::CheckBox13,
     {"ComboBox3", "CheckBox7", "CheckBox13"}},
    {&FormValues::ComboBox4,
     &FormValues::CheckBox9,
     &FormValues::CheckBox14,
     {"ComboBox4", "CheckBox9", "CheckBox14"}},
}};
// Groups A..D of the high-speed quad page.
inline constexpr std::array<DriveGroupControls, 4> kQuadDriveGroups = {{
    {&FormValues::ComboBox5,
     &FormValues::CheckBox15,
     &FormValues::CheckBox19,
     {"ComboBox5", "CheckBox15", "CheckBox19"}},
    {&FormValues::ComboBox6,
     &FormValues::CheckBox16,
     &FormValues::CheckBox20,
     {"ComboBox6", "CheckBox16", "CheckBox20"}},
    {&FormValues::ComboBox7,
     &FormValues::CheckBox17,
     &FormValues::CheckBox21,
     {"ComboBox7", "CheckBox17", "CheckBox21"}},
    {&FormValues::ComboBox8,
     &FormValues::CheckBox18,
     &FormValues::CheckBox22,
     {"ComboBox8", "CheckBox18", "CheckBox22"}},
}};

// A list without a selection drives 4 mA, as any text but the four drive texts does.
uint16_t PackDrive(const FormValues& v, const std::array<DriveGroupControls, 4>& groups);
void UnpackDrive(uint16_t word, FormValues& v, const std::array<DriveGroupControls, 4>& groups);

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
