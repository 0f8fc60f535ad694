// Hex text of bytes and words, and the stop after an invalid entry.
#include <algorithm>

#include "mod_Miscellaneous_Subroutines.h"
#include "ui/services.h"

namespace velmora {
namespace {

// Value of one digit of either case, or -1.
int digit_either_case(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr char kUpperDigits[] = "0123456789ABCDEF";

int32_t hex4_value(std::string_view d0, std::string_view d1, std::string_view d2,
                   std::string_view d3) {
    return Hex_Digit_Value(d2) * 4096 + Hex_Digit_Value(d3) * 256 + Hex_Digit_Value(d0) * 16 +
           Hex_Digit_Value(d1);
}

}  // namespace

int16_t Hex_To_Byte(std::string_view text) {
    SharedState& s = shared();
    s.HexValid = False;
    if (text.empty() || text.size() > 2) return 0;
    int low = digit_either_case(text.back());
    int high = text.size() == 2 ? digit_either_case(text.front()) : 0;
    if (low < 0 || high < 0) return 0;
    s.HexValid = True;
    return static_cast<int16_t>(high * 16 + low);
}

std::string Byte_To_Hex(uint8_t value) {
    return {kUpperDigits[value >> 4], kUpperDigits[value & 0x0F]};
}

int16_t Hex_Digit_Value(std::string_view digit) {
    // Upper case only: the readers serve texts that Byte_To_Hex wrote.
    if (digit.size() != 1 || (digit.front() >= 'a' && digit.front() <= 'f')) return 0;
    return static_cast<int16_t>(std::max(0, digit_either_case(digit.front())));
}

int16_t Hex4_To_Int(std::string_view d0, std::string_view d1, std::string_view d2,
                    std::string_view d3) {
    int32_t v = hex4_value(d0, d1, d2, d3);
    return static_cast<int16_t>(v >= 0x8000 ? v - 0x10000 : v);
}

int32_t Hex4_To_Word(std::string_view d0, std::string_view d1, std::string_view d2,
                     std::string_view d3) {
    return hex4_value(d0, d1, d2, d3);
}

int16_t Check_Entries() {
    if (shared().HexValid != False) return 0;
    // Stopped before the box opens: while it is open, ticks find the bus held and send
    // nothing, and nothing may look as if it still repeated.
    Stop_Repeat_All();
    platform::ui::show_message(kInvalidEntryMessage);
    return 1;
}

void Stop_Repeat_All() {
    console_controls().stop_repeat_all();
    Clear_Nonstop();
}

void Clear_Nonstop() {
    const int open = open_panel_count();
    for (int n = 1; n <= open; ++n) console_controls().untick_nonstop(n);
}

}  // namespace velmora
