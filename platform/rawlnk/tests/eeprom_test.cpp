// Images a chip takes its identity from: layout of the string descriptors, checksum and
// the size-dependent placement of the multi-channel kinds.
#include "eeprom.h"

#include <gtest/gtest.h>

#include "kinds.h"

namespace rawlnk {
namespace {

TEST(Eeprom, ChecksumOfZerosIs5555) {
    EXPECT_EQ(image_checksum(std::vector<uint16_t>(64, 0), 64), 0x5555);
    EXPECT_EQ(image_checksum(std::vector<uint16_t>(128, 0), 128), 0x5555);
}

TEST(Eeprom, SecondGenerationLayoutMatchesTheProgrammersImage) {
    const auto img = build_image(0, 64, 0x4B1D, 0xE001, "KELD", "USB <-> Serial Cable", "RL0ABCDE");
    ASSERT_EQ(img.size(), 64u);
    EXPECT_EQ(img[10], 0x030A);
    EXPECT_EQ(img[7], 0x0A94);
    EXPECT_EQ(img[15], 0x032A);
    EXPECT_EQ(img[8], 0x2A9E);
    EXPECT_EQ(img[36], 0x0312);
    EXPECT_EQ(img[9], 0x12C8);
    EXPECT_EQ(img[63], image_checksum(img, 64));
}

struct KindSize {
    uint8_t kind;
    int size;
    int last_word;  // where the checksum stands
    int type_word;
    uint16_t type;
};

class IdentityTest : public ::testing::TestWithParam<KindSize> {};

TEST_P(IdentityTest, ProgrammedImageGivesItsStringsBack) {
    const auto& p = GetParam();
    auto img = build_image(p.kind, p.size, 0x4B1D, 0x1234, "KELD", "Bench Cable", "SN42");
    ASSERT_EQ(img.size(), static_cast<size_t>(p.size));
    EXPECT_EQ(img[static_cast<size_t>(p.last_word)], image_checksum(img, p.last_word + 1));
    if (p.type_word >= 0) {
        EXPECT_EQ(img[static_cast<size_t>(p.type_word)], p.type);
    }
    const auto id = read_identity(p.kind, img);
    ASSERT_TRUE(id);
    EXPECT_EQ(id->description, "Bench Cable");
    EXPECT_EQ(id->serial, "SN42");
    EXPECT_EQ(id->pid, 0x1234);
    img[20] ^= 0x0100;  // any changed word breaks the checksum
    EXPECT_FALSE(read_identity(p.kind, img));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, IdentityTest,
    ::testing::Values(KindSize{1, 64, 63, -1, 0}, KindSize{0, 64, 63, -1, 0},
                      KindSize{0, 128, 63, -1, 0}, KindSize{4, 64, 63, 10, 0x46},
                      KindSize{4, 128, 127, 10, 0x56}, KindSize{4, 256, 127, 10, 0x66},
                      KindSize{5, 128, 63, -1, 0}, KindSize{6, 128, 127, 12, 0x56},
                      KindSize{7, 256, 127, 12, 0x66}),
    [](const auto& info) {
        return "Kind" + std::to_string(info.param.kind) + "Words" + std::to_string(info.param.size);
    });

TEST(Eeprom, BlankAndBrokenImagesGiveNoIdentity) {
    EXPECT_FALSE(read_identity(0, std::vector<uint16_t>(64, kBlankWord)));
    EXPECT_FALSE(read_identity(0, {}));
    auto img = build_image(4, 128, 1, 2, "M", "D", "S");
    img[10] = 0x0099;  // unknown EEPROM type
    EXPECT_FALSE(read_identity(4, img));
    img = build_image(0, 64, 1, 2, "M", "D", "S");
    img[8] = 0x0AFF;  // description pointer at a word that holds no descriptor
    img[63] = image_checksum(img, 64);
    EXPECT_FALSE(read_identity(0, img));
}

TEST(Eeprom, EraseKeepsTheFourthGenerationsFactoryWords) {
    std::vector<uint16_t> w(128, 0x1111);
    put_gen4_upper_type(w, true);
    erase_image(kKindGen4, w);
    EXPECT_EQ(w[63], kBlankWord);
    EXPECT_EQ(w[66], 1);
    std::vector<uint16_t> v(128, 0x1111);
    erase_image(4, v);
    EXPECT_EQ(v[127], kBlankWord);
}

TEST(Eeprom, WordAddressWrapsWithThePartSize) {
    std::vector<uint16_t> w(64);
    for (size_t i = 0; i < w.size(); ++i) w[i] = static_cast<uint16_t>(i);
    EXPECT_EQ(ee_word(w, 64), 0);
    EXPECT_EQ(ee_word(w, 192 + 5), 5);
}

}  // namespace
}  // namespace rawlnk
