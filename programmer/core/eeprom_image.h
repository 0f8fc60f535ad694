// EEPROM image of the bridge chips: the layout per chip kind, the checksum, the clock
// serial and the builder that turns ProgramData into EepromImage. No device access here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "programmer_state.h"
#include "ui/services.h"

namespace pelmo {

enum class ChipKind { FirstGen, T2, Dual, T4, HsDual, HsQuad };

// The kind the flags select; should several be set, the first of dual, fourth
// generation, high-speed dual, high-speed quad, second generation wins.
ChipKind SelectedKind(const KindFlags& kinds);

// Byte where the string descriptors start for a kind.
int StringStartByte(ChipKind kind);
// Whether the image of a kind carries an EEPROM type word (and so grows to 128 words on
// a larger part); the other kinds always make a 64-word image.
bool HasTypeWord(ChipKind kind);

// Word 4: (MaxPower / 2) << 8 | 0x80 | self powered 0x40 | remote wake-up 0x20.
uint16_t PowerWord(const ProgrammingRecord& r);

// Rotate-xor checksum seeded 0xAAAA over words 0 .. words-2.
uint16_t ImageChecksum(const EepromWords& image, int words);
void StoreChecksum64();
void StoreChecksum128();
bool VerifyChecksum64();
bool VerifyChecksum128();

// Copies words 11..63 of EepromImage to 75..127, then clears 11..63.
void MoveStringsHigh();

// Six base-36 digits ("0"-"9", "A"-"Z"), most significant first.
inline constexpr int kClockSerialDigits = 6;
std::string ToBase36(uint32_t value);
// Date and time packed into 31 bits: year, month, day, hour, minute, second.
uint32_t PackUtcTime(const platform::ui::UtcTime& t);
// The prefix followed by the packed current UTC time in base 36.
std::string MakeTimeSerial(std::string_view prefix);

void PackChipFlags(const ProgrammingRecord& r);
void PackConfigFlags(const ProgrammingRecord& r);

// Points the record's four strings at the four buffers.
void PointAtBuffers(ProgrammingRecord& r);
// Zero record, zero buffers, strings pointed at the buffers.
void ClearProgramData();

// The text a record's string points at ("" for none).
std::string RecordText(const StringBuffer* text);

// The texts of the three string descriptors as a record holds them; an empty fixed
// serial means a clock serial made from the prefix.
struct DescriptorTexts {
    std::string manufacturer;
    std::string description;
    std::string prefix;
    std::string fixed_serial;
};
DescriptorTexts RecordTexts(const ProgrammingRecord& r);
// The characters the three descriptors take: a clock serial is the prefix and six.
size_t DescriptorCharacters(const DescriptorTexts& t);
// The most characters a kind's descriptors may take together, so that they and the Plug
// and Play word end in front of the checksum word: 48 for the first two generations,
// fewer for the kinds whose strings start later.
int StringLimit(ChipKind kind);
// The one test of whether the strings fit a kind's image: Program, Save, Open and the
// string fields all ask it.
bool StringsFit(const DescriptorTexts& t, ChipKind kind);
// The same for a record and the selected kind.
bool StringsFitImage(const ProgrammingRecord& r);

// Builds EepromImage from the record; returns the serial text it used.
std::string BuildEepromImage(const ProgrammingRecord& r);

}  // namespace pelmo
