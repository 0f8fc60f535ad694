#include "console_startup.h"

namespace velmora {

FirmwareAction firmware_action(std::string_view version_text) {
    size_t i = 0;
    while (i < version_text.size() && version_text[i] == ' ') ++i;
    long value = 0;
    for (; i < version_text.size() && version_text[i] >= '0' && version_text[i] <= '9'; ++i)
        if (value < 1000) value = value * 10 + (version_text[i] - '0');  // no overflow
    if (value == 2) return FirmwareAction::DisableMonitor;
    if (value == 0) return FirmwareAction::InitializationError;
    return FirmwareAction::None;
}

}  // namespace velmora
