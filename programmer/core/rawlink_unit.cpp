#include "rawlink_unit.h"

#include <array>
#include <cstdint>

#include "programmer_state.h"
#include "ui/services.h"

namespace pelmo {
namespace {

// Texts of statuses 1..17, index = status; 15 has none. The blanks of 8 and 9 are
// as the dialogs always showed them.
constexpr std::array<std::string_view, 18> kStatusTexts = {
    "",
    " - Invalid Handle...",
    " - Device Not Found....",
    " - Device Not Opened...",
    " - General IO Error...",
    " - Insufficient Resources...",
    " - Invalid Parameter ...",
    " - Invalid baud rate ...",
    " Device not opened for erase  ...",
    " Device not opened for write ...",
    " - Failed to write ...",
    " - EEPROM read Failed ...",
    " - EEPROM write failed ...",
    " - EEPROM erase failed ...",
    " - EEPROM not present ...",
    "",
    " - invalid Arguments ...",
    " - other error  ...",
};

int32_t Status(RL_STATUS s) {
    return static_cast<int32_t>(s);
}

int32_t Reported(std::string_view caption, RL_STATUS s) {
    ShowDriverError(caption, Status(s));
    return Status(s);
}

}  // namespace

int32_t GetDeviceCount() {
    uint32_t count = 0;
    RL_STATUS s = RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY);
    state().DeviceCount = static_cast<int32_t>(count);
    return Reported("GetRLDeviceCount", s);
}

int32_t OpenDevice() {
    return Reported("RL_Open", RL_Open(state().DeviceIndex, &state().DeviceHandle));
}

int32_t CloseDevice() {
    return Reported("RL_Close", RL_Close(state().DeviceHandle));
}

int32_t SetDeviceLatency(uint8_t value) {
    return Status(RL_SetLatencyTimer(state().DeviceHandle, value));
}

int32_t GetDeviceInfoEx(uint32_t* type, uint32_t* id, char* serial, char* description,
                        void* spare) {
    return Reported("RL_GetDeviceInfo ",
                    RL_GetDeviceInfo(state().DeviceHandle, type, id, serial, description, spare));
}

int32_t ReadEEWord(uint32_t offset) {
    uint16_t word = state().LastEepromWord;
    RL_STATUS s = RL_ReadEE(state().DeviceHandle, offset, &word);
    if (s == RL_OK) state().LastEepromWord = word;
    return Status(s);
}

int32_t WriteEEWord(uint32_t offset, uint16_t value) {
    return Status(RL_WriteEE(state().DeviceHandle, offset, value));
}

int32_t EraseEEPROM() {
    return Status(RL_EraseEE(state().DeviceHandle));
}

int32_t CycleDevicePort() {
    return Status(RL_CyclePort(state().DeviceHandle));
}

int32_t GetDeviceSerialByIndex(int32_t index, char* serial) {
    void* by_index = reinterpret_cast<void*>(static_cast<intptr_t>(index));
    return Status(RL_ListDevices(by_index, serial, RL_LIST_BY_INDEX | RL_LIST_SERIAL_NUMBER));
}

std::string DriverErrorText(std::string_view caption, int32_t status) {
    std::string text(caption);
    if (status > 0 && status < static_cast<int32_t>(kStatusTexts.size()) &&
        !kStatusTexts[status].empty()) {
        text += kStatusTexts[status];
    } else {
        // Statuses without a text of their own still say what failed.
        text += " - unknown status " + std::to_string(status);
    }
    return text;
}

void ShowDriverError(std::string_view caption, int32_t status) {
    if (status == 0) return;
    platform::ui::show_message(DriverErrorText(caption, status), platform::ui::Buttons::Ok,
                               platform::ui::Icon::Error);
}

}  // namespace pelmo
