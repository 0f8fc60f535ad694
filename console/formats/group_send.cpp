#include "formats/group_send.h"

#include <optional>

namespace velmora::formats {
namespace {

constexpr size_t kMaxOpenPanels = 8;

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// One or two hex digits, nothing else (no blanks, sign or prefix), as every entry box
// takes them. The link layer's converter applies the same rule; this private copy keeps
// the formats free of it.
std::optional<uint8_t> entry_byte(std::string_view text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : text) {
        int d = hex_digit(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
    }
    return static_cast<uint8_t>(value);
}

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
    for (std::string_view box : {panel.address, panel.command, panel.ls_byte}) {
        auto b = entry_byte(box);
        if (!b) return refuse(GroupRefusal::InvalidEntry);
        req.bytes += static_cast<char>(*b);
    }
    if (word) {
        auto b = entry_byte(panel.ms_byte);
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
    if (open.size() > kMaxOpenPanels) open = open.first(kMaxOpenPanels);
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
