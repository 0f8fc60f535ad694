// The bridge driver library as velmora calls it: librawlnk.so is loaded, and each RL_*
// function looked up, the first time it is called. A library or function that cannot be
// found makes the call return kDriverMissing instead of crashing, so the callers' failure
// rules (CommsError) apply as for any other failed call.
#pragma once

#include <string>

#include "rawlnk.h"

namespace velmora::driver {

// Status of a call whose library or function could not be bound. Not 4: the reply reader
// takes 4 as a good read.
inline constexpr RL_STATUS kDriverMissing = RL_OTHER_ERROR;

// Name handed to dlopen ("librawlnk.so"). Changing it drops every binding made so far;
// tests use it to show what a missing library does.
void set_library_name(const std::string& name);
const std::string& library_name();

RL_STATUS RL_ListDevices(void* arg1, void* arg2, uint32_t flags);
RL_STATUS RL_OpenEx(void* arg, uint32_t flags, RL_HANDLE* handle);
RL_STATUS RL_Close(RL_HANDLE h);
RL_STATUS RL_SetBaudRate(RL_HANDLE h, uint32_t baud);
RL_STATUS RL_SetDataCharacteristics(RL_HANDLE h, uint8_t word_length, uint8_t stop_bits,
                                    uint8_t parity);
RL_STATUS RL_SetFlowControl(RL_HANDLE h, uint16_t flow, uint8_t xon, uint8_t xoff);
RL_STATUS RL_SetTimeouts(RL_HANDLE h, uint32_t read_ms, uint32_t write_ms);
RL_STATUS RL_Purge(RL_HANDLE h, uint32_t mask);
RL_STATUS RL_ResetDevice(RL_HANDLE h);
RL_STATUS RL_Write(RL_HANDLE h, const void* bytes, uint32_t count, uint32_t* written);
RL_STATUS RL_Read(RL_HANDLE h, void* buffer, uint32_t count, uint32_t* returned);
RL_STATUS RL_GetQueueStatus(RL_HANDLE h, uint32_t* rx_bytes);
RL_STATUS RL_GetDeviceInfo(RL_HANDLE h, uint32_t* type, uint32_t* id, char* serial,
                           char* description, void* spare);

}  // namespace velmora::driver
