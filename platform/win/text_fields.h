// Small text helpers of the stand-in: lines, quoted texts with escapes, fixed-width
// hexadecimal for the hive and configuration files, and names compared as Windows
// compares them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win {

// Equal but for the case of ASCII letters.
bool equal_no_case(std::string_view a, std::string_view b);
// The order in which the system lists names: by upper-cased ASCII letters.
bool less_no_case(std::string_view a, std::string_view b);

// The lines of a text, each without its "\n" or "\r\n"; no empty line after a final "\n".
std::vector<std::string_view> split_lines(std::string_view text);

// `v` in lower-case hexadecimal with at least `width` digits.
std::string hex_digits(uint64_t v, int width);

// Appends `s` in double quotes; backslash and quote are escaped as \\ and \", every byte
// outside 0x20..0x7E as \xHH.
void append_quoted(std::string& out, std::string_view s);

// A cursor over one line.
class Fields {
  public:
    explicit Fields(std::string_view s) : s_(s) {}
    // Consumes `lit` when the line continues with it.
    bool literal(std::string_view lit);
    std::string_view last_literal() const { return last_; }
    // Consumes min_digits to max_digits hexadecimal digits (as many as there are).
    bool hex(int min_digits, int max_digits, uint64_t* out);
    // Consumes a quoted text written by append_quoted (raw bytes 0x20 and above other
    // than quote and backslash are taken as they stand).
    bool quoted(std::string* out, std::string* why);
    std::string_view rest() const { return s_; }
    bool at_end() const { return s_.empty(); }

  private:
    std::string_view s_;
    std::string_view last_;
};

}  // namespace platform::win
