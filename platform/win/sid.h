// Security identifiers and the accounts they name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win {

class Sid {
  public:
    static constexpr size_t kMaxSubAuthorities = 15;

    Sid() = default;
    // "S-1-5-32-544"; nothing for any other text.
    static std::optional<Sid> parse(std::string_view text);
    std::string text() const;
    // Bytes of the binary form: 8 plus 4 per sub-authority.
    uint32_t length() const { return 8 + 4 * static_cast<uint32_t>(subs_.size()); }
    bool valid() const { return revision_ == 1 && !subs_.empty(); }
    bool operator==(const Sid&) const = default;

  private:
    uint8_t revision_ = 0;
    uint64_t authority_ = 0;
    std::vector<uint32_t> subs_;
};

struct Account {
    std::string name;
    std::string domain;
    Sid sid;
};

// The built-in accounts every machine knows (Administrators, SYSTEM, Everyone ...).
std::vector<Account> builtin_accounts();

}  // namespace platform::win
