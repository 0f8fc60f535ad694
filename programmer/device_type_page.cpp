#include "device_type_page.h"

#include "device_operations.h"

namespace pelmo {
namespace {

enum class OptionPage { None, Dual, FourthGen, HsDual, HsQuad };
// The second-generation options: the USB version list, "Disable USB Serial Number" and
// "Pull Down IO Pins in USB Suspend".
enum class SecondGenOptions { Off, All, AllButUsb };

struct DeviceTypeRow {
    bool power;
    bool plug_and_play;
    bool untick_plug_and_play;
    bool serial;
    bool wake_up;
    bool strings;
    SecondGenOptions second_gen;
    OptionPage page;
    KindFlags kinds;
};

using G = SecondGenOptions;
using P = OptionPage;
constexpr bool Y = true, N = false;

// Rows for the device type entries 1..10 ("None" offers nothing): power, Plug and Play
// (enabled, unticked), serial controls, wake-up, strings, second-generation options, page,
// kinds.
// clang-format off
constexpr std::array<DeviceTypeRow, 10> kDeviceTypeRows = {{
    {Y, Y, N, Y, Y, Y, G::Off, P::None, {}},                                         // 1 Tessel-1U
    {Y, N, N, Y, N, Y, G::Off, P::None, {}},                                         // 2 Tessel-1F
    {Y, Y, N, Y, Y, Y, G::All, P::None, {.KindT2 = true}},                           // 3 Tessel-2U
    {Y, N, N, Y, Y, Y, G::All, P::None, {.KindT2 = true}},                           // 4 Tessel-2F
    {Y, N, N, Y, Y, Y, G::All, P::Dual, {.KindDual = true}},                         // 5 Tessel-3DA
    {Y, Y, N, Y, Y, Y, G::All, P::FourthGen, {.KindT4 = true}},                      // 6 Tessel-4U
    {Y, N, Y, Y, Y, Y, G::All, P::FourthGen, {.KindT4 = true, .KindT4Fifo = true}},  // 7 Tessel-4F
    {Y, N, N, Y, Y, Y, G::All, P::Dual, {.KindDual = true}},                         // 8 Tessel-3DB
    {Y, Y, Y, Y, Y, Y, G::AllButUsb, P::HsDual, {.Kind5D = true}},                   // 9 Tessel-5D
    {Y, Y, Y, Y, Y, Y, G::AllButUsb, P::HsQuad, {.Kind5Q = true}},                   // 10 Tessel-5Q
}};
// clang-format on

}  // namespace

PageState ClearedPage() {
    return PageState{};
}

bool EraseAllowed(int device_entry) {
    return device_entry != kEntryTessel4U && device_entry != kEntryTessel4F;
}

PageState DeviceTypePage(int device_entry, int vid_pid_entry, bool use_fixed_serial) {
    PageState p = ClearedPage();
    p.device_type_enabled = true;
    p.only_blank_enabled = true;
    // A list without a selection offers no more than "None".
    if (device_entry < 1 || device_entry > static_cast<int>(kDeviceTypeRows.size())) return p;

    p.vid_pid_type_enabled = true;
    p.vendor_id_enabled = true;
    p.product_id_enabled = true;
    if (vid_pid_entry == 0) {
        p.vendor_id_text = kDefaultVendorIdText;
        p.product_id_text = DefaultProductIdText(device_entry);
        p.vendor_id_enabled = false;
        p.product_id_enabled = false;
    } else if (vid_pid_entry == 1) {
        p.vendor_id_text = kDefaultVendorIdText;
        p.vendor_id_enabled = false;
    }

    const DeviceTypeRow& row = kDeviceTypeRows[static_cast<size_t>(device_entry - 1)];
    p.kinds = row.kinds;
    p.power_enabled = row.power;
    p.plug_and_play_enabled = row.plug_and_play;
    p.untick_plug_and_play = row.untick_plug_and_play;
    p.fixed_serial_check_enabled = row.serial;
    p.fixed_serial_enabled = row.serial && use_fixed_serial;
    p.prefix_enabled = row.serial && !use_fixed_serial;
    p.wake_up_enabled = row.wake_up;
    p.strings_enabled = row.strings;
    p.usb_version_enabled = row.second_gen == SecondGenOptions::All;
    p.serial_disable_enabled = row.second_gen != SecondGenOptions::Off;
    p.pull_down_enabled = row.second_gen != SecondGenOptions::Off;

    switch (row.page) {
        case OptionPage::None:
            break;
        case OptionPage::Dual:
            p.dual_visible = true;
            p.cpu_fifo_visible = device_entry == kEntryTessel3DB;
            p.tab = 0;
            break;
        case OptionPage::FourthGen: {
            const bool fifo = device_entry == kEntryTessel4F;
            p.fourth_gen_visible = true;
            p.invert_visible = !fifo;
            p.c_pins_enabled = !fifo;
            p.fourth_gen_caption = kDeviceTypeNames[static_cast<size_t>(device_entry)];
            p.only_blank_enabled = false;
            p.untick_only_blank = true;
            p.tab = 1;
            break;
        }
        case OptionPage::HsDual:
            p.hs_dual_visible = true;
            p.tab = 2;
            break;
        case OptionPage::HsQuad:
            p.hs_quad_visible = true;
            p.tab = 3;
            break;
    }
    return p;
}

}  // namespace pelmo
