#include "pmbus_decoder.h"

#include <span>

#include "pmbus_tables.h"
#include "transaction.h"

namespace velmora::monitor {
namespace {

using pmbus::Named;

// One name per code for each shape, built at compile time.
using NameIndex = std::array<std::string_view, 256>;

constexpr NameIndex all_names() {
    NameIndex idx{};
    for (const Named& n : pmbus::kCommandNames) idx[n.code] = n.name;
    return idx;
}

constexpr NameIndex names_of(std::span<const uint8_t> codes, std::span<const uint8_t> more = {},
                             std::span<const Named> own = {}) {
    const NameIndex all = all_names();
    NameIndex idx{};
    for (uint8_t c : codes) idx[c] = all[c];
    for (uint8_t c : more) idx[c] = all[c];
    for (const Named& n : own) idx[n.code] = n.name;
    return idx;
}

constexpr bool all_named(std::span<const uint8_t> codes) {
    const NameIndex all = all_names();
    for (uint8_t c : codes) {
        if (all[c].empty()) return false;
    }
    return true;
}
static_assert(all_named(pmbus::kWriteByteCodes) && all_named(pmbus::kWordCodes) &&
              all_named(pmbus::kReadWordOnlyCodes) && all_named(pmbus::kReadByteCodes));

constexpr NameIndex kShape8 = all_names();
constexpr NameIndex kShape11 = names_of(pmbus::kWriteByteCodes);
constexpr NameIndex kShape14 = names_of(pmbus::kWordCodes);
constexpr NameIndex kShape15 = names_of(pmbus::kReadByteCodes, {}, pmbus::kReadByteOwnNames);
constexpr NameIndex kShape18 = names_of(pmbus::kWordCodes, pmbus::kReadWordOnlyCodes);

constexpr int kPageCode = 0x00;
constexpr int kStatusWordCode = 0x79;
constexpr std::array<std::string_view, 8> kPageNames{"[Pg0]", "[Pg1]", "[Pg2]", "[Pg3]",
                                                     "[Pg4]", "[Pg5]", "[Pg6]", "[Pg7]"};

const NameIndex* names_of_shape(int count) {
    switch (count) {
        case 8:
            return &kShape8;
        case 11:
            return &kShape11;
        case 14:
            return &kShape14;
        case 15:
            return &kShape15;
        case 18:
            return &kShape18;
        default:
            return nullptr;
    }
}

const pmbus::StatusBits* status_bits(int code) {
    for (const pmbus::StatusBits& s : pmbus::kStatusByteBits) {
        if (s.code == code) return &s;
    }
    return nullptr;
}

}  // namespace

void PmbusDecoder::decode(const Event* events, int count, std::string& line) {
    Transaction t(events, count);
    const NameIndex* names = names_of_shape(count);
    const int code = names != nullptr ? t.byte_at(5) : -1;
    if (code >= 0 && !(*names)[code].empty()) {
        name_.clear();
        name_.push_back('[');
        name_.append((*names)[code]);
        name_.push_back(']');
        t.replace(5, {});
        t.replace(6, name_);
        bits_.clear();
        if (count == 11 && code == kPageCode) {
            if (t.is(8, '0') && t.at(9) >= '0' && t.at(9) <= '7') {
                t.replace(8, {});
                t.replace(9, kPageNames[t.at(9) - '0']);
            }
        } else if (count == 15) {
            if (const pmbus::StatusBits* s = status_bits(code)) {
                const int byte = t.data_byte(12);
                for (int bit = 7; bit >= 0; --bit) {
                    if ((byte >> bit) & 1) bits_.append(s->bit[7 - bit]);
                }
                bits_.append("]");
                t.replace(12, "[");
                t.replace(13, bits_);
            }
        } else if (count == 18 && code == kStatusWordCode) {
            const int word = t.word(12, 15);
            for (int i = 0; i < 16; ++i) {
                // Shown order: bits 7..0, then 15..8.
                const int bit = i < 8 ? 7 - i : 23 - i;
                if ((word >> bit) & 1) bits_.append(pmbus::kStatusWordBits[i]);
            }
            t.replace(12, {});
            t.replace(13, "[");
            t.replace(14, {});
            t.replace(15, bits_);
            t.replace(16, "]");
        }
    }
    t.append_to(line);
}

}  // namespace velmora::monitor
