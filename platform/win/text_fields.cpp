#include "text_fields.h"

#include <algorithm>

namespace platform::win {
namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool equal_no_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

bool less_no_case(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(upper(x)) < static_cast<unsigned char>(upper(y));
    });
}

std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string hex_digits(uint64_t v, int width) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    if (static_cast<int>(out.size()) < width)
        out.insert(0, static_cast<size_t>(width) - out.size(), '0');
    return out;
}

void append_quoted(std::string& out, std::string_view s) {
    out += '"';
    for (char ch : s) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c > 0x7E) {
            out += "\\x" + hex_digits(c, 2);
        } else {
            out += ch;
        }
    }
    out += '"';
}

bool Fields::literal(std::string_view lit) {
    if (s_.substr(0, lit.size()) != lit) return false;
    s_.remove_prefix(lit.size());
    last_ = lit;
    return true;
}

bool Fields::hex(int min_digits, int max_digits, uint64_t* out) {
    uint64_t v = 0;
    int n = 0;
    while (n < max_digits && static_cast<size_t>(n) < s_.size() &&
           hex_value(s_[static_cast<size_t>(n)]) >= 0)
        v = (v << 4) | static_cast<uint64_t>(hex_value(s_[static_cast<size_t>(n++)]));
    if (n < min_digits) return false;
    s_.remove_prefix(static_cast<size_t>(n));
    *out = v;
    return true;
}

bool Fields::quoted(std::string* out, std::string* why) {
    if (!literal("\"")) return (*why = "quote expected", false);
    out->clear();
    while (true) {
        if (s_.empty()) return (*why = "missing closing quote", false);
        char c = s_[0];
        s_.remove_prefix(1);
        if (c == '"') return true;
        if (static_cast<unsigned char>(c) < 0x20)
            return (*why = "control character inside quotes", false);
        if (c != '\\') {
            *out += c;
            continue;
        }
        if (s_.empty()) return (*why = "escape at end of line", false);
        c = s_[0];
        s_.remove_prefix(1);
        if (c == '\\' || c == '"') {
            *out += c;
        } else if (c == 'x' && s_.size() >= 2 && hex_value(s_[0]) >= 0 && hex_value(s_[1]) >= 0) {
            *out += static_cast<char>(hex_value(s_[0]) * 16 + hex_value(s_[1]));
            s_.remove_prefix(2);
        } else {
            return (*why = "unknown escape", false);
        }
    }
}

}  // namespace platform::win
