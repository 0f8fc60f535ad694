#include "device_type_page.h"

#include <gtest/gtest.h>

namespace pelmo {
namespace {

TEST(DeviceTypePage, NoneOffersOnlyTheDeviceTypeAndBlankSwitch) {
    for (int entry : {0, -1, 11}) {
        const PageState p = DeviceTypePage(entry, 0, false);
        EXPECT_TRUE(p.device_type_enabled);
        EXPECT_TRUE(p.only_blank_enabled);
        EXPECT_FALSE(p.vid_pid_type_enabled);
        EXPECT_FALSE(p.vendor_id_enabled);
        EXPECT_FALSE(p.power_enabled);
        EXPECT_FALSE(p.strings_enabled);
        EXPECT_FALSE(p.vendor_id_text);
        EXPECT_EQ(p.kinds, KindFlags{});
        EXPECT_EQ(p.tab, 0);
    }
}

TEST(DeviceTypePage, ClearedPageDisablesEvenTheDeviceType) {
    const PageState p = ClearedPage();
    EXPECT_FALSE(p.device_type_enabled);
    EXPECT_FALSE(p.only_blank_enabled);
    EXPECT_FALSE(p.dual_visible || p.fourth_gen_visible || p.hs_dual_visible || p.hs_quad_visible);
}

struct IdCase {
    int device;
    int vid_pid;
    const char* vendor;   // nullptr: left as it is
    const char* product;  // nullptr: left as it is
    bool vendor_enabled;
    bool product_enabled;
};

class DeviceTypeIds : public ::testing::TestWithParam<IdCase> {};

TEST_P(DeviceTypeIds, DefaultIdsAndLocks) {
    const IdCase c = GetParam();
    const PageState p = DeviceTypePage(c.device, c.vid_pid, false);
    EXPECT_EQ(p.vendor_id_text.has_value(), c.vendor != nullptr);
    if (c.vendor) {
        EXPECT_EQ(*p.vendor_id_text, c.vendor);
    }
    EXPECT_EQ(p.product_id_text.has_value(), c.product != nullptr);
    if (c.product) {
        EXPECT_EQ(*p.product_id_text, c.product);
    }
    EXPECT_EQ(p.vendor_id_enabled, c.vendor_enabled);
    EXPECT_EQ(p.product_id_enabled, c.product_enabled);
    EXPECT_TRUE(p.vid_pid_type_enabled);
}

INSTANTIATE_TEST_SUITE_P(Rows, DeviceTypeIds,
                         ::testing::Values(IdCase{1, 0, "4B1D", "E001", false, false},
                                           IdCase{3, 0, "4B1D", "E001", false, false},
                                           IdCase{5, 0, "4B1D", "E010", false, false},
                                           IdCase{6, 0, "4B1D", "E001", false, false},
                                           IdCase{8, 0, "4B1D", "E010", false, false},
                                           IdCase{9, 0, "4B1D", "E010", false, false},
                                           IdCase{10, 0, "4B1D", "E011", false, false},
                                           IdCase{10, 1, "4B1D", nullptr, false, true},
                                           IdCase{10, 2, nullptr, nullptr, true, true},
                                           IdCase{10, -1, nullptr, nullptr, true, true}));

struct RowCase {
    int device;
    bool plug_and_play;
    bool untick_pnp;
    bool wake_up;
    bool usb_version;
    bool second_gen;
    int tab;
    KindFlags kinds;
};

class DeviceTypeRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(DeviceTypeRows, OptionsAndKinds) {
    const RowCase c = GetParam();
    const PageState p = DeviceTypePage(c.device, 2, false);
    EXPECT_TRUE(p.power_enabled);
    EXPECT_TRUE(p.strings_enabled);
    EXPECT_TRUE(p.fixed_serial_check_enabled);
    EXPECT_EQ(p.plug_and_play_enabled, c.plug_and_play);
    EXPECT_EQ(p.untick_plug_and_play, c.untick_pnp);
    EXPECT_EQ(p.wake_up_enabled, c.wake_up);
    EXPECT_EQ(p.usb_version_enabled, c.usb_version);
    EXPECT_EQ(p.serial_disable_enabled, c.second_gen);
    EXPECT_EQ(p.pull_down_enabled, c.second_gen);
    EXPECT_EQ(p.tab, c.tab);
    EXPECT_EQ(p.kinds, c.kinds);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DeviceTypeRows,
    ::testing::Values(
        RowCase{1, true, false, true, false, false, 0, {}},
        RowCase{2, false, false, false, false, false, 0, {}},
        RowCase{3, true, false, true, true, true, 0, {.KindT2 = true}},
        RowCase{4, false, false, true, true, true, 0, {.KindT2 = true}},
        RowCase{5, false, false, true, true, true, 0, {.KindDual = true}},
        RowCase{6, true, false, true, true, true, 1, {.KindT4 = true}},
        RowCase{7, false, true, true, true, true, 1, {.KindT4 = true, .KindT4Fifo = true}},
        RowCase{8, false, false, true, true, true, 0, {.KindDual = true}},
        RowCase{9, true, true, true, false, true, 2, {.Kind5D = true}},
        RowCase{10, true, true, true, false, true, 3, {.Kind5Q = true}}));

TEST(DeviceTypePage, SerialControlsFollowTheFixedSerialBox) {
    const PageState fixed = DeviceTypePage(3, 0, true);
    EXPECT_TRUE(fixed.fixed_serial_enabled);
    EXPECT_FALSE(fixed.prefix_enabled);
    const PageState clock = DeviceTypePage(3, 0, false);
    EXPECT_FALSE(clock.fixed_serial_enabled);
    EXPECT_TRUE(clock.prefix_enabled);
}

TEST(DeviceTypePage, DualPageShowsCpuFifoOnlyForTheB) {
    EXPECT_TRUE(DeviceTypePage(5, 0, false).dual_visible);
    EXPECT_FALSE(DeviceTypePage(5, 0, false).cpu_fifo_visible);
    EXPECT_TRUE(DeviceTypePage(8, 0, false).cpu_fifo_visible);
}

TEST(DeviceTypePage, FourthGenerationFifoModelLocksItsPage) {
    const PageState uart = DeviceTypePage(kEntryTessel4U, 0, false);
    EXPECT_TRUE(uart.fourth_gen_visible);
    EXPECT_TRUE(uart.invert_visible);
    EXPECT_TRUE(uart.c_pins_enabled);
    EXPECT_EQ(uart.fourth_gen_caption, "Tessel-4U");
    const PageState fifo = DeviceTypePage(kEntryTessel4F, 0, false);
    EXPECT_FALSE(fifo.invert_visible);
    EXPECT_FALSE(fifo.c_pins_enabled);
    EXPECT_EQ(fifo.fourth_gen_caption, "Tessel-4F");
    for (const PageState& p : {uart, fifo}) {
        EXPECT_TRUE(p.untick_only_blank);
        EXPECT_FALSE(p.only_blank_enabled);
    }
    EXPECT_FALSE(DeviceTypePage(3, 0, false).untick_only_blank);
}

TEST(DeviceTypePage, HighSpeedPages) {
    EXPECT_TRUE(DeviceTypePage(9, 0, false).hs_dual_visible);
    EXPECT_FALSE(DeviceTypePage(9, 0, false).hs_quad_visible);
    EXPECT_TRUE(DeviceTypePage(10, 0, false).hs_quad_visible);
}

TEST(DeviceTypePage, EraseIsNotOfferedForTheFourthGeneration) {
    for (int entry = 0; entry <= 10; ++entry) {
        EXPECT_EQ(EraseAllowed(entry), entry != 6 && entry != 7) << entry;
    }
}

}  // namespace
}  // namespace pelmo
