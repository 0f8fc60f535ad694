#include "form_record.h"

#include <array>
#include <span>
#include <utility>

#include "device_operations.h"
#include "device_type_page.h"
#include "drive_word.h"
#include "eeprom_image.h"
#include "text_helpers.h"

namespace pelmo {
namespace {

constexpr uint16_t kUsb11 = 0x0110;
constexpr uint16_t kUsb20 = 0x0200;

uint16_t UsbVersionOf(const FormValues& v) {
    return v.CB3 == 0 ? kUsb11 : kUsb20;
}

// A list entry without a selection counts as the first entry.
uint8_t EntryValue(int entry) {
    return static_cast<uint8_t>(entry < 0 ? 0 : entry);
}

int ListEntry(int value, size_t entries) {
    return value >= 0 && value < static_cast<int>(entries) ? value : -1;
}

// The record flags of one side's buttons (SideButtons): a mode flag per mode button
// and the "Virtual COM Port" flag.
struct SideFlags {
    SideButtons buttons;
    std::array<uint8_t ProgrammingRecord::*, 3> modes;
    uint8_t ProgrammingRecord::*vcp;
};
using R = ProgrammingRecord;
constexpr SideFlags kDualSideFlags[] = {
    {kDualSides[0], {&R::AIs245Fifo, &R::AIsCpuFifo, &R::AIsOptoIsolate}, &R::AIsVcp},
    {kDualSides[1], {&R::BIs245Fifo, &R::BIsCpuFifo, &R::BIsOptoIsolate}, &R::BIsVcp},
};
constexpr SideFlags kHsDualSideFlags[] = {
    {kHsDualSides[0], {&R::IFAIsFifo7, &R::IFAIsFifoTar7, &R::IFAIsFastSer7}, &R::AIsVCP7},
    {kHsDualSides[1], {&R::IFBIsFifo7, &R::IFBIsFifoTar7, &R::IFBIsFastSer7}, &R::BIsVCP7},
};

// Of the mode buttons the first ticked one sets its flag, so at most one is set.
void SidesToRecord(const FormValues& v, ProgrammingRecord& r, std::span<const SideFlags> sides) {
    for (const SideFlags& side : sides) {
        for (size_t i = 0; i < side.modes.size(); ++i) {
            if (Member<bool>(v, side.buttons.modes[i])) {
                r.*side.modes[i] = 1;
                break;
            }
        }
        r.*side.vcp = Member<bool>(v, side.buttons.vcp);
    }
}

// A decoded image may set several mode bits; the button shown is the mode the record is
// programmed with (the first set flag wins, as in the chip flags); none is "RS232 UART".
void RecordToSides(const ProgrammingRecord& r, FormValues& v, std::span<const SideFlags> sides) {
    for (const SideFlags& side : sides) {
        bool shown = false;
        for (size_t i = 0; i < side.modes.size(); ++i) {
            const bool set = r.*side.modes[i] != 0;
            Member<bool>(v, side.buttons.modes[i]) = !shown && set;
            shown = shown || set;
        }
        Member<bool>(v, side.buttons.uart) = !shown;
        Member<bool>(v, side.buttons.vcp) = r.*side.vcp != 0;
        Member<bool>(v, side.buttons.direct) = r.*side.vcp == 0;
    }
}

// Boxes that each hold one flag of the record, per kind, in both directions.
struct BoxFlag {
    bool FormValues::*box;
    uint8_t ProgrammingRecord::*flag;
};
using V = FormValues;
constexpr BoxFlag kDualBoxes[] = {{&V::CB4, &R::AHighCurrent}, {&V::CB5, &R::BHighCurrent}};
constexpr BoxFlag kT4Boxes[] = {
    {&V::CB6, &R::InvertTXD},
    {&V::CB7, &R::InvertRXD},
    {&V::CB8, &R::InvertRTS},
    {&V::CB9, &R::InvertCTS},
    {&V::CB10, &R::InvertDTR},
    {&V::CB11, &R::InvertDSR},
    {&V::CB12, &R::InvertDCD},
    {&V::CB13, &R::InvertRI},
    {&V::CB15, &R::T4UseExtOsc},
    {&V::CB16, &R::T4HighCurrentIO},
    {&V::CB17, &R::T4LoadRawlinkDriver},
};
constexpr BoxFlag kHsDualBoxes[] = {{&V::CheckBox27, &R::SuspendOnD7Low}};
constexpr BoxFlag kHsQuadBoxes[] = {
    {&V::RadioButton13, &R::AIsVCP8}, {&V::RadioButton15, &R::BIsVCP8},
    {&V::RadioButton17, &R::CIsVCP8}, {&V::RadioButton19, &R::DIsVCP8},
    {&V::CheckBox23, &R::ARIisTXDEN}, {&V::CheckBox24, &R::BRIisTXDEN},
    {&V::CheckBox25, &R::CRIisTXDEN}, {&V::CheckBox26, &R::DRIisTXDEN},
};
// "Virtual COM Port" and "Rawlink Direct" of each quad port.
constexpr std::pair<bool V::*, bool V::*> kHsQuadDriverPairs[] = {
    {&V::RadioButton13, &V::RadioButton14},
    {&V::RadioButton15, &V::RadioButton16},
    {&V::RadioButton17, &V::RadioButton18},
    {&V::RadioButton19, &V::RadioButton20},
};

void BoxesToRecord(const FormValues& v, ProgrammingRecord& r, std::span<const BoxFlag> boxes) {
    for (const auto& b : boxes) r.*b.flag = v.*b.box;
}
void RecordToBoxes(const ProgrammingRecord& r, FormValues& v, std::span<const BoxFlag> boxes) {
    for (const auto& b : boxes) v.*b.box = r.*b.flag != 0;
}

void PullDownAndSerialRules(const FormValues& v, const OwnEnabled& enabled) {
    auto& s = state();
    auto& r = s.ProgramData;
    r.PullDownEnable = enabled.CheckBox11 && v.CheckBox11;
    const bool disabled = enabled.CheckBox8 && v.CheckBox8;
    r.SerNumEnable = !disabled;
    s.SerialDisabled = disabled;
}

}  // namespace

int PacketSizeOfEntry(int entry) {
    return entry >= 0 && entry < static_cast<int>(kPacketSizes.size())
               ? kPacketSizes[static_cast<size_t>(entry)]
               : kPacketSizes[0];
}

int EntryOfPacketSize(int size) {
    for (size_t i = 0; i < kPacketSizes.size(); ++i) {
        if (kPacketSizes[i] == size) return static_cast<int>(i);
    }
    return -1;
}

void FormToProgramData(const FormValues& v, const OwnEnabled& enabled, int counter) {
    ClearProgramData();
    auto& s = state();
    auto& r = s.ProgramData;
    r.VendorId = static_cast<uint16_t>(HexTextToInt(v.Edit1));
    r.ProductId = static_cast<uint16_t>(HexTextToInt(v.Edit2));
    SetBufferText(s.ManufacturerBuffer, v.Edit10);
    SetBufferText(s.PrefixBuffer, v.Edit5);
    SetBufferText(s.DescriptionBuffer, v.Edit11);
    if (v.CheckBox5) {
        std::string serial = v.Edit6.substr(0, kStringBufferSize - 1);
        if (!serial.empty()) {
            serial.back() = static_cast<char>(static_cast<uint8_t>(serial.back()) + counter);
        }
        SetBufferText(s.SerialBuffer, serial);
    }
    r.MaxPower = static_cast<uint16_t>(DecTextToInt(v.Edit9));
    r.SelfPowered = v.RB2;
    r.RemoteWakeup = enabled.CheckBox1 && v.CheckBox1;
    r.PlugAndPlay = enabled.CheckBox3 && v.CheckBox3;
    // The first generation has no serial-number switch: its serial is always there.
    s.SerialDisabled = false;

    const KindFlags& k = s.Kinds;
    if (k.KindT2) {
        r.UsbVersion = UsbVersionOf(v);
        r.IsT2 = 1;
        r.UsbVersionEnable = 1;
        PullDownAndSerialRules(v, enabled);
    }
    if (k.KindDual) {
        r.UsbVersion = UsbVersionOf(v);
        r.IsDual = 1;
        PullDownAndSerialRules(v, enabled);
        BoxesToRecord(v, r, kDualBoxes);
        SidesToRecord(v, r, kDualSideFlags);
    }
    if (k.KindT4) {
        r.IsT4 = 1;
        PullDownAndSerialRules(v, enabled);
        BoxesToRecord(v, r, kT4Boxes);
        r.C0Signal = EntryValue(v.CBX1);
        r.C1Signal = EntryValue(v.CBX2);
        r.C2Signal = EntryValue(v.CBX3);
        r.C3Signal = EntryValue(v.CBX4);
        r.C4Signal = EntryValue(v.CBX5);
        r.InEndpointSize = static_cast<uint8_t>(PacketSizeOfEntry(v.CBX6));
        r.T4IsFifoModel = v.CB1 == kEntryTessel4F;
    }
    if (k.Kind5D) {
        r.UsbVersion = kUsb20;
        r.Is5D = 1;
        PullDownAndSerialRules(v, enabled);
        SidesToRecord(v, r, kHsDualSideFlags);
        BoxesToRecord(v, r, kHsDualBoxes);
        r.IoPinDrive = PackDualDrive(v);
    }
    if (k.Kind5Q) {
        r.UsbVersion = kUsb20;
        r.Is5Q = 1;
        PullDownAndSerialRules(v, enabled);
        BoxesToRecord(v, r, kHsQuadBoxes);
        r.IoPinDrive = PackQuadDrive(v);
    }
}

bool ProgramDataToForm(FormValues& v) {
    auto& s = state();
    auto& r = s.ProgramData;
    PointAtBuffers(r);
    v.Edit1 = WordToHex(r.VendorId);
    v.Edit2 = WordToHex(r.ProductId);
    v.Edit10 = BufferText(s.ManufacturerBuffer);
    v.Edit11 = BufferText(s.DescriptionBuffer);
    v.Edit6 = BufferText(s.SerialBuffer);
    SetBufferText(s.PrefixBuffer, v.Edit6.substr(0, 2));
    v.Edit5 = BufferText(s.PrefixBuffer);
    v.Edit9 = std::to_string(r.MaxPower);
    // Both buttons, so that the pair never shows neither.
    v.RB2 = r.SelfPowered != 0;
    v.RB1 = !v.RB2;
    v.CheckBox1 = r.RemoteWakeup != 0;
    v.CheckBox3 = r.PlugAndPlay != 0;

    if (r.IsT2 || r.IsDual) v.CB3 = WordToHex(r.UsbVersion) == "0200" ? 1 : 0;
    if (r.IsT2 || r.IsDual || r.IsT4 || r.Is5D || r.Is5Q) {
        v.CheckBox11 = r.PullDownEnable != 0;
        v.CheckBox8 = r.SerNumEnable == 0;
        s.SerialDisabled = v.CheckBox8;
    }
    if (r.IsDual) {
        RecordToSides(r, v, kDualSideFlags);
        RecordToBoxes(r, v, kDualBoxes);
    }
    bool suspend_visible = false;
    if (r.Is5D) {
        RecordToSides(r, v, kHsDualSideFlags);
        RecordToBoxes(r, v, kHsDualBoxes);
        suspend_visible = true;
        UnpackDualDrive(r.IoPinDrive, v);
    }
    if (r.Is5Q) {
        RecordToBoxes(r, v, kHsQuadBoxes);
        for (const auto& [vcp, direct] : kHsQuadDriverPairs) v.*direct = !(v.*vcp);
        UnpackQuadDrive(r.IoPinDrive, v);
    }
    if (r.IsT4) {
        RecordToBoxes(r, v, kT4Boxes);
        if (r.T4IsFifoModel) {
            v.CB1 = kEntryTessel4F;
            s.Kinds.KindT4Fifo = true;
            v.CBX1 = v.CBX2 = v.CBX3 = v.CBX4 = kCPinFifoEntry;
            v.CBX5 = kC4PinFifoEntry;
            r.C0Signal = r.C1Signal = r.C2Signal = r.C3Signal = r.C4Signal = 0;
        } else {
            v.CB1 = kEntryTessel4U;
            s.Kinds.KindT4Fifo = false;
            constexpr size_t kCPinEntries = kCPinCommonNames.size() + 1;
            v.CBX1 = ListEntry(r.C0Signal, kCPinEntries);
            v.CBX2 = ListEntry(r.C1Signal, kCPinEntries);
            v.CBX3 = ListEntry(r.C2Signal, kCPinEntries);
            v.CBX4 = ListEntry(r.C3Signal, kCPinEntries);
            v.CBX5 = ListEntry(r.C4Signal, kC4PinNames.size());
        }
        // The record holds the packet size itself, not an entry index: the list shows the
        // entry of that size (none for a size it does not offer).
        v.CBX6 = EntryOfPacketSize(r.InEndpointSize);
    }
    return suspend_visible;
}

void ApplyNewDefaults(FormValues& v) {
    v.CB1 = 0;
    v.CB2 = 0;
    v.CB3 = 1;
    v.Edit1 = WordToHex(kDefaultVendorId);
    v.Edit2 = "E001";
    v.Edit9 = "100";
    v.Edit5 = "RL";
    v.Edit6 = "12345678";
    v.Edit10 = "KELD";
    v.Edit11 = "USB <-> Serial Cable";
    v.RB1 = true;
    v.RB2 = false;
    v.CheckBox8 = false;
    v.CheckBox11 = false;
    v.CheckBox5 = false;
    v.CheckBox1 = false;
    v.CheckBox3 = true;
    v.CheckBox6 = true;
}

std::optional<std::string> MaxPowerReplacement(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        value = value * 10 + DecDigitValue(c);
        if (value > kMaxBusPower) return std::to_string(kMaxBusPower);
    }
    return std::nullopt;
}

std::optional<std::string> VendorIdReplacement(std::string_view text) {
    if (text == "0000") return WordToHex(kDefaultVendorId);
    return std::nullopt;
}

}  // namespace pelmo
