#include "jpeg_logo.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace pelmo {
namespace {

std::vector<uint8_t> Logo() {
    std::ifstream in(PELMO_LOGO, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(JpegLogo, DecodesTheLogo) {
    const auto bytes = Logo();
    ASSERT_FALSE(bytes.empty());
    const auto image = DecodeJpeg(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 250);
    EXPECT_EQ(image->height, 97);
    EXPECT_EQ(image->rgb.size(), 250u * 97u * 3u);
}

TEST(JpegLogo, DamagedDataGivesNoPicture) {
    auto bytes = Logo();
    EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size() / 2));  // cut short
    EXPECT_FALSE(DecodeJpeg(bytes.data(), 2));
    EXPECT_FALSE(DecodeJpeg(nullptr, 0));
    const std::vector<uint8_t> junk(300, 0x5A);
    EXPECT_FALSE(DecodeJpeg(junk.data(), junk.size()));
}

TEST(JpegLogo, APictureTooLargeIsRefused) {
    auto bytes = Logo();
    // The frame header (FFC0): length, precision, height, width.
    for (size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = bytes[i + 6] = bytes[i + 7] = bytes[i + 8] = 0xFF;
            break;
        }
    }
    EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size()));
}

}  // namespace
}  // namespace pelmo
