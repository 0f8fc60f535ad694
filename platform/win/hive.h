// The registry tree below HKEY_LOCAL_MACHINE: keys with an owner, an access list (or
// none), typed values in the order they were written, and subkeys kept in the order the
// system enumerates them (names compared without regard to case).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "security.h"
#include "sid.h"
#include "text_fields.h"

namespace platform::win {

inline constexpr size_t kMaxKeyNameLength = 255;
inline constexpr size_t kMaxKeyDepth = 512;
inline constexpr size_t kMaxValueNameLength = 16383;
inline constexpr size_t kMaxValueDataSize = size_t{1} << 20;

struct RegValue {
    std::string name;
    uint32_t type = REG_NONE;
    std::string data;  // the bytes as the system stores them
    bool operator==(const RegValue&) const = default;
};

struct RegKey {
    std::string name;
    std::optional<Sid> owner;
    std::optional<Acl> dacl;  // nothing: the key has no access list
    std::vector<RegValue> values;
    std::vector<std::shared_ptr<RegKey>> subkeys;
    bool deleted = false;  // set once removed, for handles still open on it

    // Position of the subkey with this name, or of where it would go.
    size_t subkey_position(std::string_view name) const;
    std::shared_ptr<RegKey> find_subkey(std::string_view name) const;
    // Nothing when a subkey of that name exists already.
    std::shared_ptr<RegKey> insert_subkey(std::string name);
    RegValue* find_value(std::string_view name);
    // Replaces or appends a value.
    RegKey& set_value(std::string name, uint32_t type, std::string data);
    RegKey& set_sz(std::string name, std::string_view text);
    RegKey& set_dword(std::string name, uint32_t v);
};

// The key reached from `from` through the subkeys named in turn, or nothing.
std::shared_ptr<RegKey> descend(std::shared_ptr<RegKey> from, std::span<const std::string> names);

// Same names, security, values and subkeys all the way down.
bool same_tree(const RegKey& a, const RegKey& b);

struct Hive {
    std::shared_ptr<RegKey> root = std::make_shared<RegKey>();

    Hive() = default;
    // Copies are deep: two machines never share keys.
    Hive(const Hive& other);
    Hive& operator=(const Hive& other);
    Hive(Hive&&) = default;
    Hive& operator=(Hive&&) = default;

    // The key at a backslash-separated path below the root ("" is the root).
    std::shared_ptr<RegKey> find(std::string_view path) const;
    // Creates the key and its missing parents (for images and tests); throws
    // std::invalid_argument for a path that no hive can hold.
    RegKey& add(std::string_view path);
    // Every key with its path ("" for the root), parents before children, subkeys in order.
    void for_each_key(const std::function<void(const RegKey&, const std::string&)>& visit) const;
    // Every key's path, parents before children.
    std::vector<std::string> key_paths() const;
    bool operator==(const Hive& o) const { return same_tree(*root, *o.root); }
};

// A key name: 1 to 255 printable ASCII characters, no backslash.
bool valid_key_name(std::string_view name);
// Splits a key path at its backslashes; nothing when a component is not a key name or
// the path is deeper than a hive can be.
std::optional<std::vector<std::string>> split_key_path(std::string_view path);

// Data of the typed values as stored.
std::string sz_data(std::string_view text);
std::string dword_data(uint32_t v);
std::string multi_sz_data(const std::vector<std::string>& strings);

}  // namespace platform::win
