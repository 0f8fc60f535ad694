#include "form_values.h"

#include <algorithm>

#include "device_operations.h"

namespace pelmo {
namespace {

template <size_t N>
std::vector<std::string_view> Items(const std::array<std::string_view, N>& names) {
    return {names.begin(), names.end()};
}

}  // namespace

const FormBinding* FindBinding(std::string_view control) {
    const auto* it = std::find_if(kFormBindings.begin(), kFormBindings.end(),
                                  [&](const FormBinding& b) { return b.control == control; });
    return it == kFormBindings.end() ? nullptr : &*it;
}

std::vector<std::string_view> ListItems(std::string_view control) {
    if (control == "CB1") return Items(kDeviceTypeNames);
    if (control == "CB2") return Items(kVidPidTypeNames);
    if (control == "CB3") return Items(kUsbVersionNames);
    if (control == "CBX5") return Items(kC4PinNames);
    if (control == "CBX6") return Items(kPacketSizeNames);
    constexpr std::array<std::string_view, 4> kCPinLists = {"CBX1", "CBX2", "CBX3", "CBX4"};
    for (size_t i = 0; i < kCPinLists.size(); ++i) {
        if (control != kCPinLists[i]) continue;
        auto items = Items(kCPinCommonNames);
        items.push_back(kCPinOwnNames[i]);
        return items;
    }
    if (control.starts_with("ComboBox")) return Items(kDriveNames);
    return {};
}

}  // namespace pelmo
