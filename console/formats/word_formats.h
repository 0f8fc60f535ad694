// The 16-bit word formats of the value box: bit texts, the word times 2^X, the
// 5-bit-exponent / 11-bit-mantissa format, and the word-to-data-bytes split.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::formats {

// Items of the format list `TranslationMode`; the main panel offers the first three.
inline constexpr std::string_view kSelectFormat = "Select Format";
inline constexpr std::string_view kExp5bMan11b = "Exp5b Man11b";
inline constexpr std::string_view kExpManual = "Exp(2^X) Manual input";
inline constexpr std::string_view kExpAuto = "Exp(2^X) Auto input";
inline constexpr std::array<std::string_view, 4> kFormatItems{kSelectFormat, kExp5bMan11b,
                                                              kExpManual, kExpAuto};
inline constexpr int kMainFormatCount = 3;

// A byte as eight "0"/"1" characters, most significant first.
std::string Byte_To_Bin(uint8_t b);

// W x 2^X, W being the unsigned word of the bit texts (high byte's first).
double Linear16_To_Real(int16_t X, std::string_view high_bits, std::string_view low_bits);

// M x 2^E: bits 15..11 a two's complement exponent, bits 10..0 an unsigned mantissa.
double Linear11_To_Real(std::string_view high_bits, std::string_view low_bits);

// The texts for the data byte boxes, two upper-case hex digits each.
struct RwBytes {
    std::string ls_byte;  // `txt_RW_LSByte`
    std::string ms_byte;  // `txt_RW_MSByte`
    bool operator==(const RwBytes&) const = default;
};

// The bit rule every word write uses: for weights 2^(count-1) down to 1 a bit is set when
// value / weight >= 1, the value going on modulo that weight. So 0..2^count-1 gives its
// plain bits, a negative value gives 0, and a larger one the top bit plus the value
// modulo 2^(count-1). count is held to 0..31.
uint32_t bits_by_weight(int count, int32_t value);

// Bits 0..7 and 8..15 of bits_by_weight(count, value) as data byte texts (callers pass 16).
RwBytes Word_To_RW_Bytes(int16_t count, int32_t value);

enum class EncodeStatus { Ok, NotANumber, Overflow };

struct EncodedWord {
    EncodeStatus status = EncodeStatus::Ok;
    uint16_t word = 0;
    bool operator==(const EncodedWord&) const = default;
};

// "Exp5b Man11b" encoding of v: candidate exponents 15..-15 with 1 < v/2^e < 2048, the
// best by the integer error rule (smaller exponent wins ties, any exact fit is taken),
// then the rounded mantissa. Zero, negative and tiny values give 0x0000.
EncodedWord encode_exp5b_man11b(double v);

// Two upper-case hex digits. The link layer has its own converter; the formats keep
// this copy so that they build and test without it.
std::string two_hex_digits(uint8_t b);

}  // namespace velmora::formats
