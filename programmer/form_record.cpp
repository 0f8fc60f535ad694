#include "form_record.h"

#include <array>
#include <initializer_list>
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

// Of a group of mode buttons the first ticked one sets its flag, so at most one is set.
void SetFirstTicked(std::initializer_list<std::pair<bool, uint8_t*>> buttons) {
    for (const auto& [ticked, flag] : buttons) {
        if (ticked) {
            *flag = 1;
            return;
        }
    }
}

// A list entry without a selection counts as the first entry.
uint8_t EntryValue(int entry) {
    return static_cast<uint8_t>(entry < 0 ? 0 : entry);
}

int ListEntry(int value, size_t entries) {
    return value >= 0 && value < static_cast<int>(entries) ? value : -1;
}

// The buttons of one side of a dual chip: "RS232 UART" and three other modes, "Virtual
// COM Port" and "Rawlink Direct".
struct SideButtons {
    bool FormValues::*uart;
    std::array<bool FormValues::*, 3> modes;
    bool FormValues::*vcp;
    bool FormValues::*direct;
};
struct SideFlags {
    std::array<uint8_t, 3> modes;
    uint8_t vcp;
};

// A decoded image may set several mode bits; the button shown is the mode the record is
// programmed with (the first set flag wins, as in the chip flags); none is "RS232 UART".
void ShowSide(FormValues& v, const SideButtons& b, const SideFlags& f) {
    bool shown = false;
    for (size_t i = 0; i < b.modes.size(); ++i) {
        v.*b.modes[i] = !shown && f.modes[i];
        shown = shown || f.modes[i];
    }
    v.*b.uart = !shown;
    v.*b.vcp = f.vcp;
    v.*b.direct = !f.vcp;
}

// Boxes that each hold one flag of the record, per kind, in both directions.
struct BoxFlag {
    bool FormValues::*box;
    uint8_t ProgrammingRecord::*flag;
};
using V = FormValues;
using R = ProgrammingRecord;
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
        SetFirstTicked(
            {{v.RB4, &r.AIs245Fifo}, {v.RB5, &r.AIsCpuFifo}, {v.RB6, &r.AIsOptoIsolate}});
        r.AIsVcp = v.RB7;
        SetFirstTicked(
            {{v.RB10, &r.BIs245Fifo}, {v.RB11, &r.BIsCpuFifo}, {v.RB12, &r.BIsOptoIsolate}});
        r.BIsVcp = v.RB13;
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
        SetFirstTicked({{v.RadioButton2, &r.IFAIsFifo7},
                        {v.RadioButton3, &r.IFAIsFifoTar7},
                        {v.RadioButton4, &r.IFAIsFastSer7}});
        r.AIsVCP7 = v.RadioButton5;
        SetFirstTicked({{v.RadioButton8, &r.IFBIsFifo7},
                        {v.RadioButton9, &r.IFBIsFifoTar7},
                        {v.RadioButton10, &r.IFBIsFastSer7}});
        r.BIsVCP7 = v.RadioButton11;
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
        ShowSide(v,
                 {&FormValues::RB3,
                  {&FormValues::RB4, &FormValues::RB5, &FormValues::RB6},
                  &FormValues::RB7,
                  &FormValues::RB8},
                 {{r.AIs245Fifo, r.AIsCpuFifo, r.AIsOptoIsolate}, r.AIsVcp});
        ShowSide(v,
                 {&FormValues::RB9,
                  {&FormValues::RB10, &FormValues::RB11, &FormValues::RB12},
                  &FormValues::RB13,
                  &FormValues::RB14},
                 {{r.BIs245Fifo, r.BIsCpuFifo, r.BIsOptoIsolate}, r.BIsVcp});
        RecordToBoxes(r, v, kDualBoxes);
    }
    bool suspend_visible = false;
    if (r.Is5D) {
        ShowSide(v,
                 {&FormValues::RadioButton1,
                  {&FormValues::RadioButton2, &FormValues::RadioButton3, &FormValues::RadioButton4},
                  &FormValues::RadioButton5,
                  &FormValues::RadioButton6},
                 {{r.IFAIsFifo7, r.IFAIsFifoTar7, r.IFAIsFastSer7}, r.AIsVCP7});
        ShowSide(
            v,
            {&FormValues::RadioButton7,
             {&FormValues::RadioButton8, &FormValues::RadioButton9, &FormValues::RadioButton10},
             &FormValues::RadioButton11,
             &FormValues::RadioButton12},
            {{r.IFBIsFifo7, r.IFBIsFifoTar7, r.IFBIsFastSer7}, r.BIsVCP7});
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
