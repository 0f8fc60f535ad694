// Bus events as the decoding stages hand them on: one code per shown event text.
// Codes 0..255 stand for the one-character text of that character: a hexadecimal digit
// "0".."9", "A".."F", or a character that decoding left as it came (a stray character in
// place of an acknowledge bit). The codes above stand for the marker and acknowledge texts.
// Keeping events as codes rather than texts keeps the per-character path free of strings.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::monitor {

using Event = uint16_t;

inline constexpr Event kStartEvent = 256;    // "[S]"
inline constexpr Event kRestartEvent = 257;  // "[s]"
inline constexpr Event kStopEvent = 258;     // "[P]"
inline constexpr Event kAckEvent = 259;      // "[A]"
inline constexpr Event kNackEvent = 260;     // "[N]"
// Not an event: the character only added a bit to an unfinished nibble (`HideSymbol`).
inline constexpr Event kNoEvent = 0xFFFF;

inline constexpr std::array<std::string_view, 5> kMarkerTexts{"[S]", "[s]", "[P]", "[A]", "[N]"};

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// The event of a nibble value 0..15.
constexpr Event hex_digit_event(int nibble) {
    return static_cast<Event>(static_cast<unsigned char>(kHexDigits[nibble]));
}

// Appends the text an event shows.
inline void append_event(std::string& out, Event e) {
    if (e < 256) {
        out.push_back(static_cast<char>(e));
    } else {
        out.append(kMarkerTexts[e - 256]);
    }
}

// The value of a one-digit event text: "0".."9" and upper-case "A".."F"; anything else 0.
constexpr int digit_value(Event e) {
    if (e >= '0' && e <= '9') return e - '0';
    if (e >= 'A' && e <= 'F') return e - 'A' + 10;
    return 0;
}

constexpr bool is_hex_digit_event(Event e) {
    return (e >= '0' && e <= '9') || (e >= 'A' && e <= 'F');
}

}  // namespace velmora::monitor
