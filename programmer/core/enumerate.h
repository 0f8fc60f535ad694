// The three enumerators: which attached devices an operation counts and works on, from
// the selected chip kind, OnlyBlank and each device's own answers. They fill TargetList,
// OpenedList, CountedList and the counts, and leave no device open.
#pragma once

#include <cstdint>
#include <string_view>

namespace pelmo {

// Channel endings of a description (at most its first 64 characters).
bool EndsWithChannelB(std::string_view description);
bool EndsWithLaterChannel(std::string_view description);

// Words 64..66 of the open fourth-generation chip: 65 is the complement of 64, and bit 0
// of 66 (0xFFFF counts as 0) matches the FIFO model unless the upper type is ignored.
bool UpperTypeTest(bool fifo_model, bool ignore_upper_type);

int32_t FindEraseTargets();
int32_t FindProgramTargets();
int32_t FindReadTargets();

}  // namespace pelmo
