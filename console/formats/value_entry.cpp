#include "formats/value_entry.h"

#include <cmath>

namespace velmora::formats {
namespace {

constexpr int32_t kWordMax = 65535;

ValueEntryOutcome failure(EncodeStatus status) {
    ValueEntryOutcome out;
    if (status == EncodeStatus::Overflow) out.message = std::string(kOverflowMessage);
    out.write_bytes = true;
    out.bytes = {"00", "00"};
    return out;
}

ValueEntryOutcome bytes_of(uint16_t word) {
    ValueEntryOutcome out;
    out.write_bytes = true;
    out.bytes = Word_To_RW_Bytes(16, word);
    return out;
}

// A rounded word value into the data bytes. Above 65535 the bit rule would send an
// unrelated word (bit 15 plus the value modulo 32768) to the device, so it is refused as
// an overflow; negative values keep the rule's 0000.
ValueEntryOutcome word_value(std::optional<int32_t> w) {
    if (!w || *w > kWordMax) return failure(EncodeStatus::Overflow);
    return bytes_of(static_cast<uint16_t>(bits_by_weight(16, *w)));
}

ValueEntryOutcome pmbus_value(const ValueEntry& entry, const NumberFormat& number_format) {
    if (entry.format == kExpManual) {
        auto x = round_to_int16(leading_number(entry.xtext));
        if (!x) return failure(EncodeStatus::Overflow);
        auto v = whole_number(entry.value, number_format);
        if (!v) return failure(EncodeStatus::NotANumber);
        return word_value(round_to_int32(*v / std::ldexp(1.0, *x)));
    }
    if (entry.format == kExp5bMan11b) {
        auto v = whole_number(entry.value, number_format);
        if (!v) return failure(EncodeStatus::NotANumber);
        EncodedWord enc = encode_exp5b_man11b(*v);
        if (enc.status != EncodeStatus::Ok) return failure(enc.status);
        return bytes_of(enc.word);
    }
    return {};
}

}  // namespace

ValueEntryOutcome value_entry_outcome(BusMode mode, const ValueEntry& entry,
                                      const NumberFormat& number_format) {
    if (entry.protocol != "Write Word" && entry.protocol != "Ext Write Word") return {};
    ValueEntry e = entry;
    bool emptied = e.value.empty();
    if (emptied) e.value = "0";
    ValueEntryOutcome out;
    switch (mode) {
        case BusMode::PMBus:
            out = pmbus_value(e, number_format);
            break;
        case BusMode::SBS:
            // Only the charging voltage and current take a plain integer word.
            if (e.command == "15" || e.command == "14")
                out = word_value(round_to_int32(leading_number(e.value)));
            break;
        case BusMode::I2C:
            break;
    }
    out.value_to_zero = emptied;
    return out;
}

FormatChoice translation_mode_choice(std::string_view item, bool command_panel) {
    if (item == kExpManual) return {ExponentBox::Show, false};
    if (item == kExpAuto && command_panel) return {ExponentBox::Keep, true};
    return {ExponentBox::Hide, false};
}

std::optional<std::string> xtext_repair(std::string_view text) {
    double x = leading_number(text);
    if (x > 15 || x < -15) return std::string(kXtextStart);
    return std::nullopt;
}

}  // namespace velmora::formats
