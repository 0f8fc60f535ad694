// Parser of EEPROM images over arbitrary input: 128 words, the device type the driver
// answers (or no answer), the fresh flag, the selected kinds and the size text.
// Whatever it reads, it must return 0 or 15, stay inside the image and keep every
// string buffer terminated.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "eeprom_image.h"
#include "eeprom_parse.h"
#include "programmer_state.h"

namespace {

constexpr const char* kSizes[] = {"93C46", "93C56", "93C66", "Unknown", ""};
constexpr size_t kHeader = 6;

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelmo;
    if (size < kHeader) return 0;
    ResetState();
    auto& s = state();
    const uint8_t flags = data[0];
    const bool fresh = flags & 0x01;
    s.Kinds = {.KindT2 = (flags & 0x02) != 0,
               .KindDual = (flags & 0x04) != 0,
               .KindT4 = (flags & 0x08) != 0,
               .Kind5D = (flags & 0x10) != 0,
               .Kind5Q = (flags & 0x20) != 0,
               .KindT4Fifo = (flags & 0x40) != 0};
    s.EepromSizeText = kSizes[data[1] % std::size(kSizes)];
    uint32_t type = 0;
    std::memcpy(&type, data + 2, sizeof type);
    // Small codes most of the time, so that every kind is reached; any value otherwise.
    std::optional<uint32_t> answer;
    if ((flags & 0x80) == 0) answer = type < 0x10000000 ? type % 9 : type;

    const size_t bytes = std::min(size - kHeader, sizeof s.ReadBackImage);
    std::memcpy(s.ReadBackImage.data(), data + kHeader, bytes);

    ClearProgramData();
    for (auto* b : {&s.ManufacturerBuffer, &s.DescriptionBuffer, &s.SerialBuffer}) b->fill('x');
    // A record whose strings point nowhere is decoded without its texts.
    if (data[1] & 0x80) s.ProgramData.Manufacturer = s.ProgramData.SerialNumber = nullptr;
    const int result = ParseImage(s.ProgramData, fresh, [answer] { return answer; });
    Check(result == kParseOk || result == kParseInvalid);
    if (result == kParseOk) {
        const auto& r = s.ProgramData;
        for (const StringBuffer* b : {r.Manufacturer, r.Description, r.SerialNumber}) {
            Check(!b || std::memchr(b->data(), '\0', b->size()) != nullptr);
        }
    }
    return 0;
}
