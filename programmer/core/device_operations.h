// Operations over all attached bridge chips: scan, erase, read, read and parse, program,
// cycle. Each clears the log first (program: the window does), works device by device
// and leaves none open. Results are lines of the window's log or modal dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "eeprom_image.h"
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

// The settings of one Program run, taken from the window once when it starts: nothing
// done in the window while the chips are programmed reaches them.
struct ProgramSettings {
    ProgrammingRecord record;  // its strings point at the buffers of the state when used
    StringBuffer manufacturer{}, prefix{}, description{}, serial{};
    bool serial_disabled = false;
    KindFlags kinds;
};
ProgramSettings TakeProgramSettings();
// Puts the settings into ProgramData for device `counter`: the counter is added to the
// last character of a fixed serial, as FormToProgramData adds it.
void UseProgramSettings(const ProgramSettings& settings, int counter);

bool OpenDeviceByIndex(int32_t index);
void CloseOpenDevice();

void ScanDevices();
void EraseAllDevices();
void ReadAllDevices();
void ReadAndParseAll();
// The check of the descriptor strings, the same that Program makes: logs the error line
// when they do not fit the selected kind's image. CheckStringLengths also clears the log
// when they fit, which is for the user's edits of the strings only: it would wipe the
// lines of an operation.
bool StringLengthsFit();
bool CheckStringLengths();
// The texts that Program writes from the string fields.
DescriptorTexts FieldTexts(const StringFields& f);
// The error line of strings longer than `limit` characters together.
std::string StringLengthError(int limit);
void ProgramAllDevices();
void CycleAllDevices();

// One log line per 8 words: byte address, the bytes low first, then the characters.
std::vector<std::string> HexDumpLines(const EepromWords& image, int words);
// Words of the hex dump for the kind flags: 128, 80 (fourth generation) or 64.
int HexDumpWords(const KindFlags& kinds);
// The device type and VID/PID entries that show a decoded record.
BasicDetails DecodedBasicDetails(const ProgrammingRecord& r, const KindFlags& kinds);

}  // namespace pelmo
