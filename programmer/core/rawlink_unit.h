// RawlinkUnit: one thin wrapper in front of each driver library call the programmer
// makes. Each passes the one open handle `DeviceHandle` and returns the library's status
// unchanged (0 = success). Only the count, open, close and device-information calls show
// the driver-error dialog; the callers report the others in the log.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmo {

// Number of attached devices into DeviceCount.
int32_t GetDeviceCount();
// Opens device DeviceIndex into DeviceHandle.
int32_t OpenDevice();
int32_t CloseDevice();
int32_t SetDeviceLatency(uint8_t value);
// Any of serial, description and spare may be null.
int32_t GetDeviceInfoEx(uint32_t* type, uint32_t* id, char* serial, char* description, void* spare);
// The word read goes to LastEepromWord.
int32_t ReadEEWord(uint32_t offset);
int32_t WriteEEWord(uint32_t offset, uint16_t value);
int32_t EraseEEPROM();
int32_t CycleDevicePort();
// The serial number the driver lists for device `index` (no device need be open) into a
// 64-byte buffer; no dialog, the caller decides what to say.
int32_t GetDeviceSerialByIndex(int32_t index, char* serial);

// The dialog text for a failed call: the caption followed by the status text.
std::string DriverErrorText(std::string_view caption, int32_t status);
// Modal error dialog for a non-zero status; nothing for 0.
void ShowDriverError(std::string_view caption, int32_t status);

}  // namespace pelmo
