#include "sbs_decoder.h"

#include <charconv>
#include <span>

#include "sbs_tables.h"
#include "transaction.h"

namespace velmora::monitor {
namespace {

using sbs::Command;
using sbs::Placement;
using sbs::Register;
using sbs::Value;

// Positions of the data word: low byte digits, high byte digits.
constexpr int kWriteLow = 8, kWriteHigh = 11;
constexpr int kReadLow = 12, kReadHigh = 15;

const Command* find(std::span<const Command> table, int code) {
    for (const Command& c : table) {
        if (c.code == code) return &c;
    }
    return nullptr;
}

const sbs::FlagTexts& flag_texts(Register r) {
    switch (r) {
        case Register::BatteryMode:
            return sbs::kBatteryModeBits;
        case Register::ChargerStatus:
            return sbs::kChargerStatusBits;
        case Register::BatteryStatus:
            return sbs::kBatteryStatusBits;
        default:
            return sbs::kAlarmWarningBits;
    }
}

// Texts of the set bits: the read registers low byte bit 7..0 then high byte bit 15..8,
// the alarm warning of a write bit 15..4 (its table leaves 3..0 untested).
void append_flags(Register r, int word, std::string& out) {
    const sbs::FlagTexts& texts = flag_texts(r);
    auto add = [&](int bit) {
        if ((word >> bit) & 1) out.append(texts[15 - bit]);
    };
    if (r == Register::AlarmWarning) {
        for (int bit = 15; bit >= 0; --bit) add(bit);
        return;
    }
    for (int bit = 7; bit >= 0; --bit) add(bit);
    for (int bit = 15; bit >= 8; --bit) add(bit);
}

void append_int(std::string& out, int v) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// Kelvin tenths to degrees Celsius with up to 15 significant digits. to_chars ignores the
// C library's locale: the separator is the one the rest of the program shows.
void append_temperature(std::string& out, int raw, std::string_view decimal) {
    char buf[40];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, raw / 10.0 - 273.15, std::chars_format::general, 15);
    const std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
    const size_t point = text.find('.');
    if (point == std::string_view::npos) {
        out.append(text);
        return;
    }
    out.append(text.substr(0, point));
    out.append(decimal);
    out.append(text.substr(point + 1));
}

}  // namespace

void SbsDecoder::decode(const Event* events, int count, std::string_view decimal,
                        std::string& line) {
    Transaction t(events, count);
    const Command* cmd = nullptr;
    const bool word_write = count == 14;
    const int code = count == 14 || count == 18 ? t.byte_at(5) : -1;

    // The device at the address byte of positions pos, pos + 1, when the table names it.
    auto device_at = [&t](int pos, std::span<const sbs::Device> devices) -> const sbs::Device* {
        if (devices.empty() || !t.is(pos, '1')) return nullptr;
        for (const sbs::Device& d : devices) {
            if (t.is(pos + 1, d.digit)) return &d;
        }
        return nullptr;
    };
    auto name_address = [&t](int pos, const sbs::Device& d) {
        t.replace(pos, {});
        t.replace(pos + 1, d.name);
    };

    std::span<const sbs::Device> devices;
    switch (count) {
        case 5:
        case 8:
        case 11:
        case 15:
            devices = sbs::kByteDevices;
            break;
        case 14:
            devices = sbs::kWriteWordDevices;
            break;
        case 18:
            devices = sbs::kReadWordDevices;
            break;
        default:
            break;
    }
    if (const sbs::Device* d = device_at(2, devices)) {
        name_address(2, *d);
        if (code >= 0) {
            cmd = find(d->commands, code);
            if (cmd == nullptr) cmd = find(d->more_commands, code);
        }
    }
    // The read address is named whatever the first address was.
    if (count == 18) {
        if (const sbs::Device* d = device_at(9, sbs::kReadAddresses)) name_address(9, *d);
    }

    if (cmd != nullptr) {
        t.replace(5, {});
        t.replace(6, cmd->name);
        const int lo = word_write ? kWriteLow : kReadLow;
        const int hi = word_write ? kWriteHigh : kReadHigh;
        value_.clear();
        switch (cmd->value) {
            case Value::Unsigned:
                append_int(value_, t.word(lo, hi));
                break;
            case Value::Signed:
                append_int(value_, t.signed_word(lo, hi));
                break;
            case Value::Temperature:
                append_temperature(value_, t.word(lo, hi), decimal);
                break;
            case Value::Flags:
                append_flags(cmd->flags, t.word(lo, hi), value_);
                break;
            case Value::Digits:
                break;
        }
        // Placement: lo = first data digit, lo + 2 = the low byte's acknowledge.
        switch (cmd->placement) {
            case Placement::W1:
            case Placement::R1:
                t.replace(lo, {});
                t.replace(lo + 1, "[");
                t.replace(lo + 2, {});
                t.replace(hi, value_);
                t.replace(hi + 1, cmd->closing);
                break;
            case Placement::W2:  // the low byte's acknowledge stays, inside the brackets
                t.replace(lo, {});
                t.replace(lo + 1, "[");
                t.replace(hi, value_);
                t.replace(hi + 1, cmd->closing);
                break;
            case Placement::W3:
            case Placement::R2:
                t.replace(lo, {});
                t.replace(lo + 1, "[");
                t.replace(lo + 2, {});
                t.replace(hi, value_);
                t.replace(hi + 1, "]");
                break;
            case Placement::R3:  // no brackets; the low byte's acknowledge stays
                t.replace(lo, {});
                t.replace(lo + 1, {});
                t.replace(hi, value_);
                t.replace(hi + 1, {});
                break;
            case Placement::None:
                break;
        }
    }
    t.append_to(line);
}

}  // namespace velmora::monitor
