#include "eeprom_image.h"

#include <algorithm>
#include <array>

#include "eeprom_bits.h"
#include "text_helpers.h"

namespace pelmo {
namespace {

struct KindLayout {
    ChipKind kind;
    int string_start;  // byte
    int type_word;     // word of the EEPROM type, 0 = none (always a 64-word image)
    std::span<const FlagBit> chip_bits;    // word 0, besides the dual modes and packet size
    std::span<const FlagBit> config_bits;  // word 5
};

constexpr std::array<KindLayout, 6> kLayouts = {{
    {ChipKind::FirstGen, 0x14, 0, {}, {}},
    {ChipKind::T2, 0x14, 0, {}, bits::kT2ConfigBits},
    {ChipKind::Dual, 0x16, 10, bits::kDualChipBits, bits::kDualConfigBits},
    {ChipKind::T4, 0x18, 0, bits::kT4ChipBits, bits::kT4ConfigBits},
    {ChipKind::HsDual, 0x1A, 12, bits::kHsDualChipBits, bits::kHsDualConfigBits},
    {ChipKind::HsQuad, 0x1A, 12, bits::kHsQuadChipBits, bits::kHsQuadConfigBits},
}};

const KindLayout& LayoutOf(ChipKind kind) {
    return *std::find_if(kLayouts.begin(), kLayouts.end(),
                         [kind](const KindLayout& l) { return l.kind == kind; });
}

// The last word the strings may use: the checksum follows it in a 64-word image, and
// the upper-half copy of words 11..63 keeps the same distance to word 127.
constexpr int kLastStringWord = 62;

// Writes that would fall outside the image are dropped, whatever the texts hold.
void Put(EepromWords& image, int word, uint16_t value) {
    if (word >= 0 && word < kImageWords) image[word] = value;
}

// One string descriptor at byte `start`; its pointer goes to `pointer_word`. Returns
// the byte where the next descriptor starts.
int PutDescriptor(EepromWords& image, int start, std::string_view text, int pointer_word) {
    const int n = static_cast<int>(text.size());
    const int length = 2 * n + 2;
    const int header = start / 2;
    Put(image, header, static_cast<uint16_t>((length & 0xFF) | 0x0300));
    for (int i = 0; i < n; ++i) {
        Put(image, header + 1 + i, static_cast<uint8_t>(text[i]));
    }
    Put(image, pointer_word,
        static_cast<uint16_t>(((length & 0xFF) << 8) | ((start | 0x80) & 0xFF)));
    return start + length;
}

}  // namespace

ChipKind SelectedKind(const KindFlags& k) {
    if (k.KindDual) return ChipKind::Dual;
    if (k.KindT4) return ChipKind::T4;
    if (k.Kind5D) return ChipKind::HsDual;
    if (k.Kind5Q) return ChipKind::HsQuad;
    if (k.KindT2) return ChipKind::T2;
    return ChipKind::FirstGen;
}

int StringStartByte(ChipKind kind) {
    return LayoutOf(kind).string_start;
}

bool HasTypeWord(ChipKind kind) {
    return LayoutOf(kind).type_word != 0;
}

uint16_t PowerWord(const ProgrammingRecord& r) {
    uint16_t w = static_cast<uint16_t>(((r.MaxPower / 2) << 8) | 0x80);
    if (r.SelfPowered) w |= 0x40;
    if (r.RemoteWakeup) w |= 0x20;
    return w;
}

uint16_t ImageChecksum(const EepromWords& image, int words) {
    uint16_t c = 0xAAAA;
    for (int i = 0; i < words - 1; ++i) {
        c ^= image[i];
        c = static_cast<uint16_t>((c << 1) | (c >> 15));
    }
    return c;
}

void StoreChecksum64() {
    state().EepromImage[63] = ImageChecksum(state().EepromImage, 64);
}
void StoreChecksum128() {
    state().EepromImage[127] = ImageChecksum(state().EepromImage, 128);
}
bool VerifyChecksum64() {
    return ImageChecksum(state().ReadBackImage, 64) == state().ReadBackImage[63];
}
bool VerifyChecksum128() {
    return ImageChecksum(state().ReadBackImage, 128) == state().ReadBackImage[127];
}

void MoveStringsHigh() {
    auto& image = state().EepromImage;
    std::copy(image.begin() + 11, image.begin() + 64, image.begin() + 75);
    std::fill(image.begin() + 11, image.begin() + 64, 0);
}

std::string ToBase36(uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string out(kClockSerialDigits, '0');
    for (int i = kClockSerialDigits - 1; i >= 0; --i) {
        out[i] = kDigits[value % 36];
        value /= 36;
    }
    return out;
}

uint32_t PackUtcTime(const platform::ui::UtcTime& t) {
    uint32_t p = static_cast<uint32_t>(t.year) & 0x1F;
    p = (p << 4) | (static_cast<uint32_t>(t.month) & 0x0F);
    p = (p << 5) | (static_cast<uint32_t>(t.day) & 0x1F);
    p = (p << 5) | (static_cast<uint32_t>(t.hour) & 0x1F);
    p = (p << 6) | (static_cast<uint32_t>(t.minute) & 0x3F);
    p = (p << 6) | (static_cast<uint32_t>(t.second) & 0x3F);
    return p;
}

std::string MakeTimeSerial(std::string_view prefix) {
    return std::string(prefix) + ToBase36(PackUtcTime(platform::ui::clock().utc_now()));
}

void PackChipFlags(const ProgrammingRecord& r) {
    const ChipKind kind = SelectedKind(state().Kinds);
    uint16_t w = PackBits(r, LayoutOf(kind).chip_bits);
    if (kind == ChipKind::Dual) {
        // One mode per channel: the first set flag wins.
        auto mode = [](uint8_t fifo, uint8_t cpu, uint8_t opto) -> uint16_t {
            return fifo ? 0x1 : cpu ? 0x2 : opto ? 0x4 : 0;
        };
        w |= mode(r.AIs245Fifo, r.AIsCpuFifo, r.AIsOptoIsolate) |
             static_cast<uint16_t>(mode(r.BIs245Fifo, r.BIsCpuFifo, r.BIsOptoIsolate) << 8);
    }
    if (kind == ChipKind::T4) w |= static_cast<uint16_t>(r.InEndpointSize << 8);
    state().ChipFlagsWord = w;
}

void PackConfigFlags(const ProgrammingRecord& r) {
    state().ConfigFlagsWord = PackBits(r, LayoutOf(SelectedKind(state().Kinds)).config_bits);
}

void PointAtBuffers(ProgrammingRecord& r) {
    auto& s = state();
    r.Manufacturer = &s.ManufacturerBuffer;
    r.SerialPrefix = &s.PrefixBuffer;
    r.Description = &s.DescriptionBuffer;
    r.SerialNumber = &s.SerialBuffer;
}

void ClearProgramData() {
    auto& s = state();
    s.ProgramData = ProgrammingRecord{};
    for (auto* b :
         {&s.ManufacturerBuffer, &s.PrefixBuffer, &s.DescriptionBuffer, &s.SerialBuffer}) {
        b->fill('\0');
    }
    PointAtBuffers(s.ProgramData);
}

std::string RecordText(const StringBuffer* text) {
    return text ? BufferText(*text) : std::string();
}

DescriptorTexts RecordTexts(const ProgrammingRecord& r) {
    return {RecordText(r.Manufacturer), RecordText(r.Description), RecordText(r.SerialPrefix),
            RecordText(r.SerialNumber)};
}

size_t DescriptorCharacters(const DescriptorTexts& t) {
    const size_t serial =
        t.fixed_serial.empty() ? t.prefix.size() + kClockSerialDigits : t.fixed_serial.size();
    return t.manufacturer.size() + t.description.size() + serial;
}

int StringLimit(ChipKind kind) {
    // three headers, the characters, then the zero word and the Plug and Play word
    return kLastStringWord - StringStartByte(kind) / 2 - 3 - 1;
}

bool StringsFit(const DescriptorTexts& t, ChipKind kind) {
    return DescriptorCharacters(t) <= static_cast<size_t>(StringLimit(kind));
}

bool StringsFitImage(const ProgrammingRecord& r) {
    return StringsFit(RecordTexts(r), SelectedKind(state().Kinds));
}

std::string BuildEepromImage(const ProgrammingRecord& r) {
    auto& s = state();
    const KindLayout& layout = LayoutOf(SelectedKind(s.Kinds));
    PackConfigFlags(r);
    PackChipFlags(r);
    auto& image = s.EepromImage;
    image.fill(0);
    image[0] = s.ChipFlagsWord;
    image[1] = r.VendorId;
    image[2] = r.ProductId;

    uint16_t w3 = 0x0200;
    if (r.IsT2) w3 = 0x0400;
    if (r.IsDual) w3 = 0x0500;
    if (r.IsT4) w3 = 0x0000;
    image[3] = w3;

    const uint16_t power = PowerWord(r);
    image[4] = power;

    if (r.IsDual || r.IsT4 || r.Is5D || r.Is5Q) {
        image[5] = s.ConfigFlagsWord;
    } else if (r.IsT2) {
        image[5] = s.ConfigFlagsWord & 0x1F;
    }

    uint16_t w6 = power;
    if (r.IsT2 || r.IsDual) w6 = r.UsbVersion;
    if (r.IsT4) w6 = 0;
    if (r.Is5D || r.Is5Q) w6 = r.IoPinDrive;
    image[6] = w6;

    if (layout.kind == ChipKind::T4) {
        image[10] = static_cast<uint16_t>(((r.C3Signal & 0x0F) << 12) | ((r.C2Signal & 0x0F) << 8) |
                                          ((r.C1Signal & 0x0F) << 4) | (r.C0Signal & 0x0F));
        image[11] = r.C4Signal & 0x0F;
    }

    int start = layout.string_start;
    start = PutDescriptor(image, start, RecordText(r.Manufacturer), 7);
    start = PutDescriptor(image, start, RecordText(r.Description), 8);
    std::string serial = RecordText(r.SerialNumber);
    if (serial.empty()) serial = MakeTimeSerial(RecordText(r.SerialPrefix));
    const int serial_header = start / 2;
    PutDescriptor(image, start, serial, 9);
    if (!r.PlugAndPlay) Put(image, serial_header + static_cast<int>(serial.size()) + 2, 0x0001);

    if (layout.type_word == 0) {
        StoreChecksum64();
    } else if (s.EepromSizeText == kEeprom93C46) {
        image[layout.type_word] = 0x0046;
        StoreChecksum64();
    } else {
        MoveStringsHigh();
        image[layout.type_word] = s.EepromSizeText == kEeprom93C56 ? 0x0056 : 0x0066;
        StoreChecksum128();
    }
    return serial;
}

}  // namespace pelmo
