// JPEG pictures decoded with libjpeg, for the logo of the About box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace pelmo {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // rows top to bottom, three bytes per pixel
};

// A picture larger than this on either side is refused rather than allocated.
inline constexpr int kMaxJpegSide = 4096;

// The decoded picture, or nothing when the data is not a whole, sound JPEG picture: a damaged
// file never aborts the program.
std::optional<RgbImage> DecodeJpeg(const uint8_t* data, size_t size);

}  // namespace pelmo
