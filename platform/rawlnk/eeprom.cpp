#include "eeprom.h"

#include <algorithm>

#include "kinds.h"

namespace rawlnk {
namespace {

constexpr uint16_t kStringDescriptor = 0x0300;
constexpr uint16_t kPowerWord = 0x2D80;  // 90 mA, bus powered
constexpr uint16_t kUsbVersion = 0x0200;
constexpr uint16_t kSerNumEnable = 0x0008;
constexpr uint16_t kGen4UpperType = 0x0601;

// Image length and pointer mask: images with strings in the upper half set bit 7 of the
// byte offset, which a 64-word image ignores.
struct Layout {
    int words;
    int pointer_mask;
};

std::optional<Layout> layout_of(const KindInfo& kind, const std::vector<uint16_t>& w) {
    if (kind.type_word < 0) return Layout{64, 0x7F};
    switch (ee_word(w, static_cast<uint32_t>(kind.type_word)) & 0xFF) {
        case 0x46:
            return Layout{64, 0x7F};
        case 0x56:
        case 0x66:
            return Layout{128, 0xFF};
        default:
            return std::nullopt;
    }
}

std::optional<std::string> read_string(const std::vector<uint16_t>& w, uint16_t pointer, int mask) {
    const int length = pointer >> 8;
    const uint32_t header = static_cast<uint32_t>((pointer & mask) >> 1);
    if (length < 2 || length % 2 != 0) return std::nullopt;
    if (ee_word(w, header) != (kStringDescriptor | length)) return std::nullopt;
    std::string text;
    for (int i = 1; i < length / 2 && text.size() < 63; ++i) {
        const char c = static_cast<char>(ee_word(w, (header + i) & 0xFF) & 0xFF);
        if (c == '\0') break;
        text.push_back(c);
    }
    return text;
}

// Puts a string descriptor at byte `start`; returns the pointer word, or 0 when it does not
// fit in front of word `limit`.
uint16_t put_string(std::vector<uint16_t>& img, int start, const std::string& text, int limit) {
    const int n = static_cast<int>(text.size());
    const int header = start / 2;
    if (header + n >= limit) return 0;
    img[static_cast<size_t>(header)] = static_cast<uint16_t>(kStringDescriptor | (2 * n + 2));
    for (int i = 0; i < n; ++i)
        img[static_cast<size_t>(header + 1 + i)] =
            static_cast<uint8_t>(text[static_cast<size_t>(i)]);
    return static_cast<uint16_t>(((2 * n + 2) << 8) | (start | 0x80));
}

}  // namespace

uint16_t image_checksum(const std::vector<uint16_t>& words, int count) {
    uint16_t c = 0xAAAA;
    for (int i = 0; i < count - 1; ++i) {
        c ^= ee_word(words, static_cast<uint32_t>(i));
        c = static_cast<uint16_t>((c << 1) | (c >> 15));
    }
    return c;
}

void erase_image(uint8_t kind, std::vector<uint16_t>& words) {
    const size_t end =
        kind == kKindGen4 ? std::min<size_t>(words.size(), kGen4UserWords) : words.size();
    std::fill(words.begin(), words.begin() + static_cast<long>(end), kBlankWord);
}

std::optional<ChipIdentity> read_identity(uint8_t kind_code, const std::vector<uint16_t>& w) {
    const KindInfo* kind = find_kind(kind_code);
    if (!kind || w.size() < 64 || w[0] == kBlankWord) return std::nullopt;
    const auto layout = layout_of(*kind, w);
    if (!layout) return std::nullopt;
    const uint32_t last = static_cast<uint32_t>(layout->words - 1);
    if (image_checksum(w, layout->words) != ee_word(w, last)) return std::nullopt;
    const auto description = read_string(w, w[8], layout->pointer_mask);
    if (!description) return std::nullopt;
    ChipIdentity id;
    id.description = *description;
    id.serial = read_string(w, w[9], layout->pointer_mask).value_or("");
    id.vid = w[1];
    id.pid = w[2];
    return id;
}

std::vector<uint16_t> build_image(uint8_t kind_code, int size, uint16_t vid, uint16_t pid,
                                  const std::string& manufacturer, const std::string& description,
                                  const std::string& serial) {
    const KindInfo* kind = find_kind(kind_code);
    if (!kind || size < 64) return {};
    std::vector<uint16_t> img(128, 0);
    img[1] = vid;
    img[2] = pid;
    img[3] = kind->word3;
    img[4] = kPowerWord;
    img[5] = kind_code == 1 ? 0 : kSerNumEnable;
    img[6] = kind_code == 1 ? kPowerWord : (kind_code == 0 || kind_code == 4) ? kUsbVersion : 0;
    int start = kind->string_start;
    int p = 0;
    for (const std::string* text : {&manufacturer, &description, &serial}) {
        const uint16_t pointer = put_string(img, start, *text, 63);
        if (pointer == 0) return {};
        img[static_cast<size_t>(7 + p++)] = pointer;
        start += 2 * static_cast<int>(text->size()) + 2;
    }
    int image_words = 64;
    if (kind->type_word >= 0) {
        if (size == 64) {
            img[static_cast<size_t>(kind->type_word)] = 0x0046;
        } else {
            std::copy(img.begin() + 11, img.begin() + 64, img.begin() + 75);
            std::fill(img.begin() + 11, img.begin() + 64, 0);
            img[static_cast<size_t>(kind->type_word)] = size == 128 ? 0x0056 : 0x0066;
            image_words = 128;
        }
    }
    img.resize(static_cast<size_t>(image_words));
    img[static_cast<size_t>(image_words - 1)] = image_checksum(img, image_words);
    img.resize(static_cast<size_t>(size), kBlankWord);
    return img;
}

void put_gen4_upper_type(std::vector<uint16_t>& words, bool fifo_model) {
    if (words.size() < 67) return;
    words[64] = kGen4UpperType;
    words[65] = static_cast<uint16_t>(~kGen4UpperType);
    words[66] = fifo_model ? 1 : 0;
}

}  // namespace rawlnk
