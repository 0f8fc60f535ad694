#include "hive_text.h"

#include "text_fields.h"

namespace platform::win {
namespace {

constexpr std::string_view kRootName = "HKEY_LOCAL_MACHINE";

// Typed forms used when the data is exactly what that form writes back.
bool is_plain_string(const std::string& d) {
    return !d.empty() && d.back() == '\0' && d.find('\0') == d.size() - 1;
}

std::optional<std::vector<std::string>> multi_strings(const std::string& d) {
    std::vector<std::string> out;
    if (d.size() < 1 || d.back() != '\0') return std::nullopt;
    size_t start = 0;
    while (start < d.size() - 1) {
        size_t end = d.find('\0', start);
        if (end == start) return std::nullopt;  // an empty string would end the list
        out.push_back(d.substr(start, end - start));
        start = end + 1;
    }
    if (multi_sz_data(out) != d) return std::nullopt;
    return out;
}

void format_value(std::string& out, const RegValue& v) {
    append_quoted(out, v.name);
    out += '=';
    if ((v.type == REG_SZ || v.type == REG_EXPAND_SZ) && is_plain_string(v.data)) {
        out += v.type == REG_SZ ? "sz:" : "expand:";
        append_quoted(out, std::string_view(v.data).substr(0, v.data.size() - 1));
    } else if (auto strings = v.type == REG_MULTI_SZ ? multi_strings(v.data) : std::nullopt) {
        out += "multi:";
        bool first = true;
        for (const auto& s : *strings) {
            if (!first) out += ',';
            first = false;
            append_quoted(out, s);
        }
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
        uint32_t x = 0;
        for (int i = 3; i >= 0; --i)
            x = (x << 8) | static_cast<unsigned char>(v.data[static_cast<size_t>(i)]);
        out += "dword:" + hex_digits(x, 8);
    } else {
        out += v.type == REG_BINARY ? std::string("hex:") : "hex(" + hex_digits(v.type, 1) + "):";
        for (size_t i = 0; i < v.data.size(); ++i) {
            if (i) out += ',';
            out += hex_digits(static_cast<unsigned char>(v.data[i]), 2);
        }
    }
    out += '\n';
}

class Parser {
  public:
    Parser(Hive* hive, TextError* error) : hive_(hive), error_(error) {}

    bool line(int number, std::string_view s) {
        number_ = number;
        if (s.empty() || s[0] == ';') return true;
        if (s[0] == '[') return section(s);
        if (!key_) return fail("a section header must come first");
        if (s[0] == '"') return value(s);
        if (s.substr(0, 6) == "owner=") return owner(s.substr(6));
        if (s == "acl=empty") return acl_empty();
        if (s.substr(0, 4) == "ace=") return ace(s.substr(4));
        return fail("unrecognised line");
    }

  private:
    bool fail(std::string message) {
        *error_ = {number_, std::move(message)};
        return false;
    }

    bool section(std::string_view s) {
        if (s.back() != ']') return fail("section header without closing bracket");
        std::string_view path = s.substr(1, s.size() - 2);
        if (path.substr(0, kRootName.size()) != kRootName)
            return fail("section outside HKEY_LOCAL_MACHINE");
        path.remove_prefix(kRootName.size());
        if (path.empty()) {
            if (root_seen_) return fail("section declared twice");
            root_seen_ = true;
            return start_key(hive_->root);
        }
        if (path[0] != '\\') return fail("section outside HKEY_LOCAL_MACHINE");
        auto parts = split_key_path(path.substr(1));
        if (!parts || parts->empty()) return fail("invalid key path");
        auto parent = descend(hive_->root, std::span(*parts).first(parts->size() - 1));
        if (!parent) return fail("parent key not declared before");
        auto key = parent->insert_subkey(parts->back());
        if (!key) return fail("section declared twice");
        return start_key(key);
    }

    bool start_key(std::shared_ptr<RegKey> key) {
        key_ = std::move(key);
        owner_seen_ = acl_empty_ = false;
        aces_.clear();
        return true;
    }

    bool owner(std::string_view s) {
        if (owner_seen_) return fail("owner given twice");
        auto sid = Sid::parse(s);
        if (!sid) return fail("invalid owner SID");
        owner_seen_ = true;
        key_->owner = sid;
        return true;
    }

    bool acl_empty() {
        if (acl_empty_ || !aces_.empty()) return fail("acl=empty with other access entries");
        acl_empty_ = true;
        key_->dacl = Acl::compact({});
        return true;
    }

    bool ace(std::string_view s) {
        if (acl_empty_) return fail("acl=empty with other access entries");
        Fields f(s);
        Ace a;
        uint64_t flags = 0, mask = 0;
        if (!f.literal("allow,") || !f.hex(2, 2, &flags) || !f.literal(",") ||
            !f.hex(8, 8, &mask) || !f.literal(","))
            return fail("access entry is not allow,FF,MMMMMMMM,SID");
        auto sid = Sid::parse(f.rest());
        if (!sid) return fail("invalid SID in access entry");
        a.flags = static_cast<uint8_t>(flags);
        a.mask = static_cast<uint32_t>(mask);
        a.sid = *sid;
        aces_.push_back(a);
        auto acl = Acl::compact(aces_);
        if (!acl) return fail("access list larger than 65535 bytes");
        key_->dacl = std::move(acl);
        return true;
    }

    bool value(std::string_view s) {
        Fields f(s);
        RegValue v;
        std::string why;
        if (!f.quoted(&v.name, &why)) return fail("value name: " + why);
        if (v.name.size() > kMaxValueNameLength) return fail("value name too long");
        if (!f.literal("=")) return fail("value name not followed by '='");
        if (!value_data(f, &v, &why)) return fail(why);
        if (v.data.size() > kMaxValueDataSize) return fail("value data larger than 1 MiB");
        if (key_->find_value(v.name)) return fail("value given twice");
        key_->values.push_back(std::move(v));
        return true;
    }

    static bool value_data(Fields& f, RegValue* v, std::string* why) {
        std::string text;
        if (f.literal("sz:") || f.literal("expand:")) {
            v->type = f.last_literal() == "sz:" ? REG_SZ : REG_EXPAND_SZ;
            if (!f.quoted(&text, why)) return false;
            if (text.find('\0') != std::string::npos) return (*why = "NUL inside a string", false);
            v->data = sz_data(text);
        } else if (f.literal("multi:")) {
            v->type = REG_MULTI_SZ;
            std::vector<std::string> strings;
            while (!f.at_end()) {
                if (!strings.empty() && !f.literal(","))
                    return (*why = "strings not separated by ','", false);
                if (!f.quoted(&text, why)) return false;
                if (text.empty() || text.find('\0') != std::string::npos)
                    return (*why = "empty string or NUL inside a multi-string", false);
                strings.push_back(text);
            }
            v->data = multi_sz_data(strings);
        } else if (f.literal("dword:")) {
            uint64_t x = 0;
            v->type = REG_DWORD;
            if (!f.hex(8, 8, &x)) return (*why = "dword wants 8 hex digits", false);
            v->data = dword_data(static_cast<uint32_t>(x));
        } else if (f.literal("hex:") || f.literal("hex(")) {
            uint64_t type = REG_BINARY;
            if (f.last_literal() == "hex(" && (!f.hex(1, 8, &type) || !f.literal("):")))
                return (*why = "hex(N): wants a type of 1 to 8 hex digits", false);
            v->type = static_cast<uint32_t>(type);
            while (!f.at_end()) {
                uint64_t b = 0;
                if (!v->data.empty() && !f.literal(","))
                    return (*why = "bytes not separated by ','", false);
                if (!f.hex(2, 2, &b)) return (*why = "a byte wants 2 hex digits", false);
                if (v->data.size() == kMaxValueDataSize)
                    return (*why = "value data larger than 1 MiB", false);
                v->data += static_cast<char>(b);
            }
        } else {
            return (*why = "unknown value type", false);
        }
        if (!f.at_end()) return (*why = "text after the value", false);
        return true;
    }

    Hive* hive_;
    TextError* error_;
    int number_ = 0;
    std::shared_ptr<RegKey> key_;
    bool root_seen_ = false, owner_seen_ = false, acl_empty_ = false;
    std::vector<Ace> aces_;
};

}  // namespace

std::string TextError::text() const {
    return line > 0 ? "line " + std::to_string(line) + ": " + message : message;
}

// A version with blanks around it is shown in quotes, so "1 " is not told as "1".
static std::string quoted_version(std::string_view v) {
    const bool plain = v.find_first_of(" \t") == std::string_view::npos;
    return plain ? std::string(v) : "\"" + std::string(v) + "\"";
}

TextError header_fault(int number, std::string_view line, std::string_view header,
                       std::string_view kind) {
    const std::string_view name = header.substr(0, header.find(' ') + 1);
    if (line.size() > name.size() && line.substr(0, name.size()) == name)
        return {0,
                "version " + quoted_version(line.substr(name.size())) +
                    " of the format is not supported (only " + std::string(header) + ")",
                true};
    return {number, "not a " + std::string(kind) + " (no header line)"};
}

bool parse_hive(std::string_view text, Hive* out, TextError* error) {
    if (text.size() > kMaxHiveFileSize) return (*error = {0, "file larger than 64 MiB"}, false);
    Hive hive;
    Parser parser(&hive, error);
    int number = 0;
    bool header = false;
    for (std::string_view line : split_lines(text)) {
        ++number;
        if (!header) {
            if (line != kHiveHeader)
                return (*error = header_fault(number, line, kHiveHeader, "hive file"), false);
            header = true;
        } else if (!parser.line(number, line)) {
            return false;
        }
    }
    if (!header) return (*error = {0, "empty file"}, false);
    *out = std::move(hive);
    return true;
}

std::string format_key_section(const RegKey& key, const std::string& path) {
    std::string out = "[" + std::string(kRootName) + (path.empty() ? "" : "\\" + path) + "]\n";
    if (key.owner) out += "owner=" + key.owner->text() + "\n";
    if (key.dacl && key.dacl->aces().empty()) out += "acl=empty\n";
    if (key.dacl)
        for (const Ace& a : key.dacl->aces())
            out += "ace=allow," + hex_digits(a.flags, 2) + "," + hex_digits(a.mask, 8) + "," +
                   a.sid.text() + "\n";
    for (const RegValue& v : key.values) format_value(out, v);
    return out;
}

std::string format_hive(const Hive& hive) {
    std::string out = std::string(kHiveHeader) + "\n";
    hive.for_each_key([&](const RegKey& k, const std::string& path) {
        out += "\n" + format_key_section(k, path);
    });
    return out;
}

}  // namespace platform::win
