#include "regfun.h"

#include <cstdio>
#include <cstring>

#include "ulib.h"
#include "win/hive.h"
#include "win/winsys.h"

namespace drendle {
namespace win = platform::win;

namespace {

constexpr const char* kAdministrators = "Administrators";

// Windows 95, 98 and Me have no access lists to extend.
bool HasNoAccessLists(int version) {
    return version == 0x400 || version == 0x40A || version == 0x45A;
}

// What a deletion prints when its subkeys cannot all be removed.
struct SubkeyErrors {
    const char* cannot_list;   // with the enumeration status
    const char* child_failed;  // with the child's result (Nukekey's line shows none)
};

// Removes the subkeys of the open key one by one with `remove`, always taking child
// number 0 (the one behind it moves up). True when none is left; otherwise the error
// is printed and the result is false.
bool RemoveSubkeys(Hkey key, int (*remove)(Hkey, const char*), const SubkeyErrors& errors) {
    char name[kSubkeyNameBufferSize];
    while (true) {
        uint32_t len = sizeof name;
        const int32_t status = win::winsys().enum_key(key, 0, name, &len);
        if (status == win::ERROR_NO_MORE_ITEMS) return true;
        if (status != win::ERROR_SUCCESS) {
            std::printf(errors.cannot_list, static_cast<unsigned>(status));
            return false;
        }
        // A child still there would come back at index 0 for ever; it fails the deletion.
        if (!RemovedKey(remove, key, name)) {
            std::printf(errors.child_failed, 0u);
            return false;
        }
    }
}

// RemKey's opening step: on failure it prints `error` with the status.
bool OpenOrReport(Hkey parent, const char* path, uint32_t access, Hkey* key, const char* error) {
    const int32_t status = OpenKeyAccess(parent, path, access, key);
    if (status != win::ERROR_SUCCESS) std::printf(error, static_cast<unsigned>(status));
    return status == win::ERROR_SUCCESS;
}

// RemKey's access-list step on the open key: on failure it says so and closes the key.
bool AddAdminAceOrClose(Hkey key) {
    if (AddAdminAce(kAdministrators, key)) return true;
    std::printf("Cant add ACE\n");
    win::winsys().close_key(key);
    return false;
}

}  // namespace

int OpenKey(Hkey parent, const char* path, uint32_t access, Hkey* handle) {
    return OpenKeyAccess(parent, path, access, handle) == win::ERROR_SUCCESS ? 1 : 0;
}

int32_t OpenKeyAccess(Hkey parent, const char* path, uint32_t access, Hkey* handle) {
    *handle = win::HKEY_NONE;
    return win::winsys().open_key(parent, path, access, handle);
}

int32_t EnumValueWhole(Hkey key, uint32_t index, std::string* name, uint32_t* type,
                       std::string* data) {
    std::string n(kValueBufferSize, '\0'), d(kValueBufferSize, '\0');
    while (true) {
        auto name_chars = static_cast<uint32_t>(n.size());
        auto data_bytes = static_cast<uint32_t>(d.size());
        const int32_t status =
            win::winsys().enum_value(key, index, n.data(), &name_chars, type,
                                     reinterpret_cast<uint8_t*>(d.data()), &data_bytes);
        if (status == win::ERROR_SUCCESS) {
            *name = n.substr(0, name_chars);
            *data = d.substr(0, data_bytes);
            return status;
        }
        if (status != win::ERROR_MORE_DATA) return status;
        // The sizes asked for; a system that reports none for the name gets the largest
        // a value name can have, once.
        const size_t before = n.size() + d.size();
        if (name_chars > n.size()) n.resize(name_chars);
        if (data_bytes > d.size()) d.resize(data_bytes);
        if (n.size() + d.size() == before) {
            if (n.size() > win::kMaxValueNameLength) return status;
            n.resize(win::kMaxValueNameLength + 1);
        }
    }
}

int32_t ReadNamedString(Hkey key, const char* name, std::string* text) {
    std::string value_name, bytes;
    uint32_t type = 0;
    for (uint32_t i = 0;; ++i) {
        const int32_t status = EnumValueWhole(key, i, &value_name, &type, &bytes);
        if (status == win::ERROR_NO_MORE_ITEMS) return win::ERROR_FILE_NOT_FOUND;
        if (status != win::ERROR_SUCCESS) return status;
        if (value_name != name) continue;
        *text = bytes.substr(0, strnlen(bytes.data(), bytes.size()));
        return status;
    }
}

int ReadNamedValue(Hkey key, const char* name, char* data, int32_t* status_out) {
    int32_t unused;
    int32_t& status = status_out ? *status_out : unused;
    std::string text;
    status = ReadNamedString(key, name, &text);
    if (status != win::ERROR_SUCCESS) return 0;
    // Callers read the data as a string: it must fit the buffer with its terminator.
    if (text.size() >= kValueBufferSize) {
        status = win::ERROR_MORE_DATA;
        return 0;
    }
    std::memcpy(data, text.c_str(), text.size() + 1);
    return 1;
}

uint32_t ProbeKeyAccess(Hkey parent, const char* path) {
    uint32_t mask = 0;
    for (int bit = 0; bit < 32; ++bit) {
        Hkey key;
        if (OpenKeyAccess(parent, path, uint32_t{1} << bit, &key) == win::ERROR_SUCCESS) {
            mask |= uint32_t{1} << bit;
            win::winsys().close_key(key);
        }
    }
    std::printf("Mask =    :%08x\n", mask);
    return mask;
}

int SetKeyOwner(Hkey key, const char* account) {
    win::Sid sid;
    uint32_t sid_size = 1000;
    char domain[1000];
    uint32_t domain_size = sizeof domain;
    if (!win::winsys().lookup_account_name(account, &sid, &sid_size, domain, &domain_size)) {
        std::printf("Cant get acct name\n");
        return 0;
    }
    win::SecurityDescriptor sd;
    sd.set_owner(sid);
    if (int32_t status = win::winsys().set_key_security(key, win::OWNER_SECURITY_INFORMATION, sd)) {
        std::printf("Cant set owner %x\n", static_cast<unsigned>(status));
        return 0;
    }
    std::printf("Owner set to %s/%s\n", account, domain);
    return 1;
}

int AddAdminAce(const char* account, Hkey key) {
    auto& w = win::winsys();
    // The account's SID, sized by a first question.
    uint32_t sid_size = 0;
    char domain[80];
    uint32_t domain_size = sizeof domain;
    w.lookup_account_name(account, nullptr, &sid_size, domain, &domain_size);
    if (sid_size == 0) return 0;
    win::Sid sid;
    domain_size = sizeof domain;
    if (!w.lookup_account_name(account, &sid, &sid_size, domain, &domain_size)) return 0;

    // The key's current access list.
    uint32_t sd_size = 0;
    if (w.get_key_security(key, win::DACL_SECURITY_INFORMATION, nullptr, &sd_size) !=
        win::ERROR_INSUFFICIENT_BUFFER)
        return 0;
    win::SecurityDescriptor old_sd;
    if (w.get_key_security(key, win::DACL_SECURITY_INFORMATION, &old_sd, &sd_size) !=
        win::ERROR_SUCCESS)
        return 0;

    win::SecurityDescriptor new_sd;
    if (!new_sd.initialize(win::SECURITY_DESCRIPTOR_REVISION)) return 0;
    bool present = false, defaulted = false;
    const win::Acl* old_acl = nullptr;
    old_sd.get_dacl(&present, &old_acl, &defaulted);
    if (!old_acl) present = false;

    // The old entries in their order, then full access for the account.
    const uint32_t size =
        (present ? old_acl->bytes_in_use() : win::kAclHeaderSize) + 8 + sid.length();
    win::Acl acl;
    if (!acl.initialize(size, win::ACL_REVISION)) return 0;
    for (uint32_t i = 0; present && i < old_acl->ace_count(); ++i) {
        const win::Ace* ace = old_acl->get_ace(i);
        if (!ace || !acl.add_ace(win::ACL_REVISION, *ace)) return 0;
    }
    if (!acl.add_access_allowed_ace(win::ACL_REVISION, win::GENERIC_ALL, sid)) return 0;

    if (!new_sd.set_dacl(true, acl, false) || !new_sd.is_valid()) return 0;
    return w.set_key_security(key, win::DACL_SECURITY_INFORMATION, new_sd) == win::ERROR_SUCCESS
               ? 1
               : 0;
}

int EnablePrivilege(const char* name) {
    auto& w = win::winsys();
    win::Handle token;
    if (!w.open_process_token(win::TOKEN_ALL_ACCESS, &token)) {
        std::printf("Cant open process token, 0x%x\n", w.last_error());
        return 0;
    }
    uint32_t luid = 0;
    if (!w.lookup_privilege_value(name, &luid)) {
        std::printf("Cant read priviledge, 0x%x\n", w.last_error());
        w.close_handle(token);
        return 0;
    }
    // Success shows only in the last-error code: the call also returns true when the
    // account does not hold the privilege.
    w.adjust_token_privilege(token, luid, win::SE_PRIVILEGE_ENABLED);
    const uint32_t error = w.last_error();
    w.close_handle(token);
    if (error != 0) {
        std::printf("Cant adjust priviledge, 0x%x\n", error);
        return 0;
    }
    return 1;
}

int Nukekey(Hkey parent, const char* path) {
    auto& w = win::winsys();
    const int version = GetOsVersionCode();
    Hkey key;
    if (!OpenKey(parent, path, win::KEY_READ, &key)) return 1;
    w.close_key(key);
    if (!OpenKey(parent, path, kReadAdminAccess, &key)) {
        std::printf("Nukekey #1 err\n");
        return 0;
    }
    if (!HasNoAccessLists(version) && !AddAdminAce(kAdministrators, key)) {
        std::printf("Nukekey #2 err\n");
        w.close_key(key);
        return 0;
    }
    if (!RemoveSubkeys(key, Nukekey, {"Nukekey #3 err 0x%x\n", "Nukekey #4 err\n"})) {
        w.close_key(key);
        return 0;
    }
    w.close_key(key);
    if (int32_t st = w.delete_key(parent, path)) {
        std::printf("Nukekey #5 err 0x%x\n", static_cast<unsigned>(st));
        return 0;
    }
    return 1;
}

bool RemovedKey(int (*remove)(Hkey, const char*), Hkey parent, const char* path) {
    if (!remove(parent, path)) return false;
    Hkey key;
    const int32_t status = OpenKeyAccess(parent, path, win::KEY_READ, &key);
    if (status == win::ERROR_SUCCESS) win::winsys().close_key(key);
    return status == win::ERROR_FILE_NOT_FOUND;
}

int RemKey(Hkey parent, const char* path) {
    auto& w = win::winsys();
    const uint32_t mask = ProbeKeyAccess(parent, path);
    if (mask == 0) return 1;
    std::printf("\nRemKey -- processing key: %s\n", path);
    Hkey key;
    if ((mask & kReadAdminAccess) == kReadAdminAccess) {
        std::printf("Opening w/ accADMIN\n");
        if (!OpenOrReport(parent, path, kReadAdminAccess, &key, "RemKey #1 err 0x%x\n")) return 0;
        if (!AddAdminAceOrClose(key)) return 0;
    } else if (!(mask & win::WRITE_OWNER)) {
        std::printf("Cannot access key at all !\n");
        return 0;
    } else {
        std::printf("Opening w/ WRITE_OWNER\n");
        if (!OpenOrReport(parent, path, win::WRITE_OWNER, &key, "RemKey #3 err 0x%x\n")) return 0;
        if (!SetKeyOwner(key, kAdministrators)) {
            w.close_key(key);
            std::printf("Cannot force owner.\n");
            return 0;
        }
        w.close_key(key);
        if (!OpenOrReport(parent, path, kOwnerAndListAccess, &key, "RemKey #4 err 0x%x\n"))
            return 0;
        if (!AddAdminAceOrClose(key)) return 0;
        w.close_key(key);
        if (!OpenOrReport(parent, path, kReadAdminAccess, &key, "RemKey #5 err 0x%x\n")) return 0;
    }
    if (!RemoveSubkeys(key, RemKey, {"RemKey err #10, ret 0x%x\n", "RemKey err #11, ret 0x%x\n"})) {
        w.close_key(key);
        return 0;
    }
    w.close_key(key);
    if (w.delete_key(parent, path) != win::ERROR_SUCCESS) return 0;
    std::printf("--------DELETED------------\n");
    return 1;
}

}  // namespace drendle
