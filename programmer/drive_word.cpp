#include "drive_word.h"

namespace pelmo {

uint16_t PackDrive(const FormValues& v, const DriveGroups& groups) {
    uint16_t word = 0;
    for (size_t g = 0; g < groups.size(); ++g) {
        const int entry = Member<int>(v, groups[g].drive);
        unsigned bits = entry >= 0 && entry < static_cast<int>(kDriveNames.size())
                            ? static_cast<unsigned>(entry)
                            : 0u;
        if (Member<bool>(v, groups[g].slow_slew)) bits |= 0x4;
        if (Member<bool>(v, groups[g].schmitt)) bits |= 0x8;
        word = static_cast<uint16_t>(word | (bits << (4 * g)));
    }
    return word;
}

void UnpackDrive(uint16_t word, FormValues& v, const DriveGroups& groups) {
    for (size_t g = 0; g < groups.size(); ++g) {
        const unsigned bits = (word >> (4 * g)) & 0xF;
        Member<int>(v, groups[g].drive) = static_cast<int>(bits & 0x3);
        Member<bool>(v, groups[g].slow_slew) = (bits & 0x4) != 0;
        Member<bool>(v, groups[g].schmitt) = (bits & 0x8) != 0;
    }
}

}  // namespace pelmo
