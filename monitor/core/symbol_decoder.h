// Stage 1 of the monitor: event characters -> events.
// Input: the board's characters one at a time: 'S' start, 'R' repeated start, 'P' stop,
// '0'/'1' bits ('@' is a 1 bit), eight bits a byte most significant first, then its
// acknowledge bit. Any other character counts as a bit of its digit value (0 for a
// non-digit). Output: per character one event (events.h) or kNoEvent while a nibble is
// still unfinished. `Decode_Symbol` is inline: it runs once per captured character.
#pragma once

#include <cstdint>

#include "events.h"

namespace velmora::monitor {

// Bit-assembly state. It lives as long as the window: Start and Stop do not reset it, so a
// byte cut off by Stop is completed by the next capture unless a marker comes first.
struct BitState {
    bool AckPending = false;
    int16_t BitsLeft = 8;
    int16_t HighNibble = 0;
    int16_t LowNibble = 0;
};

inline Event Decode_Symbol(BitState& st, unsigned char c) {
    if (c == '@') c = '1';
    if (st.AckPending) {
        st.AckPending = false;
        if (c == '0') return kAckEvent;
        if (c == '1') return kNackEvent;
        // Anything else in place of the acknowledge stays as it came; a marker still acts.
    } else if (c != 'S' && c != 'R' && c != 'P') {
        const int v = (c >= '0' && c <= '9') ? c - '0' : 0;
        --st.BitsLeft;
        if (st.BitsLeft >= 4) {  // Add_High_Bit
            st.HighNibble = static_cast<int16_t>(st.HighNibble + (v << (st.BitsLeft - 4)));
            if (st.BitsLeft != 4) return kNoEvent;
            // Digits other than 0 and 1 can push a nibble past 15: the character then shows.
            return st.HighNibble <= 15 ? hex_digit_event(st.HighNibble) : Event{c};
        }
        st.LowNibble = static_cast<int16_t>(st.LowNibble + (v << st.BitsLeft));  // Add_Low_Bit
        if (st.BitsLeft != 0) return kNoEvent;
        const Event e = st.LowNibble <= 15 ? hex_digit_event(st.LowNibble) : Event{c};
        st.AckPending = true;
        st.BitsLeft = 8;
        st.HighNibble = 0;
        st.LowNibble = 0;
        return e;
    }
    Event marker;
    switch (c) {
        case 'S':
            marker = kStartEvent;
            break;
        case 'R':
            marker = kRestartEvent;
            break;
        case 'P':
            marker = kStopEvent;
            break;
        default:
            return Event{c};
    }
    st.BitsLeft = 8;
    st.HighNibble = 0;
    st.LowNibble = 0;
    return marker;
}

}  // namespace velmora::monitor
