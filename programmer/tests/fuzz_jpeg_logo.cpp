// Any bytes as the logo: the decoder gives a picture of the size it reports, or nothing,
// and never ends the program.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "jpeg_logo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto image = pelmo::DecodeJpeg(data, size);
    if (!image) return 0;
    if (image->width <= 0 || image->height <= 0 || image->width > pelmo::kMaxJpegSide ||
        image->height > pelmo::kMaxJpegSide ||
        image->rgb.size() != static_cast<size_t>(image->width) * image->height * 3) {
        std::abort();
    }
    return 0;
}
