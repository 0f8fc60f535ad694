// Lines of a world text cut into words: blanks separate, "..." quotes (with \" and \\),
// '#' outside quotes starts a comment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rawlnk {

struct Token {
    std::string text;
    bool quoted = false;
};

// False (with `error`) for an unterminated quote.
bool split_line(std::string_view line, std::vector<Token>& out, std::string& error);

// Decimal, 0x hexadecimal or a leading '-' for negative decimal; the whole token.
std::optional<int64_t> parse_number(std::string_view s);
// One to four hexadecimal digits, no prefix.
std::optional<uint16_t> parse_hex_word(std::string_view s);

}  // namespace rawlnk
