// A finished transaction as the traffic decoders see it: Events(1)..Events(EventCount), and
// the texts that replace some of them on the line. Decoders never change the events
// themselves: they name replacements, and append_to() writes the line in one pass.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "events.h"

namespace velmora::monitor {

class Transaction {
  public:
    // The longest shape either decoder rewrites has 18 events.
    static constexpr int kMaxRewritten = 18;

    // `events` is indexed from 1, as Events is.
    Transaction(const Event* events, int count) : events_(events), count_(count) {}

    int count() const { return count_; }
    Event at(int pos) const { return events_[pos]; }
    bool is(int pos, char c) const { return events_[pos] == static_cast<unsigned char>(c); }

    // The byte of the two digit events at pos and pos + 1 (high first), or -1 when either
    // is not an upper-case hexadecimal digit: names are found by exact digit texts.
    int byte_at(int pos) const {
        const Event hi = events_[pos], lo = events_[pos + 1];
        if (!is_hex_digit_event(hi) || !is_hex_digit_event(lo)) return -1;
        return digit_value(hi) * 16 + digit_value(lo);
    }

    // The byte of the two data digits at pos (high) and pos + 1; a digit that is no digit
    // counts 0.
    int data_byte(int pos) const {
        return digit_value(events_[pos]) * 16 + digit_value(events_[pos + 1]);
    }

    // The 16-bit word of the data digits, low byte's pair first at lo and lo + 1, high
    // byte's pair at hi and hi + 1; a digit that is no digit counts 0. The word readers
    // of the link layer work on texts; these work on event codes.
    int word(int lo, int hi) const { return data_byte(hi) * 256 + data_byte(lo); }
    // The same word in two's complement, -32768..32767.
    int signed_word(int lo, int hi) const {
        const int w = word(lo, hi);
        return w >= 0x8000 ? w - 0x10000 : w;
    }

    void replace(int pos, std::string_view text) {
        texts_[pos] = text;
        replaced_[pos] = true;
    }

    void append_to(std::string& line) const {
        for (int i = 1; i <= count_; ++i) {
            if (i <= kMaxRewritten && replaced_[i]) {
                line.append(texts_[i]);
            } else {
                append_event(line, events_[i]);
            }
        }
    }

  private:
    const Event* events_;
    int count_;
    std::array<std::string_view, kMaxRewritten + 1> texts_{};
    std::array<bool, kMaxRewritten + 1> replaced_{};
};

}  // namespace velmora::monitor
