#include "device_operations.h"

#include <algorithm>
#include <functional>

#include "eeprom_device.h"
#include "eeprom_image.h"
#include "eeprom_parse.h"
#include "enumerate.h"
#include "rawlink_unit.h"
#include "text_helpers.h"
#include "ui/services.h"

namespace pelmo {
namespace {

namespace ui = platform::ui;

void Log(const std::string& line) {
    window().add_log_line(line);
}
std::string Num(int32_t n) {
    return std::to_string(n);
}

void ErrorDialog(const std::string& text) {
    ui::show_message(text, ui::Buttons::Ok, ui::Icon::Error);
}

// Clears the log, enumerates for reading, and runs `step` on each device counted, opened
// and closed around it; stops at a device that will not open. Read and Read and Parse
// take every device the enumeration counted, blank or not, and never a later channel of
// a multi-channel chip.
void ForEachCountedDevice(const std::function<void(int32_t k)>& step) {
    auto& s = state();
    window().clear_log();
    FindReadTargets();
    const int32_t counted = s.BlankCount + s.ProgrammedCount;
    if (counted == 0) {
        Log("No Devices found ...");
        return;
    }
    for (int32_t k = 0; k < counted; ++k) {
        if (!OpenDeviceByIndex(s.CountedList[k])) return;
        step(k);
        CloseOpenDevice();
    }
}

char DumpChar(uint8_t b) {
    return b >= 0x30 && b <= 0x7E ? static_cast<char>(b) : '.';
}

// Waits until the UTC second differs from `seen`, at most kNextSecondWait seconds of the
// platform clock. The window paints meanwhile, but the user's input waits until the
// operation is over; the wait sleeps to the next second rather than polling the clock.
void WaitForNextSecond(uint32_t seen) {
    auto& clock = ui::clock();
    const double deadline = clock.seconds() + kNextSecondWait;
    for (;;) {
        const ui::UtcTime now = clock.utc_now();
        const double left = deadline - clock.seconds();
        if (PackUtcTime(now) != seen || left <= 0) return;
        const double to_next_second = (1000 - std::clamp(now.millisecond, 0, 999)) / 1000.0;
        ui::services().wait_holding_input(std::min(left, to_next_second));
    }
}

// Cut to what a string buffer holds, as FormToProgramData copies it.
std::string BufferSized(const std::string& text) {
    return text.substr(0, kStringBufferSize - 1);
}

bool LogIfStringsTooLong(const DescriptorTexts& t) {
    const ChipKind kind = SelectedKind(state().Kinds);
    if (StringsFit(t, kind)) return true;
    Log(StringLengthError(StringLimit(kind)));
    return false;
}

}  // namespace

bool OpenDeviceByIndex(int32_t index) {
    auto& s = state();
    s.DeviceOpen = false;
    s.DeviceIndex = index;
    if (OpenDevice() != 0) {
        ErrorDialog("Could Not Open Device " + Num(index));
        return false;
    }
    s.DeviceOpen = true;
    return true;
}

void CloseOpenDevice() {
    auto& s = state();
    if (!s.DeviceOpen) return;
    CloseDevice();
    s.DeviceOpen = false;
}

void ScanDevices() {
    window().clear_log();
    FindReadTargets();
    Log("Number Of Blank Devices = " + Num(state().BlankCount));
    Log("Number Of Programmed Devices = " + Num(state().ProgrammedCount));
}

void EraseAllDevices() {
    auto& s = state();
    window().clear_log();
    FindEraseTargets();
    if (s.BlankCount + s.ProgrammedCount == 0) {
        Log("No Devices found ...");
        return;
    }
    // Only the listed devices: with OnlyBlank on those are the blank ones, so the
    // programmed chips the user chose to protect keep their images.
    for (int32_t k = 0; k < s.TargetCount; ++k) {
        if (!OpenDeviceByIndex(s.TargetList[k])) return;
        Log(EraseEEPROM() != 0 ? "ERROR - Erase failed Device " + Num(k)
                               : "Erase successful Device " + Num(k));
        CloseOpenDevice();
    }
}

void ReadAllDevices() {
    ForEachCountedDevice([](int32_t k) {
        auto& s = state();
        if (!ReadEepromImage()) {
            Log("ERROR - Read EEPROM failed Device " + Num(k));
            return;
        }
        Log("Read EEPROM successful Device " + Num(k));
        // Each chip as long as its own kind's image, whatever kind is selected.
        const int words = HexDumpWords(s.CountedKinds[k]);
        for (const auto& line : HexDumpLines(s.ReadBackImage, words)) Log(line);
    });
}

void ReadAndParseAll() {
    ForEachCountedDevice([](int32_t k) {
        auto& s = state();
        if (ReadAndParseDevice(true) != kParseOk) {
            Log("ERROR - Read EEPROM failed Device " + Num(k));
            return;
        }
        Log("Read EEPROM successful Device " + Num(k));
        window().ProgramDataToForm();
        window().ShowBasicDetails(DecodedBasicDetails(s.ProgramData, s.Kinds));
    });
}

std::string StringLengthError(int limit) {
    return "ERROR - Total String Length exceeds maximum. - The total no of characters for "
           "Manufacturer,  - Description and Serial Number has to be less - than " +
           Num(limit);
}

DescriptorTexts FieldTexts(const StringFields& f) {
    return {BufferSized(f.manufacturer), BufferSized(f.description), BufferSized(f.prefix),
            f.use_fixed_serial ? BufferSized(f.fixed_serial) : std::string()};
}

bool StringLengthsFit() {
    return LogIfStringsTooLong(FieldTexts(window().string_fields()));
}

bool CheckStringLengths() {
    if (!StringLengthsFit()) return false;
    window().clear_log();
    return true;
}

ProgramSettings TakeProgramSettings() {
    auto& s = state();
    window().FormToProgramData(0);
    return {s.ProgramData,  s.ManufacturerBuffer, s.PrefixBuffer, s.DescriptionBuffer,
            s.SerialBuffer, s.SerialDisabled,     s.Kinds};
}

void UseProgramSettings(const ProgramSettings& p, int counter) {
    auto& s = state();
    s.ProgramData = p.record;
    PointAtBuffers(s.ProgramData);
    s.ManufacturerBuffer = p.manufacturer;
    s.PrefixBuffer = p.prefix;
    s.DescriptionBuffer = p.description;
    s.SerialBuffer = p.serial;
    if (const size_t n = BufferText(s.SerialBuffer).size(); n > 0) {
        s.SerialBuffer[n - 1] =
            static_cast<char>(static_cast<uint8_t>(s.SerialBuffer[n - 1]) + counter);
    }
    s.SerialDisabled = p.serial_disabled;
    s.Kinds = p.kinds;
}

void ProgramAllDevices() {
    auto& s = state();
    const int32_t n = FindProgramTargets();
    int32_t i = 0;
    s.LastSerial.fill('\0');
    if (n == 0) {
        ErrorDialog("No Devices Found");
        return;
    }
    const ProgramSettings settings = TakeProgramSettings();
    int tries = 0;
    while (i < n) {
        UseProgramSettings(settings, i);
        // A failing check is shown; ProgramDevice then refuses the device. A passing one
        // leaves the lines of the devices before in the log.
        LogIfStringsTooLong(RecordTexts(s.ProgramData));
        if (!OpenDeviceByIndex(s.TargetList[i])) {
            ErrorDialog("Error opening device");
            return;
        }
        if (!ProgramDevice(s.ProgramData)) {
            CloseOpenDevice();
            return;
        }
        if (ReadAndParseKeepingKinds() != kParseOk) {
            ErrorDialog("Error reading device");
            CloseOpenDevice();
            return;
        }
        const bool changed = s.SerialDisabled || s.SerialBuffer != s.LastSerial;
        CloseOpenDevice();
        if (!changed) {
            if (++tries >= kMaxProgramTries) {
                Log("ERROR - Serial Number unchanged after programming Device " + Num(i));
                return;
            }
            WaitForNextSecond(PackUtcTime(ui::clock().utc_now()));
            continue;
        }
        tries = 0;
        ++i;
        s.LastSerial = s.SerialBuffer;
        Log("Programmed Serial Number : " + BufferText(s.SerialBuffer));
    }
}

void CycleAllDevices() {
    auto& s = state();
    window().clear_log();
    window().LockBasicDetails();
    window().UpdateDeviceTypePage();
    const int32_t n = FindProgramTargets();
    if (n == 0) {
        Log("No Devices found ...");
        return;
    }
    for (int32_t k = 0; k < n; ++k) {
        if (OpenDeviceByIndex(s.TargetList[k])) {
            if (CycleDevicePort() != 0) {
                ui::show_message("No Valid Devices Found", ui::Buttons::Ok, ui::Icon::Information);
            } else {
                Log("CyclePort successful Device " + Num(k));
            }
            CloseOpenDevice();
        } else {
            Log("CyclePort failed Device " + Num(k));
        }
    }
}

std::string_view DefaultProductIdText(int device_entry) {
    switch (device_entry) {
        case 5:  // Tessel-3DA
        case kEntryTessel3DB:
        case 9:  // Tessel-5D
            return "E010";
        case 10:  // Tessel-5Q
            return "E011";
        default:
            return "E001";
    }
}

std::vector<std::string> HexDumpLines(const EepromWords& image, int words) {
    std::vector<std::string> lines;
    for (int first = 0; first + 8 <= words && first + 8 <= kImageWords; first += 8) {
        std::string line = WordToHex(static_cast<uint16_t>(first * 2)) + " : ";
        for (int i = first; i < first + 8; ++i) {
            line += ByteToHex(static_cast<uint8_t>(image[i])) + " ";
            line += ByteToHex(static_cast<uint8_t>(image[i] >> 8)) + " ";
        }
        line += ' ';
        for (int i = first; i < first + 8; ++i) {
            line += ' ';
            line += DumpChar(static_cast<uint8_t>(image[i] >> 8));
            line += DumpChar(static_cast<uint8_t>(image[i]));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

int HexDumpWords(const KindFlags& k) {
    if (k.KindDual || k.Kind5D || k.Kind5Q) return 128;
    if (k.KindT4) return 80;
    return 64;
}

BasicDetails DecodedBasicDetails(const ProgrammingRecord& r, const KindFlags& kinds) {
    BasicDetails d;
    if (r.IsDual) {
        d.device_type_entry = 5;
    } else if (r.IsT2) {
        d.device_type_entry = 3;
    } else if (r.IsT4) {
        d.device_type_entry = kinds.KindT4Fifo ? kEntryTessel4F : kEntryTessel4U;
    } else if (r.Is5D) {
        d.device_type_entry = 9;
    } else if (r.Is5Q) {
        d.device_type_entry = 10;
    } else {
        d.device_type_entry = 1;
    }
    d.device_type_text = kDeviceTypeNames[d.device_type_entry];
    if (r.VendorId == kDefaultVendorId) {
        const auto default_pid =
            static_cast<uint16_t>(HexTextToInt(DefaultProductIdText(d.device_type_entry)));
        d.vid_pid_entry = r.ProductId == default_pid ? 0 : 1;
    } else {
        d.vid_pid_entry = 2;
        d.set_id_fields = true;
        d.vendor_id_text = WordToHex(r.VendorId);
        d.product_id_text = WordToHex(r.ProductId);
    }
    return d;
}

}  // namespace pelmo
