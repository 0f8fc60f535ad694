// The codec's steps on the open device: size probe, programming, reading back.
#pragma once

#include <optional>
#include <string>

#include "programmer_state.h"

namespace pelmo {

// Programming time of the fourth generation: high and low nibble of the latency value.
inline constexpr uint8_t kProgramTimeHigh = 7;
inline constexpr uint8_t kProgramTimeLow = 7;

// Finds the EEPROM size into EepromSizeText from the address wrap-around.
void ProbeEepromSize();
// Writes EepromImage by EepromSizeText: 64 or 128 words, none for an unknown size.
void WriteEepromImage();
bool SetProgramTime();
// Probe or program time, erase, build, write. Returns the serial text used, or nothing
// when the strings do not fit in front of the checksum word (then nothing is written).
std::optional<std::string> ProgramDevice(const ProgrammingRecord& record);
// Reads 128 words into ReadBackImage; false when no device is open or a read failed.
bool ReadEepromImage();
// 0 = decoded, 15 = blank or invalid, 4 = read failed.
int ReadAndParseDevice(bool fresh);
// ReadAndParseDevice(false) that leaves the kind flags as they were: while programming,
// the kind the user selected holds for every device, whatever one of them decodes as.
// `found`, when given, receives the flags the parse left.
int ReadAndParseKeepingKinds(KindFlags* found = nullptr);

}  // namespace pelmo
