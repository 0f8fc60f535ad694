#include "formats/number_text.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>

namespace velmora::formats {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int digit_value(char c) {
    if (is_digit(c)) return c - '0';
    c = upper(c);
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// strtod under the "C" locale: the window system may have set a regional LC_NUMERIC,
// and the texts handed in here are already normalised to "-12.5e3".
double c_number(const std::string& normalised) {
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(normalised.c_str(), nullptr, c_locale);
}

double radix_integer(std::string_view t, size_t i, int radix) {
    double v = 0;
    for (; i < t.size(); ++i) {
        if (is_blank(t[i])) continue;
        int d = digit_value(t[i]);
        if (d >= radix) break;
        v = v * radix + d;
    }
    return v;
}

// Reads "[sign]digits" of an exponent from t[i..] and appends "e<sign><digits>" to out.
// Returns false (out untouched) without a digit; i ends after the last character taken.
bool read_exponent(std::string_view t, size_t& i, bool skip_blanks, std::string& out) {
    std::string e = "e";
    auto skip = [&] {
        while (skip_blanks && i < t.size() && is_blank(t[i])) ++i;
    };
    skip();
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) e += t[i++];
    bool any = false;
    for (skip(); i < t.size() && is_digit(t[i]); ++i, skip()) {
        e += t[i];
        any = true;
    }
    if (any) out += e;
    return any;
}

bool starts_with_at(std::string_view t, size_t i, std::string_view what) {
    return !what.empty() && t.substr(i, what.size()) == what;
}

}  // namespace

double leading_number(std::string_view t) {
    size_t i = 0;
    while (i < t.size() && is_blank(t[i])) ++i;
    if (i + 1 < t.size() && t[i] == '&') {
        char kind = upper(t[i + 1]);
        if (kind == 'H') return radix_integer(t, i + 2, 16);
        if (kind == 'O') return radix_integer(t, i + 2, 8);
        return 0;
    }
    std::string s;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') s += '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (is_blank(c)) continue;
        if (is_digit(c)) {
            s += c;
            digits = true;
        } else if (c == '.' && !point) {
            s += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0;
    if (i < t.size() && (upper(t[i]) == 'E' || upper(t[i]) == 'D')) read_exponent(t, ++i, true, s);
    return c_number(s);
}

std::optional<double> whole_number(std::string_view t, const NumberFormat& format) {
    size_t end = t.size();
    while (end > 0 && is_blank(t[end - 1])) --end;
    t = t.substr(0, end);
    size_t i = 0;
    while (i < t.size() && is_blank(t[i])) ++i;

    std::string s;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') s += '-';
        ++i;
    }
    // Integer part with optional grouping: the first group 1 to 3 digits, every later one 3.
    const bool grouping = !format.group.empty() && format.group != format.decimal;
    int digits = 0;
    int run = 0;  // digits since the last group separator
    bool grouped = false;
    while (i < t.size()) {
        if (is_digit(t[i])) {
            s += t[i++];
            ++digits;
            ++run;
        } else if (grouping && starts_with_at(t, i, format.group)) {
            if (run == 0 || (grouped ? run != 3 : run > 3)) return std::nullopt;
            grouped = true;
            run = 0;
            i += format.group.size();
        } else {
            break;
        }
    }
    if (grouped && run != 3) return std::nullopt;
    if (starts_with_at(t, i, format.decimal)) {
        s += '.';
        i += format.decimal.size();
        for (; i < t.size() && is_digit(t[i]); ++i) {
            s += t[i];
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && upper(t[i]) == 'E' && !read_exponent(t, ++i, false, s)) return std::nullopt;
    if (i != t.size()) return std::nullopt;
    return c_number(s);
}

std::optional<uint8_t> hex_byte(std::string_view text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : text) {
        const int d = digit_value(c);
        if (d > 15) return std::nullopt;
        value = value * 16 + d;
    }
    return static_cast<uint8_t>(value);
}

double round_half_even(double v) {
    if (std::fabs(v - std::trunc(v)) == 0.5) return 2.0 * std::round(v / 2.0);
    return std::round(v);
}

std::optional<int16_t> round_to_int16(double v) {
    double r = round_half_even(v);
    if (!(r >= -32768.0 && r <= 32767.0)) return std::nullopt;
    return static_cast<int16_t>(r);
}

std::optional<int32_t> round_to_int32(double v) {
    double r = round_half_even(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
    return static_cast<int32_t>(r);
}

std::string real_to_text(double v, const NumberFormat& format) {
    if (!std::isfinite(v)) return {};
    if (v == 0) return "0";
    // Scientific form with 15 significant digits: "-d.dddddddddddddde+XX".
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
    bool negative = sci.front() == '-';
    if (negative) sci.remove_prefix(1);
    size_t e_pos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e_pos))
        if (is_digit(c)) digits += c;
    int exponent = 0;
    std::string_view exp_text = sci.substr(e_pos + 1);
    if (exp_text.front() == '+') exp_text.remove_prefix(1);
    std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) out += format.decimal + digits.substr(1);
        std::string mag = std::to_string(std::abs(exponent));
        if (mag.size() < 2) mag.insert(0, "0");
        out += (exponent < 0 ? "E-" : "E+") + mag;
    } else if (exponent >= 0) {
        size_t int_len = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= int_len) {
            out += digits + std::string(int_len - digits.size(), '0');
        } else {
            out += digits.substr(0, int_len) + format.decimal + digits.substr(int_len);
        }
    } else {
        out += "0" + format.decimal + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    return out;
}

}  // namespace velmora::formats
