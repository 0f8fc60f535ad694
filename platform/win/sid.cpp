#include "sid.h"

#include <array>
#include <charconv>

namespace platform::win {
namespace {

// Reads a decimal number that fits `max`, advancing `s`; false when there is none.
bool read_decimal(std::string_view& s, uint64_t max, uint64_t* out) {
    if (s.empty() || s[0] < '0' || s[0] > '9') return false;
    if (s.size() > 1 && s[0] == '0' && s[1] >= '0' && s[1] <= '9') return false;  // no padding
    uint64_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || v > max) return false;
    s.remove_prefix(static_cast<size_t>(p - s.data()));
    *out = v;
    return true;
}

struct BuiltinAccount {
    std::string_view name, domain, sid;
};

constexpr std::array kBuiltinAccounts{
    BuiltinAccount{"Administrators", "BUILTIN", "S-1-5-32-544"},
    BuiltinAccount{"Users", "BUILTIN", "S-1-5-32-545"},
    BuiltinAccount{"Power Users", "BUILTIN", "S-1-5-32-547"},
    BuiltinAccount{"SYSTEM", "NT AUTHORITY", "S-1-5-18"},
    BuiltinAccount{"INTERACTIVE", "NT AUTHORITY", "S-1-5-4"},
    BuiltinAccount{"Authenticated Users", "NT AUTHORITY", "S-1-5-11"},
    BuiltinAccount{"Everyone", "", "S-1-1-0"},
    BuiltinAccount{"CREATOR OWNER", "", "S-1-3-0"},
};

}  // namespace

std::optional<Sid> Sid::parse(std::string_view s) {
    if (s.substr(0, 2) != "S-") return std::nullopt;
    s.remove_prefix(2);
    Sid sid;
    uint64_t v = 0;
    if (!read_decimal(s, 1, &v) || v != 1) return std::nullopt;
    sid.revision_ = 1;
    if (s.empty() || s[0] != '-') return std::nullopt;
    s.remove_prefix(1);
    if (!read_decimal(s, (uint64_t{1} << 48) - 1, &sid.authority_)) return std::nullopt;
    while (!s.empty()) {
        if (s[0] != '-' || sid.subs_.size() == kMaxSubAuthorities) return std::nullopt;
        s.remove_prefix(1);
        if (!read_decimal(s, UINT32_MAX, &v)) return std::nullopt;
        sid.subs_.push_back(static_cast<uint32_t>(v));
    }
    if (sid.subs_.empty()) return std::nullopt;
    return sid;
}

std::string Sid::text() const {
    std::string out = "S-" + std::to_string(revision_) + "-" + std::to_string(authority_);
    for (uint32_t sub : subs_) out += "-" + std::to_string(sub);
    return out;
}

std::vector<Account> builtin_accounts() {
    std::vector<Account> out;
    for (const auto& a : kBuiltinAccounts)
        out.push_back({std::string(a.name), std::string(a.domain), *Sid::parse(a.sid)});
    return out;
}

}  // namespace platform::win
