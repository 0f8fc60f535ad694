#include "eeprom_parse.h"

#include <algorithm>

#include "eeprom_bits.h"
#include "eeprom_image.h"
#include "rawlink_unit.h"
#include "text_helpers.h"

namespace pelmo {
namespace {

// A descriptor as a pointer word gives it. The count may say more characters than the
// image or a buffer holds; readers clamp.
struct Descriptor {
    int header;
    int count;
};

Descriptor DescriptorAt(const EepromWords& image, int pointer_word, bool small_part) {
    const uint16_t p = image[pointer_word];
    const int header = small_part ? (p & 0x7F) >> 1 : (p & 0xFF) >> 1;
    return {header, (p >> 9) - 1};
}

void CopyString(const EepromWords& image, Descriptor d, StringBuffer* out) {
    if (!out) return;
    out->fill('\0');
    const int count = std::min({d.count, kStringBufferSize - 1, kImageWords - 1 - d.header});
    for (int i = 0; i < count; ++i) {
        (*out)[i] = static_cast<char>(image[d.header + 1 + i] & 0xFF);
    }
}

// Sets the flag of a device type; `with_t4` because the invalid path leaves type 5 out.
void SetKindOfType(KindFlags& k, std::optional<uint32_t> type, bool with_t4) {
    if (!type) return;
    switch (*type) {
        case 0:
            k.KindT2 = true;
            break;
        case 4:
            k.KindDual = true;
            break;
        case 5:
            if (with_t4) k.KindT4 = true;
            break;
        case 6:
            k.Kind5D = true;
            break;
        case 7:
            k.Kind5Q = true;
            break;
        default:
            break;
    }
}

// Checksum by the EEPROM type word of the dual and high-speed kinds; an unknown type
// word is not checked.
bool CheckByTypeWord(uint16_t type_word) {
    switch (type_word) {
        case 0x0046:
            return VerifyChecksum64();
        case 0x0056:
        case 0x0066:
            if (!VerifyChecksum128()) return false;
            state().EepromSizeText = type_word == 0x0056 ? kEeprom93C56 : kEeprom93C66;
            return true;
        default:
            return true;
    }
}

// The image is checked by the layout of the chip's own kind when the driver names it: a
// parse that is not fresh starts from the selected kind, whose layout would judge a
// programmed chip of another kind blank. Only an unknown type falls back to the flags.
KindFlags ChecksumKind(const KindFlags& flags, std::optional<uint32_t> type) {
    const bool known = type && (*type <= 1 || (*type >= 4 && *type <= 7));
    if (!known) return flags;
    KindFlags own;  // none set for the first generation
    SetKindOfType(own, type, true);
    return own;
}

bool ChecksumValid(const KindFlags& k, const EepromWords& image) {
    if (k.KindT2) return VerifyChecksum64();
    if (k.KindDual) return CheckByTypeWord(image[10]);
    if (k.Kind5D || k.Kind5Q) return CheckByTypeWord(image[12] & 0xFF);
    return VerifyChecksum64();
}

void ClearNumericFields(ProgrammingRecord& r) {
    ProgrammingRecord cleared;
    cleared.Manufacturer = r.Manufacturer;
    cleared.SerialPrefix = r.SerialPrefix;
    cleared.Description = r.Description;
    cleared.SerialNumber = r.SerialNumber;
    r = cleared;
}

void DecodeHighSpeed(ProgrammingRecord& r, const EepromWords& img,
                     std::span<const FlagBit> chip_bits, std::span<const FlagBit> config_bits) {
    state().ChipFlagsWord = img[0];
    state().ConfigFlagsWord = img[5];
    UnpackBits(r, img[5], config_bits);
    UnpackBits(r, img[0], chip_bits);
    r.IoPinDrive = img[6];
}

void DecodeKinds(ProgrammingRecord& r, const EepromWords& img) {
    auto& s = state();
    const KindFlags k = s.Kinds;
    if (k.KindDual) {
        s.ChipFlagsWord = img[0];
        s.ConfigFlagsWord = img[5];
        r.IsDual = 1;
        UnpackBits(r, img[5], bits::kUsbConfigReadBits);
        r.UsbVersion = img[6];
        UnpackBits(r, img[0], bits::kDualModeBits);
        UnpackBits(r, img[0], bits::kDualChipBits);
    }
    if (k.KindT2) {
        s.ConfigFlagsWord = img[5];
        r.IsT2 = 1;
        UnpackBits(r, img[5], bits::kUsbConfigReadBits);
        r.UsbVersion = img[6];
    }
    if (k.KindT4) {
        // The FIFO model is told by word 66, which a blank upper part leaves 0xFFFF.
        const bool fifo = img[66] != 0xFFFF && (img[66] & 0x0001);
        s.ChipFlagsWord = static_cast<uint16_t>((img[0] & ~0x0001) | (fifo ? 1 : 0));
        s.Kinds.KindT4Fifo = fifo;
        s.ConfigFlagsWord = img[5];
        r.IsT4 = 1;
        r.C4Signal = img[11] & 0x0F;
        r.C3Signal = static_cast<uint8_t>(img[10] >> 12);
        r.C2Signal = (img[10] >> 8) & 0x0F;
        r.C1Signal = (img[10] >> 4) & 0x0F;
        r.C0Signal = img[10] & 0x0F;
        UnpackBits(r, img[5], bits::kT4ConfigBits);
        UnpackBits(r, s.ChipFlagsWord, bits::kT4ChipBits);
        r.InEndpointSize = static_cast<uint8_t>((img[0] & 0x7F00) >> 8);
    }
    if (k.Kind5D) {
        r.Is5D = 1;
        DecodeHighSpeed(r, img, bits::kHsDualChipBits, bits::kHsDualConfigBits);
    }
    if (k.Kind5Q) {
        r.Is5Q = 1;
        DecodeHighSpeed(r, img, bits::kHsQuadChipBits, bits::kHsQuadConfigBits);
    }
}

}  // namespace

std::optional<uint32_t> OpenDeviceType() {
    uint32_t type = 0;
    uint32_t id = 0;
    if (GetDeviceInfoEx(&type, &id, nullptr, nullptr, nullptr) != 0) return std::nullopt;
    return type;
}

int ParseImage(ProgrammingRecord& r, bool fresh, const DeviceTypeQuery& device_type) {
    auto& s = state();
    const EepromWords& img = s.ReadBackImage;
    ClearNumericFields(r);

    bool valid;
    if (fresh) {
        s.ChipFlagsWord = 0;
        s.Kinds = KindFlags{};
        s.EepromSizeText = kEeprom93C46;
        valid = img[0] != 0xFFFF;
    } else {
        valid = s.Kinds.KindT4 || (img[0] != 0xFFFF && img[127] != 0);
    }

    if (valid) {
        const std::optional<uint32_t> type = device_type();
        SetKindOfType(s.Kinds, type, true);
        valid = ChecksumValid(ChecksumKind(s.Kinds, type), img);
    }
    if (!valid) {
        SetKindOfType(s.Kinds, device_type(), false);
        return kParseInvalid;
    }

    r.VendorId = img[1];
    r.ProductId = img[2];
    DecodeKinds(r, img);

    r.MaxPower = static_cast<uint16_t>((img[4] >> 8) * 2);
    r.SelfPowered = (img[4] & 0x0040) ? 1 : 0;
    r.RemoteWakeup = (img[4] & 0x0020) ? 1 : 0;

    const bool small_part = s.EepromSizeText == kEeprom93C46;
    CopyString(img, DescriptorAt(img, 7, small_part), r.Manufacturer);
    CopyString(img, DescriptorAt(img, 8, small_part), r.Description);

    const KindFlags& k = s.Kinds;
    const bool any_kind = k.KindT2 || k.KindDual || k.KindT4 || k.Kind5D || k.Kind5Q;
    const Descriptor serial = DescriptorAt(img, 9, small_part);
    if (!any_kind || r.SerNumEnable) {
        CopyString(img, serial, r.SerialNumber);
    } else if (r.SerialNumber) {
        SetBufferText(*r.SerialNumber, "Disabled");
    }

    const int plug_and_play_word = serial.header + serial.count + 2;
    r.PlugAndPlay =
        plug_and_play_word >= 0 && plug_and_play_word < kImageWords && img[plug_and_play_word] == 0
            ? 1
            : 0;
    return kParseOk;
}

int ParseEepromImage(ProgrammingRecord& record, bool fresh) {
    return ParseImage(record, fresh, OpenDeviceType);
}

}  // namespace pelmo
