#include "formats/group_send.h"

#include <optional>

#include "formats/number_text.h"
#include "formats/open_panels.h"

namespace velmora::formats {
namespace {

std::string panel_name(int n) {
    return n == 0 ? std::string("Main Control") : "Control" + std::to_string(n);
}

// Appends panel n's record; false with the refusal filled in when it cannot take part.
bool append_record(const GroupPanel& panel, int n, GroupRequest& req) {
    const bool word = panel.protocol == "Write Word";
    const bool byte = panel.protocol == "Write Byte";
    if (word) req.bytes += '2';
    if (byte) req.bytes += '1';
    auto refuse = [&](GroupRefusal why) {
        req.refusal = why;
        req.panel = n;
        return false;
    };
    for (const std::string* box : {&panel.address, &panel.command, &panel.ls_byte}) {
        auto b = hex_byte(*box);
        if (!b) return refuse(GroupRefusal::InvalidEntry);
        req.bytes += static_cast<char>(*b);
    }
    if (word) {
        auto b = hex_byte(panel.ms_byte);
        if (!b) return refuse(GroupRefusal::InvalidEntry);
        req.bytes += static_cast<char>(*b);
    }
    if (!word && !byte) {
        req.message =
            "Command must be Write Byte or Word in " + panel_name(n) + ". Group send not executed.";
        return refuse(GroupRefusal::NotAWrite);
    }
    return true;
}

}  // namespace

GroupRequest group_set_request(const GroupPanel& main, std::span<const GroupPanel> open) {
    constexpr size_t kMost = kMaxOpenPanels;
    if (open.size() > kMost) open = open.first(kMost);
    GroupRequest req;
    req.bytes = "S" + std::to_string(open.size());
    bool ok = append_record(main, 0, req);
    for (size_t k = 0; ok && k < open.size(); ++k)
        ok = append_record(open[k], static_cast<int>(k) + 1, req);
    if (!ok) {
        req.bytes.clear();
        return req;
    }
    req.bytes += '\r';
    req.raw_length = static_cast<int16_t>(req.bytes.size());
    return req;
}

}  // namespace velmora::formats
