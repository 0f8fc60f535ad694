// State of pelmo: the module-level variables of the driver wrapper, the EEPROM codec and
// the device operations. One instance with program lifetime (`state()`); the window owns
// only its controls. Flags of the programming record are 0 or 1.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "rawlnk.h"

namespace pelmo {

inline constexpr int kImageWords = 128;
inline constexpr int kStringBufferSize = 64;
inline constexpr int kListEntries = 128;
inline constexpr int kDeviceLimit = 16;  // devices with index 0..15 are looked at

// The texts of EepromSizeText: the part that holds 64 words, the two that hold 128, and
// a probe that found none of them.
inline constexpr char kEeprom93C46[] = "93C46";
inline constexpr char kEeprom93C56[] = "93C56";
inline constexpr char kEeprom93C66[] = "93C66";
inline constexpr char kEepromUnknown[] = "Unknown";

using EepromWords = std::array<uint16_t, kImageWords>;
// A zero-terminated text of at most 63 characters.
using StringBuffer = std::array<char, kStringBufferSize>;
using DeviceList = std::array<int32_t, kListEntries>;

// The settings written into one chip, or decoded from one.
struct ProgrammingRecord {
    uint16_t VendorId = 0;
    uint16_t ProductId = 0;
    StringBuffer* Manufacturer = nullptr;
    StringBuffer* SerialPrefix = nullptr;
    StringBuffer* Description = nullptr;
    StringBuffer* SerialNumber = nullptr;  // empty: the serial number is made from the clock
    uint16_t MaxPower = 0;                 // mA
    uint16_t PlugAndPlay = 0;
    uint16_t SelfPowered = 0;
    uint16_t RemoteWakeup = 0;
    // Second generation
    uint8_t IsT2 = 0;
    uint8_t IsoIn = 0, IsoOut = 0;
    uint8_t PullDownEnable = 0;
    uint8_t SerNumEnable = 0;
    uint8_t UsbVersionEnable = 0;
    uint16_t UsbVersion = 0;
    // Dual channel
    uint8_t IsDual = 0;
    uint8_t IsoInA = 0, IsoInB = 0, IsoOutA = 0, IsoOutB = 0;
    uint8_t AHighCurrent = 0, BHighCurrent = 0;
    uint8_t AIs245Fifo = 0, AIsCpuFifo = 0, AIsOptoIsolate = 0, AIsVcp = 0;
    uint8_t BIs245Fifo = 0, BIsCpuFifo = 0, BIsOptoIsolate = 0, BIsVcp = 0;
    // Fourth generation
    uint8_t IsT4 = 0;
    uint8_t T4IsFifoModel = 0;
    uint8_t T4HighCurrentIO = 0;
    uint8_t T4LoadRawlinkDriver = 0;
    uint8_t T4UseExtOsc = 0;
    uint8_t InvertTXD = 0, InvertRXD = 0, InvertRTS = 0, InvertCTS = 0;
    uint8_t InvertDTR = 0, InvertDSR = 0, InvertDCD = 0, InvertRI = 0;
    uint8_t InEndpointSize = 0;
    uint8_t C0Signal = 0, C1Signal = 0, C2Signal = 0, C3Signal = 0, C4Signal = 0;
    // High-speed dual
    uint8_t Is5D = 0;
    uint8_t IFAIsFifo7 = 0, IFAIsFifoTar7 = 0, IFAIsFastSer7 = 0, AIsVCP7 = 0;
    uint8_t IFBIsFifo7 = 0, IFBIsFifoTar7 = 0, IFBIsFastSer7 = 0, BIsVCP7 = 0;
    uint16_t IoPinDrive = 0;
    uint8_t SuspendOnD7Low = 0;
    // High-speed quad
    uint8_t Is5Q = 0;
    uint8_t AIsVCP8 = 0, BIsVCP8 = 0, CIsVCP8 = 0, DIsVCP8 = 0;
    uint8_t ARIisTXDEN = 0, BRIisTXDEN = 0, CRIisTXDEN = 0, DRIisTXDEN = 0;

    bool operator==(const ProgrammingRecord&) const = default;
};

// Chip kinds; none of the first five set means the first generation.
struct KindFlags {
    bool KindT2 = false;
    bool KindDual = false;
    bool KindT4 = false;
    bool Kind5D = false;
    bool Kind5Q = false;
    bool KindT4Fifo = false;  // the FIFO model, beside KindT4

    bool operator==(const KindFlags&) const = default;
};

struct ProgrammerState {
    // Driver wrapper
    RL_HANDLE DeviceHandle = nullptr;
    int32_t DeviceIndex = 0;
    int32_t DeviceCount = 0;
    uint16_t LastEepromWord = 0;

    // Codec
    KindFlags Kinds;
    std::string EepromSizeText;
    uint16_t ChipFlagsWord = 0;
    uint16_t ConfigFlagsWord = 0;
    EepromWords EepromImage{};
    EepromWords ReadBackImage{};
    StringBuffer ManufacturerBuffer{};
    StringBuffer PrefixBuffer{};
    StringBuffer DescriptionBuffer{};
    StringBuffer SerialBuffer{};
    ProgrammingRecord ProgramData;
    bool SerialDisabled = false;

    // Device operations
    DeviceList TargetList{};
    DeviceList OpenedList{};
    // The devices the last enumeration counted, in order (BlankCount + ProgrammedCount
    // entries); Read and Read and Parse take theirs from here.
    DeviceList CountedList{};
    // The kind flags each counted device's parse found (the selected kind with the
    // device's own): what its Read dump shows.
    std::array<KindFlags, kListEntries> CountedKinds{};
    int32_t OpenedCount = 0;
    int32_t TargetCount = 0;
    int32_t BlankCount = 0;
    int32_t ProgrammedCount = 0;
    bool DeviceOpen = false;
    bool OnlyBlank = true;
    StringBuffer LastSerial{};
};

// The program's one instance.
ProgrammerState& state();
// Back to the starting values (tests).
void ResetState();

}  // namespace pelmo
