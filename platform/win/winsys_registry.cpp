// The registry calls of the stand-in machine.
#include <algorithm>
#include <cstring>

#include "hive_text.h"
#include "winsys.h"

namespace platform::win {
namespace {

// Copies a name with its terminator when it fits a buffer of *chars characters.
int32_t copy_name(const std::string& name, char* out, uint32_t* chars) {
    if (!out || name.size() + 1 > *chars) {
        *chars = static_cast<uint32_t>(name.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(out, name.c_str(), name.size() + 1);
    *chars = static_cast<uint32_t>(name.size());
    return ERROR_SUCCESS;
}

}  // namespace

int32_t WinSystem::resolve(Hkey key, OpenKey* out, uint32_t rights) const {
    if (key == HKEY_LOCAL_MACHINE) {
        *out = {hive_.root, KEY_ALL_ACCESS};
    } else {
        auto it = keys_.find(key);
        if (it == keys_.end()) return ERROR_INVALID_HANDLE;
        if (it->second.key->deleted) return ERROR_KEY_DELETED;
        *out = it->second;
    }
    return handle_grants(*out, rights) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

bool WinSystem::handle_grants(const OpenKey& open, uint32_t rights) const {
    // Without security every handle may do everything.
    return !security_supported() || (open.granted & rights) == rights;
}

int32_t WinSystem::open_key(Hkey parent, const char* path, uint32_t access, Hkey* out) {
    *out = HKEY_NONE;
    OpenKey from;
    if (int32_t st = resolve(parent, &from)) return st;
    auto parts = split_key_path(path ? path : "");
    if (!parts) return ERROR_FILE_NOT_FOUND;
    std::shared_ptr<RegKey> key = descend(from.key, *parts);
    if (!key) return ERROR_FILE_NOT_FOUND;
    uint32_t granted = access;
    if (security_supported())
        if (int32_t st = access_check(key->owner, key->dacl, token_, access, &granted)) return st;
    *out = next_handle_++;
    keys_[*out] = {key, granted};
    return ERROR_SUCCESS;
}

int32_t WinSystem::close_key(Hkey key) {
    if (key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
    return keys_.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

int32_t WinSystem::enum_key(Hkey key, uint32_t index, char* name, uint32_t* name_chars) {
    OpenKey open;
    if (int32_t st = resolve(key, &open, KEY_ENUMERATE_SUB_KEYS)) return st;
    if (index >= open.key->subkeys.size()) return ERROR_NO_MORE_ITEMS;
    return copy_name(open.key->subkeys[index]->name, name, name_chars);
}

int32_t WinSystem::enum_value(Hkey key, uint32_t index, char* name, uint32_t* name_chars,
                              uint32_t* type, uint8_t* data, uint32_t* data_bytes) {
    OpenKey open;
    if (int32_t st = resolve(key, &open, KEY_QUERY_VALUE)) return st;
    if (index >= open.key->values.size()) return ERROR_NO_MORE_ITEMS;
    const RegValue& v = open.key->values[index];
    if (int32_t st = copy_name(v.name, name, name_chars)) return st;
    if (type) *type = v.type;
    if (!data_bytes) return ERROR_SUCCESS;
    const uint32_t size = static_cast<uint32_t>(v.data.size());
    if (data && size > *data_bytes) {
        *data_bytes = size;
        return ERROR_MORE_DATA;
    }
    if (data) std::memcpy(data, v.data.data(), size);
    *data_bytes = size;
    return ERROR_SUCCESS;
}

int32_t WinSystem::delete_key(Hkey parent, const char* path) {
    OpenKey from;
    if (int32_t st = resolve(parent, &from)) return st;
    auto parts = split_key_path(path ? path : "");
    if (!parts || parts->empty()) return ERROR_FILE_NOT_FOUND;
    std::shared_ptr<RegKey> holder = descend(from.key, std::span(*parts).first(parts->size() - 1));
    auto key = holder ? holder->find_subkey(parts->back()) : nullptr;
    if (!key) return ERROR_FILE_NOT_FOUND;
    uint32_t granted = 0;
    if (security_supported())
        if (int32_t st = access_check(key->owner, key->dacl, token_, DELETE, &granted)) return st;
    if (!key->subkeys.empty()) return ERROR_ACCESS_DENIED;
    const size_t at = holder->subkey_position(key->name);
    holder->subkeys.erase(holder->subkeys.begin() + static_cast<std::ptrdiff_t>(at));
    if (!persist()) {
        holder->subkeys.insert(holder->subkeys.begin() + static_cast<std::ptrdiff_t>(at), key);
        return ERROR_REGISTRY_IO_FAILED;
    }
    key->deleted = true;
    return ERROR_SUCCESS;
}

int32_t WinSystem::delete_value(Hkey key, const char* name) {
    OpenKey open;
    if (int32_t st = resolve(key, &open, KEY_SET_VALUE)) return st;
    auto& values = open.key->values;
    auto it = std::find_if(values.begin(), values.end(), [&](const RegValue& v) {
        return equal_no_case(v.name, name ? name : "");
    });
    if (it == values.end()) return ERROR_FILE_NOT_FOUND;
    const auto at = it - values.begin();
    RegValue removed = std::move(*it);
    values.erase(it);
    if (!persist()) {
        values.insert(values.begin() + at, std::move(removed));
        return ERROR_REGISTRY_IO_FAILED;
    }
    return ERROR_SUCCESS;
}

int32_t WinSystem::get_key_security(Hkey key, uint32_t info, SecurityDescriptor* sd,
                                    uint32_t* size) {
    if (!security_supported()) return ERROR_CALL_NOT_IMPLEMENTED;
    OpenKey open;
    if (int32_t st = resolve(key, &open, READ_CONTROL)) return st;
    SecurityDescriptor out;
    if (info & OWNER_SECURITY_INFORMATION) out.set_owner(open.key->owner);
    if (info & DACL_SECURITY_INFORMATION)
        out.set_dacl(open.key->dacl.has_value(), open.key->dacl, false);
    if (!sd || *size < out.size()) {
        *size = out.size();
        return ERROR_INSUFFICIENT_BUFFER;
    }
    *sd = std::move(out);
    return ERROR_SUCCESS;
}

int32_t WinSystem::set_key_security(Hkey key, uint32_t info, const SecurityDescriptor& sd) {
    if (!security_supported()) return ERROR_CALL_NOT_IMPLEMENTED;
    OpenKey open;
    if (int32_t st = resolve(key, &open)) return st;
    const bool set_owner = info & OWNER_SECURITY_INFORMATION;
    const bool set_dacl = info & DACL_SECURITY_INFORMATION;
    if (!sd.is_valid()) return ERROR_INVALID_SECURITY_DESCR;
    if ((set_owner && !handle_grants(open, WRITE_OWNER)) ||
        (set_dacl && !handle_grants(open, WRITE_DAC)))
        return ERROR_ACCESS_DENIED;
    // Only the account itself or one of its groups may become the owner.
    if (set_owner && (!sd.owner() || !token_.has_sid(*sd.owner()))) return ERROR_INVALID_OWNER;
    RegKey& k = *open.key;
    const auto old_owner = k.owner;
    const auto old_dacl = k.dacl;
    if (set_owner) k.owner = sd.owner();
    // A list is kept exactly as large as its entries; a list marked present without
    // data, like one not present, leaves the key without a list.
    if (set_dacl) k.dacl = sd.dacl() ? Acl::compact(sd.dacl()->aces()) : std::nullopt;
    if (!persist()) {
        k.owner = old_owner;
        k.dacl = old_dacl;
        return ERROR_REGISTRY_IO_FAILED;
    }
    return ERROR_SUCCESS;
}

}  // namespace platform::win
