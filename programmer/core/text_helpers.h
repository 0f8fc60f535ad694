// Text helpers of the programmer: fixed-width hexadecimal, lenient digit readers and the
// 64-byte string buffers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "programmer_state.h"

namespace pelmo {

// Four / two upper-case hexadecimal digits, most significant first.
std::string WordToHex(uint16_t value);
std::string ByteToHex(uint8_t value);
// Value of one digit; any other character gives 0.
int HexDigitValue(char c);
int DecDigitValue(char c);
// value = value * 16 (10) + digit for each character; "" gives 0. Not a number check:
// the window validates before saving.
int32_t HexTextToInt(std::string_view text);
int32_t DecTextToInt(std::string_view text);

// The text of a buffer, up to its terminating zero (or its end).
std::string BufferText(const StringBuffer& buffer);
// Zero-fills the buffer and copies at most 63 characters of `text`, so that it stays
// terminated.
void SetBufferText(StringBuffer& buffer, std::string_view text);

}  // namespace pelmo
