// The hive file: a text form of the registry tree that people can read and edit and
// that round-trips exactly. The format is described in HIVE.md.
//
// Input: the bytes of a hive file. Output: a Hive, or the first damaged line.
#pragma once

#include <string>
#include <string_view>

#include "hive.h"

namespace platform::win {

inline constexpr std::string_view kHiveHeader = "WINSYS-HIVE 1";
inline constexpr size_t kMaxHiveFileSize = size_t{64} << 20;

struct TextError {
    int line = 0;  // 1-based; 0 for the file as a whole
    std::string message;
    bool unsupported = false;  // a version of the format that is not read here
    std::string text() const;
};

// What is wrong with line `number` when it should be `header` ("NAME VERSION"): another
// version of the format, or no header at all (`kind`: "hive file").
TextError header_fault(int number, std::string_view line, std::string_view header,
                       std::string_view kind);

// False with the first fault in *error; *out is untouched then.
bool parse_hive(std::string_view text, Hive* out, TextError* error);
std::string format_hive(const Hive& hive);
// One key's section (header line, security, values), as format_hive writes it.
std::string format_key_section(const RegKey& key, const std::string& path);

}  // namespace platform::win
