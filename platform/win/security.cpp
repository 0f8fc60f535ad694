#include "security.h"

#include <array>

#include "text_fields.h"

namespace platform::win {
namespace {

struct PrivilegeName {
    std::string_view name;
    uint32_t luid;
};

constexpr std::array kPrivileges{
    PrivilegeName{"SeCreateTokenPrivilege", 2},
    PrivilegeName{"SeAssignPrimaryTokenPrivilege", 3},
    PrivilegeName{"SeLockMemoryPrivilege", 4},
    PrivilegeName{"SeIncreaseQuotaPrivilege", 5},
    PrivilegeName{"SeMachineAccountPrivilege", 6},
    PrivilegeName{"SeTcbPrivilege", 7},
    PrivilegeName{"SeSecurityPrivilege", kSeSecurityPrivilege},
    PrivilegeName{"SeTakeOwnershipPrivilege", kSeTakeOwnershipPrivilege},
    PrivilegeName{"SeLoadDriverPrivilege", 10},
    PrivilegeName{"SeSystemProfilePrivilege", 11},
    PrivilegeName{"SeSystemtimePrivilege", 12},
    PrivilegeName{"SeProfileSingleProcessPrivilege", 13},
    PrivilegeName{"SeIncreaseBasePriorityPrivilege", 14},
    PrivilegeName{"SeCreatePagefilePrivilege", 15},
    PrivilegeName{"SeCreatePermanentPrivilege", 16},
    PrivilegeName{"SeBackupPrivilege", 17},
    PrivilegeName{"SeRestorePrivilege", 18},
    PrivilegeName{"SeShutdownPrivilege", 19},
    PrivilegeName{"SeDebugPrivilege", 20},
    PrivilegeName{"SeAuditPrivilege", 21},
    PrivilegeName{"SeSystemEnvironmentPrivilege", 22},
    PrivilegeName{"SeChangeNotifyPrivilege", 23},
    PrivilegeName{"SeRemoteShutdownPrivilege", 24},
    PrivilegeName{"SeUndockPrivilege", 25},
};

}  // namespace

bool Acl::initialize(uint32_t size, uint8_t revision) {
    if (revision != ACL_REVISION || size < kAclHeaderSize || size > kAclMaxSize) return false;
    size_ = size;
    aces_.clear();
    return true;
}

std::optional<Acl> Acl::compact(std::vector<Ace> aces) {
    Acl acl;
    uint64_t size = kAclHeaderSize;
    for (const Ace& a : aces) size += a.size();
    if (size > kAclMaxSize) return std::nullopt;
    acl.size_ = static_cast<uint32_t>(size);
    acl.aces_ = std::move(aces);
    return acl;
}

uint32_t Acl::bytes_in_use() const {
    uint32_t n = kAclHeaderSize;
    for (const Ace& a : aces_) n += a.size();
    return n;
}

const Ace* Acl::get_ace(uint32_t index) const {
    return index < aces_.size() ? &aces_[index] : nullptr;
}

bool Acl::add_ace(uint8_t revision, const Ace& ace) {
    if (revision != ACL_REVISION || size_ == 0 || !ace.sid.valid()) return false;
    if (bytes_in_use() + ace.size() > size_) return false;
    aces_.push_back(ace);
    return true;
}

bool Acl::add_access_allowed_ace(uint8_t revision, uint32_t mask, const Sid& sid) {
    return add_ace(revision, Ace{ACCESS_ALLOWED_ACE_TYPE, 0, mask, sid});
}

bool Acl::valid() const {
    if (size_ < kAclHeaderSize || size_ > kAclMaxSize || bytes_in_use() > size_) return false;
    for (const Ace& a : aces_)
        if (a.type != ACCESS_ALLOWED_ACE_TYPE || !a.sid.valid()) return false;
    return true;
}

bool SecurityDescriptor::initialize(uint8_t revision) {
    if (revision != SECURITY_DESCRIPTOR_REVISION) return false;
    *this = SecurityDescriptor{};
    return true;
}

void SecurityDescriptor::get_dacl(bool* present, const Acl** acl, bool* defaulted) const {
    *present = dacl_present_;
    *acl = dacl_present_ && dacl_ ? &*dacl_ : nullptr;
    *defaulted = dacl_defaulted_;
}

bool SecurityDescriptor::set_dacl(bool present, std::optional<Acl> acl, bool defaulted) {
    dacl_present_ = present;
    dacl_ = present ? std::move(acl) : std::nullopt;
    dacl_defaulted_ = present && defaulted;
    return true;
}

uint32_t SecurityDescriptor::size() const {
    uint32_t n = kSecurityDescriptorHeaderSize;
    if (owner_) n += owner_->length();
    if (dacl_) n += dacl_->size();
    return n;
}

bool SecurityDescriptor::is_valid() const {
    if (revision_ != SECURITY_DESCRIPTOR_REVISION) return false;
    if (owner_ && !owner_->valid()) return false;
    return !dacl_ || dacl_->valid();
}

std::optional<uint32_t> privilege_luid(std::string_view name) {
    for (const auto& p : kPrivileges)
        if (equal_no_case(p.name, name)) return p.luid;
    return std::nullopt;
}

std::string_view privilege_name(uint32_t luid) {
    for (const auto& p : kPrivileges)
        if (p.luid == luid) return p.name;
    return {};
}

bool Token::has_sid(const Sid& sid) const {
    if (sid == user) return true;
    for (const Sid& g : groups)
        if (g == sid) return true;
    return false;
}

bool Token::privilege_enabled(uint32_t luid) const {
    for (const auto& p : privileges)
        if (p.luid == luid) return p.enabled;
    return false;
}

uint32_t map_generic(uint32_t mask) {
    if (mask & GENERIC_READ) mask |= KEY_READ;
    if (mask & GENERIC_WRITE) mask |= KEY_WRITE;
    if (mask & GENERIC_EXECUTE) mask |= KEY_EXECUTE;
    if (mask & GENERIC_ALL) mask |= KEY_ALL_ACCESS;
    return mask & ~(GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL);
}

int32_t access_check(const std::optional<Sid>& owner, const std::optional<Acl>& dacl,
                     const Token& token, uint32_t desired, uint32_t* granted) {
    uint32_t want = map_generic(desired);
    const bool maximum = want & MAXIMUM_ALLOWED;
    const bool system_security = want & ACCESS_SYSTEM_SECURITY;
    want &= ~(MAXIMUM_ALLOWED | ACCESS_SYSTEM_SECURITY);
    if (system_security && !token.privilege_enabled(kSeSecurityPrivilege))
        return ERROR_PRIVILEGE_NOT_HELD;

    // Only the key rights can ever be granted; other bits asked for are refused.
    uint32_t have = 0;
    if (!dacl) {
        have = KEY_ALL_ACCESS;
    } else {
        for (const Ace& a : dacl->aces())
            if (a.type == ACCESS_ALLOWED_ACE_TYPE && !(a.flags & INHERIT_ONLY_ACE) &&
                token.has_sid(a.sid))
                have |= map_generic(a.mask) & KEY_ALL_ACCESS;
    }
    if (owner && token.has_sid(*owner)) have |= READ_CONTROL | WRITE_DAC;
    if (token.privilege_enabled(kSeTakeOwnershipPrivilege)) have |= WRITE_OWNER;

    if (want & ~have) return ERROR_ACCESS_DENIED;
    if (maximum) {
        if (have == 0) return ERROR_ACCESS_DENIED;
        want |= have;
    }
    *granted = want | (system_security ? ACCESS_SYSTEM_SECURITY : 0);
    return ERROR_SUCCESS;
}

}  // namespace platform::win
