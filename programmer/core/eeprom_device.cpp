#include "eeprom_device.h"

#include "eeprom_image.h"
#include "eeprom_parse.h"
#include "rawlink_unit.h"
#include "window_steps.h"

namespace pelmo {
namespace {

constexpr uint16_t kProbeWord = 0x00C0;
constexpr uint32_t kProbeAddress = 192;

void LogLine(const std::string& line) {
    window().add_log_line(line);
}

// The probe word read back at `address`, as the last successful read left it.
bool ProbeReadsBackAt(uint32_t address) {
    if (ReadEEWord(address) != 0) LogLine("ERROR - Read failed");
    return state().LastEepromWord == kProbeWord;
}

}  // namespace

void ProbeEepromSize() {
    auto& s = state();
    if (EraseEEPROM() != 0) LogLine("ERROR - Erase failed");
    if (WriteEEWord(kProbeAddress, kProbeWord) != 0) LogLine("ERROR - Write failed");
    s.EepromSizeText.clear();
    // A 64-word part ignores address bits 7 and 6, a 128-word part bit 7.
    if (ProbeReadsBackAt(0)) {
        s.EepromSizeText = kEeprom93C46;
    } else if (ProbeReadsBackAt(64)) {
        s.EepromSizeText = kEeprom93C56;
    } else if (ProbeReadsBackAt(192)) {
        s.EepromSizeText = kEeprom93C66;
    } else {
        s.EepromSizeText = kEepromUnknown;
    }
}

void WriteEepromImage() {
    const std::string& size = state().EepromSizeText;
    int words = 0;
    if (size == kEeprom93C46) words = 64;
    if (size == kEeprom93C56 || size == kEeprom93C66) words = 128;
    // Write failures show when the device is read back.
    for (int i = 0; i < words; ++i) WriteEEWord(static_cast<uint32_t>(i), state().EepromImage[i]);
}

bool SetProgramTime() {
    const uint8_t value =
        static_cast<uint8_t>(((kProgramTimeHigh & 0x0F) << 4) | (kProgramTimeLow & 0x0F));
    if (SetDeviceLatency(value) != 0) {
        LogLine("ERROR - Failed to set Program Time");
        return false;
    }
    return true;
}

std::optional<std::string> ProgramDevice(const ProgrammingRecord& record) {
    auto& s = state();
    // Refused before the chip is touched: strings past the checksum word would
    // overwrite it and leave a chip that no longer reads back.
    if (!StringsFitImage(record)) {
        LogLine("ERROR - String descriptors do not fit in the EEPROM, nothing written");
        return std::nullopt;
    }
    if (s.Kinds.KindT4) {
        s.EepromSizeText = kEeprom93C46;
        SetProgramTime();
    } else {
        ProbeEepromSize();
        if (EraseEEPROM() != 0) LogLine("ERROR - Erase failed");
        // A 64-word image on a larger part is written and read back as 64 words: the
        // words above it stay erased (a zero word 127 would read back as blank) and the
        // strings are found where the image's pointers put them.
        if (!HasTypeWord(SelectedKind(s.Kinds)) && s.EepromSizeText != kEepromUnknown) {
            s.EepromSizeText = kEeprom93C46;
        }
    }
    std::string serial = BuildEepromImage(record);
    WriteEepromImage();
    return serial;
}

bool ReadEepromImage() {
    auto& s = state();
    s.ReadBackImage.fill(0);
    if (!s.DeviceOpen) return false;
    bool ok = true;
    for (int i = 0; i < kImageWords; ++i) {
        if (ReadEEWord(static_cast<uint32_t>(i)) == 0) {
            s.ReadBackImage[i] = s.LastEepromWord;
        } else {
            ok = false;
        }
    }
    return ok;
}

int ReadAndParseDevice(bool fresh) {
    ClearProgramData();
    if (!ReadEepromImage()) return kParseReadFailed;
    return ParseEepromImage(state().ProgramData, fresh);
}

int ReadAndParseKeepingKinds(KindFlags* found) {
    const KindFlags selected = state().Kinds;
    const int result = ReadAndParseDevice(false);
    if (found) *found = state().Kinds;
    state().Kinds = selected;
    return result;
}

}  // namespace pelmo
