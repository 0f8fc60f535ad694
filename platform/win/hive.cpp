#include "hive.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace platform::win {

bool valid_key_name(std::string_view name) {
    if (name.empty() || name.size() > kMaxKeyNameLength) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return c >= 0x20 && c <= 0x7E && c != '\\'; });
}

std::optional<std::vector<std::string>> split_key_path(std::string_view path) {
    std::vector<std::string> parts;
    if (path.empty()) return parts;
    size_t start = 0;
    while (true) {
        size_t end = path.find('\\', start);
        std::string_view part =
            path.substr(start, end == std::string_view::npos ? end : end - start);
        if (!valid_key_name(part) || parts.size() == kMaxKeyDepth) return std::nullopt;
        parts.emplace_back(part);
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

size_t RegKey::subkey_position(std::string_view n) const {
    auto it = std::lower_bound(subkeys.begin(), subkeys.end(), n,
                               [](const std::shared_ptr<RegKey>& k, std::string_view v) {
                                   return less_no_case(k->name, v);
                               });
    return static_cast<size_t>(it - subkeys.begin());
}

std::shared_ptr<RegKey> RegKey::find_subkey(std::string_view n) const {
    size_t i = subkey_position(n);
    if (i < subkeys.size() && equal_no_case(subkeys[i]->name, n)) return subkeys[i];
    return nullptr;
}

std::shared_ptr<RegKey> RegKey::insert_subkey(std::string n) {
    size_t i = subkey_position(n);
    if (i < subkeys.size() && equal_no_case(subkeys[i]->name, n)) return nullptr;
    auto key = std::make_shared<RegKey>();
    key->name = std::move(n);
    subkeys.insert(subkeys.begin() + static_cast<std::ptrdiff_t>(i), key);
    return key;
}

RegValue* RegKey::find_value(std::string_view n) {
    for (RegValue& v : values)
        if (equal_no_case(v.name, n)) return &v;
    return nullptr;
}

RegKey& RegKey::set_value(std::string n, uint32_t type, std::string data) {
    if (RegValue* v = find_value(n)) {
        v->type = type;
        v->data = std::move(data);
    } else {
        values.push_back({std::move(n), type, std::move(data)});
    }
    return *this;
}

RegKey& RegKey::set_sz(std::string n, std::string_view text) {
    return set_value(std::move(n), REG_SZ, sz_data(text));
}

RegKey& RegKey::set_dword(std::string n, uint32_t v) {
    return set_value(std::move(n), REG_DWORD, dword_data(v));
}

bool same_tree(const RegKey& a, const RegKey& b) {
    if (a.name != b.name || a.owner != b.owner || a.values != b.values) return false;
    if (a.dacl.has_value() != b.dacl.has_value()) return false;
    if (a.dacl && a.dacl->aces() != b.dacl->aces()) return false;
    if (a.subkeys.size() != b.subkeys.size()) return false;
    for (size_t i = 0; i < a.subkeys.size(); ++i)
        if (!same_tree(*a.subkeys[i], *b.subkeys[i])) return false;
    return true;
}

namespace {

std::shared_ptr<RegKey> clone(const RegKey& key) {
    auto copy = std::make_shared<RegKey>();
    copy->name = key.name;
    copy->owner = key.owner;
    copy->dacl = key.dacl;
    copy->values = key.values;
    copy->deleted = key.deleted;
    for (const auto& sub : key.subkeys) copy->subkeys.push_back(clone(*sub));
    return copy;
}

}  // namespace

Hive::Hive(const Hive& other) : root(clone(*other.root)) {}

Hive& Hive::operator=(const Hive& other) {
    if (this != &other) root = clone(*other.root);
    return *this;
}

std::shared_ptr<RegKey> descend(std::shared_ptr<RegKey> from, std::span<const std::string> names) {
    for (const auto& n : names) {
        if (!from) break;
        from = from->find_subkey(n);
    }
    return from;
}

std::shared_ptr<RegKey> Hive::find(std::string_view path) const {
    auto parts = split_key_path(path);
    return parts ? descend(root, *parts) : nullptr;
}

RegKey& Hive::add(std::string_view path) {
    auto parts = split_key_path(path);
    if (!parts) throw std::invalid_argument("not a key path: " + std::string(path));
    std::shared_ptr<RegKey> key = root;
    for (const auto& p : *parts) {
        auto next = key->find_subkey(p);
        key = next ? next : key->insert_subkey(p);
    }
    return *key;
}

void Hive::for_each_key(const std::function<void(const RegKey&, const std::string&)>& visit) const {
    std::function<void(const RegKey&, const std::string&)> walk = [&](const RegKey& k,
                                                                      const std::string& path) {
        visit(k, path);
        for (const auto& sub : k.subkeys)
            walk(*sub, path.empty() ? sub->name : path + "\\" + sub->name);
    };
    walk(*root, "");
}

std::vector<std::string> Hive::key_paths() const {
    std::vector<std::string> out;
    for_each_key([&](const RegKey&, const std::string& path) { out.push_back(path); });
    return out;
}

std::string sz_data(std::string_view text) {
    return std::string(text) + '\0';
}

std::string dword_data(uint32_t v) {
    std::string d(4, '\0');
    for (int i = 0; i < 4; ++i)
        d[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return d;
}

std::string multi_sz_data(const std::vector<std::string>& strings) {
    std::string d;
    for (const auto& s : strings) d += s + '\0';
    d += '\0';  // an empty list is the single terminator
    return d;
}

}  // namespace platform::win
