// Decoding of ReadBackImage into a programming record.
//
// In: the 128 words of ReadBackImage, the kind flags (unless fresh), EepromSizeText, and
// the device type the driver reports for the open device. Out: the record, the kind
// flags, ChipFlagsWord, ConfigFlagsWord, EepromSizeText; 0 = decoded, 15 = blank or
// invalid. Whatever the image holds, nothing is read outside its 128 words and no
// string buffer is written past its end.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "programmer_state.h"

namespace pelmo {

inline constexpr int kParseOk = 0;
inline constexpr int kParseInvalid = 15;
inline constexpr int kParseReadFailed = 4;

// The device type code, or nothing when the driver could not tell.
using DeviceTypeQuery = std::function<std::optional<uint32_t>()>;

// The device type of the open device through GetDeviceInfoEx.
std::optional<uint32_t> OpenDeviceType();

int ParseImage(ProgrammingRecord& record, bool fresh, const DeviceTypeQuery& device_type);
int ParseEepromImage(ProgrammingRecord& record, bool fresh);

}  // namespace pelmo
