// Access lists, security descriptors, the process token and the access check of a key.
// Sizes are counted as the binary forms would take them, so that callers that size
// their buffers from what the system reports get the same answers here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sid.h"
#include "win_types.h"

namespace platform::win {

inline constexpr uint32_t kAclHeaderSize = 8;
inline constexpr uint32_t kAclMaxSize = 0xFFFF;
inline constexpr uint32_t kSecurityDescriptorHeaderSize = 20;

struct Ace {
    uint8_t type = ACCESS_ALLOWED_ACE_TYPE;
    uint8_t flags = 0;
    uint32_t mask = 0;
    Sid sid;
    // Type, flags, size, mask, then the SID.
    uint32_t size() const { return 8 + sid.length(); }
    bool operator==(const Ace&) const = default;
};

// An access list with a fixed allocated size, filled entry by entry.
class Acl {
  public:
    // An empty list of `size` bytes; false for a size that cannot hold the header or
    // exceeds 65535, or a revision other than ACL_REVISION.
    bool initialize(uint32_t size, uint8_t revision);
    // A list exactly as large as its entries (as stored in a hive).
    static std::optional<Acl> compact(std::vector<Ace> aces);

    uint32_t size() const { return size_; }
    uint32_t bytes_in_use() const;
    uint32_t ace_count() const { return static_cast<uint32_t>(aces_.size()); }
    const std::vector<Ace>& aces() const { return aces_; }
    // Entry number `index`, or nothing past the end.
    const Ace* get_ace(uint32_t index) const;
    // Appends an entry; false when the revision differs or it does not fit the size.
    bool add_ace(uint8_t revision, const Ace& ace);
    bool add_access_allowed_ace(uint8_t revision, uint32_t mask, const Sid& sid);
    bool valid() const;

  private:
    uint32_t size_ = 0;
    std::vector<Ace> aces_;
};

class SecurityDescriptor {
  public:
    bool initialize(uint8_t revision);
    // The access list: whether one is present and, if so, the list (nothing for a list
    // marked present without data).
    void get_dacl(bool* present, const Acl** acl, bool* defaulted) const;
    bool set_dacl(bool present, std::optional<Acl> acl, bool defaulted);
    const std::optional<Sid>& owner() const { return owner_; }
    void set_owner(std::optional<Sid> owner) { owner_ = std::move(owner); }
    bool dacl_present() const { return dacl_present_; }
    const std::optional<Acl>& dacl() const { return dacl_; }
    // Bytes of the self-relative form.
    uint32_t size() const;
    bool is_valid() const;

  private:
    uint8_t revision_ = SECURITY_DESCRIPTOR_REVISION;
    std::optional<Sid> owner_;
    bool dacl_present_ = false;
    bool dacl_defaulted_ = false;
    std::optional<Acl> dacl_;
};

// Privileges by name and locally unique identifier.
std::optional<uint32_t> privilege_luid(std::string_view name);
std::string_view privilege_name(uint32_t luid);
inline constexpr uint32_t kSeSecurityPrivilege = 8;
inline constexpr uint32_t kSeTakeOwnershipPrivilege = 9;

struct Token {
    struct Privilege {
        uint32_t luid = 0;
        bool enabled = false;
    };
    Sid user;
    std::vector<Sid> groups;
    std::vector<Privilege> privileges;  // those the account holds

    bool has_sid(const Sid& sid) const;
    bool privilege_enabled(uint32_t luid) const;
};

// Generic rights in `mask` replaced by the key rights they stand for.
uint32_t map_generic(uint32_t mask);

// Checks `desired` against a key's owner and access list (none: every key right) for the
// token. ERROR_SUCCESS with *granted filled, ERROR_ACCESS_DENIED, or
// ERROR_PRIVILEGE_NOT_HELD when ACCESS_SYSTEM_SECURITY is asked without its privilege.
int32_t access_check(const std::optional<Sid>& owner, const std::optional<Acl>& dacl,
                     const Token& token, uint32_t desired, uint32_t* granted);

}  // namespace platform::win
