#include "text_helpers.h"

#include <algorithm>

namespace pelmo {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

std::string WordToHex(uint16_t value) {
    return ByteToHex(static_cast<uint8_t>(value >> 8)) + ByteToHex(static_cast<uint8_t>(value));
}

std::string ByteToHex(uint8_t value) {
    return {kHexDigits[value >> 4], kHexDigits[value & 0x0F]};
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

int DecDigitValue(char c) {
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

// Wraps at 32 bits like the integer the record fields are filled from.
int32_t HexTextToInt(std::string_view text) {
    uint32_t value = 0;
    for (char c : text) value = value * 16 + static_cast<uint32_t>(HexDigitValue(c));
    return static_cast<int32_t>(value);
}

int32_t DecTextToInt(std::string_view text) {
    uint32_t value = 0;
    for (char c : text) value = value * 10 + static_cast<uint32_t>(DecDigitValue(c));
    return static_cast<int32_t>(value);
}

std::string BufferText(const StringBuffer& buffer) {
    auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return std::string(buffer.begin(), end);
}

void SetBufferText(StringBuffer& buffer, std::string_view text) {
    buffer.fill('\0');
    auto n = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), n, buffer.begin());
}

}  // namespace pelmo
