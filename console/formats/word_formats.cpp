#include "formats/word_formats.h"

#include <cmath>
#include <cstdlib>

#include "formats/number_text.h"

namespace velmora::formats {
namespace {

// Bit k of a bit text is its k-th character from the end; missing characters are 0, so a
// short or long text never reads outside itself.
bool bit_at(std::string_view bits, int k) {
    if (k < 0 || static_cast<size_t>(k) >= bits.size()) return false;
    return bits[bits.size() - 1 - static_cast<size_t>(k)] == '1';
}

uint32_t word_of(std::string_view high_bits, std::string_view low_bits) {
    std::string joined = std::string(high_bits) + std::string(low_bits);
    uint32_t w = 0;
    for (int k = 15; k >= 0; --k) w = (w << 1) | (bit_at(joined, k) ? 1u : 0u);
    return w;
}

constexpr double kErrorScale = 1e6;                           // error rule works in millionths
constexpr double kStartError = (2048.0 - 1.0) * kErrorScale;  // worse than any candidate

}  // namespace

std::string Byte_To_Bin(uint8_t b) {
    std::string out;
    for (int weight = 128; weight >= 1; weight /= 2) {
        if (b >= weight) {
            out += '1';
            b = static_cast<uint8_t>(b - weight);
        } else {
            out += '0';
        }
    }
    return out;
}

double Linear16_To_Real(int16_t X, std::string_view high_bits, std::string_view low_bits) {
    return std::ldexp(static_cast<double>(word_of(high_bits, low_bits)), X);
}

double Linear11_To_Real(std::string_view high_bits, std::string_view low_bits) {
    uint32_t w = word_of(high_bits, low_bits);
    int mantissa = static_cast<int>(w & 0x7FF);
    int exponent = static_cast<int>((w >> 11) & 0xF);
    if (w & 0x8000) exponent -= 16;
    return std::ldexp(static_cast<double>(mantissa), exponent);
}

uint32_t bits_by_weight(int count, int32_t value) {
    if (count < 0) count = 0;
    if (count > 31) count = 31;
    int64_t rest = value;
    uint32_t bits = 0;
    for (int i = count; i >= 1; --i) {
        int64_t weight = int64_t{1} << (i - 1);
        if (rest / weight >= 1) {
            bits |= static_cast<uint32_t>(weight);
            rest %= weight;
        }
    }
    return bits;
}

RwBytes Word_To_RW_Bytes(int16_t count, int32_t value) {
    uint32_t bits = bits_by_weight(count, value);
    return {two_hex_digits(static_cast<uint8_t>(bits & 0xFF)),
            two_hex_digits(static_cast<uint8_t>((bits >> 8) & 0xFF))};
}

EncodedWord encode_exp5b_man11b(double v) {
    std::array<int, 31> candidates{};
    int found = 0;
    for (int e = 15; e >= -15; --e) {
        double scaled = v / std::ldexp(1.0, e);
        if (1 < scaled && scaled < 2048) candidates[static_cast<size_t>(found++)] = e;
    }
    // Without a candidate a large value has no 11-bit mantissa at any exponent; the rule
    // would wrap it into a small unrelated word, so it is reported as an overflow.
    if (found == 0 && v >= std::ldexp(1.0, 26)) return {EncodeStatus::Overflow, 0};

    int best = 0;
    double best_error = kStartError;
    for (int i = found - 1; i >= 0; --i) {
        int e = candidates[static_cast<size_t>(i)];
        auto a = round_to_int32(v * kErrorScale);
        auto p = round_to_int32(std::ldexp(kErrorScale, e));
        if (!a || !p) return {EncodeStatus::Overflow, 0};
        int32_t q = *a / *p;  // p is at least 31 (2^-15 millionths rounded)
        double error = std::fabs(static_cast<double>(q) * *p - v * kErrorScale);
        if (error == 0 || error < best_error) {
            best_error = error;
            best = e;
        }
    }
    auto m = round_to_int32(v / std::ldexp(1.0, best));
    if (!m) return {EncodeStatus::Overflow, 0};
    // A mantissa that rounds up to 2048 would lose its top bit; the next exponent holds it.
    if (found > 0 && *m > 2047) {
        if (best == 15) return {EncodeStatus::Overflow, 0};
        ++best;
        m = round_to_int32(v / std::ldexp(1.0, best));
    }
    uint32_t word = (static_cast<uint32_t>(best & 0x1F) << 11) | bits_by_weight(11, *m);
    return {EncodeStatus::Ok, static_cast<uint16_t>(word)};
}

std::string two_hex_digits(uint8_t b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[b >> 4], kDigits[b & 0xF]};
}

}  // namespace velmora::formats
