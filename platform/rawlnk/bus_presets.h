// Register files the standard bus devices start with.
#pragma once

#include <optional>
#include <string_view>

#include "world.h"

namespace rawlnk {

std::optional<Preset> find_preset(std::string_view name);
int default_pages(Preset p);
// Fills dev.regs with the preset's registers (dev.preset and dev.pages set before).
void apply_preset(BusDeviceSpec& dev);

}  // namespace rawlnk
