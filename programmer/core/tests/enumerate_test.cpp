#include "enumerate.h"

#include <gtest/gtest.h>

#include <functional>

#include "device_operations.h"
#include "rawlink_unit.h"
#include "sim_world.h"

namespace pelmo {
namespace {

using testing::Chip;
using testing::SimChip;
using testing::SimWorldTest;

TEST(ChannelEndings, LastCharacterAfterABlank) {
    EXPECT_TRUE(EndsWithChannelB("Tessel-3D B"));
    EXPECT_TRUE(EndsWithChannelB("B"));
    EXPECT_FALSE(EndsWithChannelB("Tessel-3D A"));
    EXPECT_FALSE(EndsWithChannelB("Tessel-3DB"));
    EXPECT_FALSE(EndsWithChannelB("Tessel-5Q C"));
    EXPECT_FALSE(EndsWithChannelB(""));
    for (const char* d : {"X B", "X C", "X D", "D"}) EXPECT_TRUE(EndsWithLaterChannel(d)) << d;
    for (const char* d : {"X A", "X E", "XD", ""}) EXPECT_FALSE(EndsWithLaterChannel(d)) << d;
    // only the first 64 characters count
    EXPECT_TRUE(EndsWithChannelB(std::string(62, 'x') + " B"));
    EXPECT_FALSE(EndsWithChannelB(std::string(63, 'x') + " B"));
}

class UpperType : public SimWorldTest {
  protected:
    bool Test(const std::string& more, bool fifo, bool ignore) {
        Load({Chip("gen4", "blank", more)});
        state().DeviceIndex = 0;
        EXPECT_EQ(OpenDevice(), 0);
        const bool pass = UpperTypeTest(fifo, ignore);
        CloseDevice();
        return pass;
    }
};

TEST_F(UpperType, ModelBitMustMatchUnlessIgnored) {
    EXPECT_TRUE(Test("model uart", false, false));
    EXPECT_FALSE(Test("model uart", true, false));
    EXPECT_TRUE(Test("model uart", true, true));
    EXPECT_TRUE(Test("model fifo", true, false));
    EXPECT_FALSE(Test("model fifo", false, false));
    // word 66 blank counts as the UART model
    EXPECT_TRUE(Test("words 66: FFFF", false, false));
    // a broken complement fails even when the model is ignored
    EXPECT_FALSE(Test("words 64: 1234 1234", false, true));
}

// Devices of the worlds below, in order:
//   dual:   0 gen2 programmed, 1-2 dual blank (A, B), 3-4 dual programmed (A, B)
//   hs:     0 gen2 programmed, 1-2 hs-dual blank, 3-4 hs-dual programmed, 5-8 hs-quad blank
//   t4:     0 gen2 programmed, 1 gen4 blank, 2 gen4 programmed, 3 gen4 FIFO model blank,
//           4 gen4 blank with a broken upper type
//   single: 0 gen1 blank, 1 gen2 programmed, 2-3 dual blank, 4 gen2 blank
const std::vector<SimChip> kDualWorld = {Chip("gen2", "programmed"), Chip("dual"),
                                         Chip("dual", "programmed")};
const std::vector<SimChip> kHsWorld = {Chip("gen2", "programmed"), Chip("hs-dual"),
                                       Chip("hs-dual", "programmed"), Chip("hs-quad")};
const std::vector<SimChip> kT4World = {
    Chip("gen2", "programmed"), Chip("gen4"), Chip("gen4", "programmed"),
    Chip("gen4", "blank", "model fifo"), Chip("gen4", "blank", "words 64: 1234 1234")};
const std::vector<SimChip> kSingleWorld = {Chip("gen1"), Chip("gen2", "programmed"), Chip("dual"),
                                           Chip()};

struct RuleCase {
    const char* name;
    const std::vector<SimChip>* world;
    KindFlags selected;
    int32_t (*find)();
    bool only_blank;
    std::vector<int32_t> targets;
    int32_t blank;
    int32_t programmed;
};

constexpr KindFlags kDual{.KindDual = true};
constexpr KindFlags k5D{.Kind5D = true};
constexpr KindFlags k5Q{.Kind5Q = true};
constexpr KindFlags kT4{.KindT4 = true};
constexpr KindFlags kT4Fifo{.KindT4 = true, .KindT4Fifo = true};
constexpr KindFlags kFirst{};
constexpr KindFlags kT2{.KindT2 = true};

const RuleCase kRuleCases[] = {
    {"dual erase", &kDualWorld, kDual, FindEraseTargets, false, {1, 3}, 1, 1},
    {"dual program", &kDualWorld, kDual, FindProgramTargets, false, {1, 3}, 1, 1},
    {"dual read", &kDualWorld, kDual, FindReadTargets, false, {0, 1, 3}, 1, 2},
    {"dual erase blank", &kDualWorld, kDual, FindEraseTargets, true, {1}, 1, 2},
    {"dual program blank", &kDualWorld, kDual, FindProgramTargets, true, {1}, 1, 1},
    {"dual read blank", &kDualWorld, kDual, FindReadTargets, true, {1}, 1, 2},
    {"5D erase", &kHsWorld, k5D, FindEraseTargets, false, {1, 3}, 1, 1},
    {"5D program", &kHsWorld, k5D, FindProgramTargets, false, {1, 3}, 1, 1},
    {"5D read", &kHsWorld, k5D, FindReadTargets, false, {0, 1, 3, 5}, 2, 2},
    {"5D erase blank", &kHsWorld, k5D, FindEraseTargets, true, {1, 5}, 2, 2},
    {"5D program blank", &kHsWorld, k5D, FindProgramTargets, true, {1}, 1, 1},
    {"5D read blank", &kHsWorld, k5D, FindReadTargets, true, {1, 5}, 2, 2},
    {"5Q erase", &kHsWorld, k5Q, FindEraseTargets, false, {5}, 1, 0},
    {"5Q program", &kHsWorld, k5Q, FindProgramTargets, false, {5}, 1, 0},
    {"5Q read", &kHsWorld, k5Q, FindReadTargets, false, {0, 1, 3, 5}, 2, 2},
    {"5Q erase blank", &kHsWorld, k5Q, FindEraseTargets, true, {1, 5}, 2, 2},
    {"5Q program blank", &kHsWorld, k5Q, FindProgramTargets, true, {5}, 1, 0},
    {"5Q read blank", &kHsWorld, k5Q, FindReadTargets, true, {1, 5}, 2, 2},
    {"T4 erase", &kT4World, kT4, FindEraseTargets, false, {1, 2}, 1, 1},
    {"T4 program", &kT4World, kT4, FindProgramTargets, false, {1, 2}, 1, 1},
    {"T4 FIFO program", &kT4World, kT4Fifo, FindProgramTargets, false, {3}, 1, 0},
    {"T4 read", &kT4World, kT4, FindReadTargets, false, {0, 1, 2, 3, 4}, 3, 2},
    {"T4 erase blank", &kT4World, kT4, FindEraseTargets, true, {1, 3, 4}, 3, 2},
    {"T4 program blank", &kT4World, kT4, FindProgramTargets, true, {}, 0, 0},
    {"T4 read blank", &kT4World, kT4, FindReadTargets, true, {1, 3, 4}, 3, 2},
    {"first erase", &kSingleWorld, kFirst, FindEraseTargets, false, {0, 1, 2, 3, 4}, 4, 1},
    {"first program", &kSingleWorld, kFirst, FindProgramTargets, false, {0, 1, 4}, 2, 1},
    {"second program", &kSingleWorld, kT2, FindProgramTargets, false, {0, 1, 4}, 2, 1},
    {"first read", &kSingleWorld, kFirst, FindReadTargets, false, {0, 1, 2, 3, 4}, 4, 1},
    {"first erase blank", &kSingleWorld, kFirst, FindEraseTargets, true, {0, 2, 3, 4}, 4, 1},
    {"first program blank", &kSingleWorld, kFirst, FindProgramTargets, true, {0, 4}, 2, 0},
    {"first read blank", &kSingleWorld, kFirst, FindReadTargets, true, {0, 2, 3, 4}, 4, 1},
};

class EnumerationRules : public SimWorldTest {};

TEST_F(EnumerationRules, EachKindPurposeAndOnlyBlank) {
    for (const auto& c : kRuleCases) {
        SCOPED_TRACE(c.name);
        Load(*c.world);
        auto& s = state();
        s.Kinds = c.selected;
        s.OnlyBlank = c.only_blank;
        const int32_t n = c.find();
        EXPECT_EQ(n, static_cast<int32_t>(c.targets.size()));
        EXPECT_EQ(std::vector<int32_t>(s.TargetList.begin(), s.TargetList.begin() + n), c.targets);
        EXPECT_EQ(s.BlankCount, c.blank);
        EXPECT_EQ(s.ProgrammedCount, c.programmed);
        EXPECT_FALSE(s.DeviceOpen);
        for (int i = 0; i < 12; ++i) EXPECT_FALSE(RLSIM_IsOpen(i));
        EXPECT_TRUE(Dialogs().empty());
    }
}

TEST_F(EnumerationRules, IgnoringTheUpperTypeTakesEitherModel) {
    Load(kT4World);
    state().Kinds = kT4;
    state().OnlyBlank = false;
    win.ignore_upper = true;
    EXPECT_EQ(FindProgramTargets(), 3);
    EXPECT_EQ(state().TargetList[2], 3);
}

TEST_F(EnumerationRules, EveryEnumerationKeepsTheSelectedKind) {
    Load(kSingleWorld);
    state().Kinds = kFirst;
    state().OnlyBlank = false;
    for (auto find : {FindProgramTargets, FindEraseTargets, FindReadTargets}) {
        find();
        EXPECT_EQ(state().Kinds, kFirst);
    }
}

TEST_F(EnumerationRules, OnlySixteenOfTwentyDevicesAreLookedAt) {
    Load(testing::Chips(20, Chip()));
    state().OnlyBlank = false;
    EXPECT_EQ(FindEraseTargets(), 16);
    EXPECT_EQ(state().OpenedCount, 16);
    EXPECT_EQ(state().TargetList[15], 15);
    EXPECT_EQ(state().TargetList[16], 0);
}

TEST_F(EnumerationRules, DeviceThatWillNotOpenIsSkippedAfterTheDialog) {
    Load(testing::Chips(3, Chip()));
    Fault(1, "open_fail", 1);
    state().OnlyBlank = false;
    EXPECT_EQ(FindReadTargets(), 2);
    EXPECT_EQ(state().TargetList[1], 2);
    EXPECT_EQ(Dialogs(), std::vector<std::string>{"RL_Open - Device Not Opened..."});
}

}  // namespace
}  // namespace pelmo
