// Operations over all attached bridge chips: scan, erase, read, read and parse, program,
// cycle. Each clears the log first (program: the window does), works device by device
// and leaves none open. Results are lines of the window's log or modal dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "programmer_state.h"
#include "window_steps.h"

namespace pelmo {

// Device type list `CB1` and VID/PID type list `CB2`, in entry order.
inline constexpr std::array<std::string_view, 11> kDeviceTypeNames = {
    "None",      "Tessel-1U", "Tessel-1F",  "Tessel-2U", "Tessel-2F", "Tessel-3DA",
    "Tessel-4U", "Tessel-4F", "Tessel-3DB", "Tessel-5D", "Tessel-5Q",
};
inline constexpr std::array<std::string_view, 3> kVidPidTypeNames = {
    "KELD Default", "KELD Supplied PID", "Own VID & PID"};

inline constexpr int kEntryTessel4U = 6;
inline constexpr int kEntryTessel4F = 7;
inline constexpr int kEntryTessel3DB = 8;

inline constexpr uint16_t kDefaultVendorId = 0x4B1D;
inline constexpr std::string_view kDefaultVendorIdText = "4B1D";
// The Product ID that "KELD Default" gives a device type entry of `CB1`.
std::string_view DefaultProductIdText(int device_entry);

// Re-programming a device whose serial read back equals the previous device's: a
// clock serial changes with the next second, so a few tries, each after the clock has
// moved on, are enough; a serial that still has not changed then never will.
inline constexpr int kMaxProgramTries = 3;
inline constexpr double kNextSecondWait = 2.0;  // seconds of the platform clock

bool OpenDeviceByIndex(int32_t index);
void CloseOpenDevice();

void ScanDevices();
void EraseAllDevices();
void ReadAllDevices();
void ReadAndParseAll();
// The 48-character check of the descriptor strings: logs the error line when they are
// longer. CheckStringLengths also clears the log when they fit, which is for the user's
// edits of the strings only: it would wipe the lines of an operation.
bool StringLengthsFit();
bool CheckStringLengths();
void ProgramAllDevices();
void CycleAllDevices();

// One log line per 8 words: byte address, the bytes low first, then the characters.
std::vector<std::string> HexDumpLines(const EepromWords& image, int words);
// Words of the hex dump for the kind flags: 128, 80 (fourth generation) or 64.
int HexDumpWords(const KindFlags& kinds);
// The device type and VID/PID entries that show a decoded record.
BasicDetails DecodedBasicDetails(const ProgrammingRecord& r, const KindFlags& kinds);

}  // namespace pelmo
